// The whole experiment through the real windows: registration, instructions,
// eight games played click by click by a scripted participant with a
// different strategy in each game, the eight feedback windows and the end.
// The clock is manual, so the run takes no real pauses.
#include "choice_runs.h"
#include "gui_support.h"
#include "manual_clock.h"
#include "platform/controls.h"
#include "platform/twips.h"
#include "rules/game/simulated_participant.h"
#include "rules/session_record.h"
#include "windows/feedback/frmFeedback1.h"
#include "windows/game/frmTesting2.h"
#include "windows/rich_text_box.h"
#include "windows/setup/frmInstructions.h"
#include "windows/setup/frmSubjects.h"
#include "windows/window_flow.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace ct;
using namespace ct::test;

namespace {

struct GamePlan {
    const char *runs;       // the options chosen, as runs: "L144 R4"
    const char *headline;   // the feedback window's points message
    const char *comparison; // Label1 after the game
    bool drop;              // the game's bar is red
    const char *points;
    float barHeight; // in twips, 2.9 to the point
};

// The rate is 25 per 10000 points, the currency text "€".
const GamePlan kGames[8] = {
    {"L144 R4", "Well done, you got: 760 points! That's the equivalent of €1.90",
     "It is possible to get a maximum of 760 points though...", false, "760", 2204},
    {"L145 R4", "Well done, you got: 759.4 points! That's the equivalent of €1.90",
     "...But that's 0.6 points less than you got last time. Although remember, the maximum possible score is 760", true,
     "759.4", 2202.26f},
    {"R53", "Well done, you got: 530 points! That's the equivalent of €1.33",
     "...But that's 229.4 points less than you got last time. Although remember, the maximum possible score is 760",
     true, "530", 1537},
    {"L150", "Well done, you got: 750 points! That's the equivalent of €1.88",
     "That's 220 points more than you got last time. Although remember, the maximum possible score is 760", false,
     "750", 2175},
    {"L142 R5", "Well done, you got: 760 points! That's the equivalent of €1.90",
     "That's 10 points more than you got last time. Well done! You got the maximum possible score of 760", false, "760",
     2204},
    {"L116 R9 L7 R1", "Well done, you got: 708.7 points! That's the equivalent of €1.77",
     "...But that's 51.3 points less than you got last time. Although remember, the maximum possible score is 760",
     true, "708.7", 2055.23f},
    {"(L2 R1)x31", "Well done, you got: 612.2 points! That's the equivalent of €1.53",
     "...But that's 96.5 points less than you got last time. Although remember, the maximum possible score is 760",
     true, "612.2", 1775.38f},
    {"L123 R10 L3", "Well done, you got: 726.2 points! That's the equivalent of €1.82",
     "That's 114 points more than you got last time. Although remember, the maximum possible score is 760", false,
     "726.2", 2105.98f},
};

const QString kEndText = QStringLiteral(
    "That is the end of the Experiment. Thanks for taking part! You earned €14.02 during the experiment. Please do not "
    "exit the program until the experimenter has noted the amount");

QByteArray expand(const char *runs)
{
    return QByteArray::fromStdString(expandRuns(runs));
}

template <typename T> QPointer<T> window(const char *name)
{
    return qobject_cast<T *>(topLevel(QString::fromLatin1(name)));
}

} // namespace

class ExperimentEndToEndTest : public QObject {
    Q_OBJECT

private slots:
    // The test's end hook keeps the program running, so windows outlive the
    // run that opened them.
    void cleanup() { qDeleteAll(QApplication::topLevelWidgets()); }

    void eightGamesThroughTheRealWindows()
    {
        WorkingFolder folder;
        folder.write(QStringLiteral("instructions_condition_1.rtf"), "{\\rtf1\\ansi Read this first.\\par}");
        folder.write(QStringLiteral("config.ini"), "25\r\n\xe2\x82\xac\r\n"); // "€" in UTF-8
        ProgramRecorder recorder;
        ManualClock clock;
        Module1 state;
        // A draw of 0.7 puts the left option on the right-hand button.
        Experiment experiment(
            state, clock, [] { return 0.7; }, QDir(folder.path()).filesystemPath());
        QElapsedTimer elapsed;
        elapsed.start();

        auto *registration = qobject_cast<frmSubjects *>(experiment.start());
        QVERIFY(registration);
        QTest::keyClicks(registration->Txt_id, QStringLiteral("42"));
        QTest::mouseClick(registration->Command1, Qt::LeftButton);
        QVERIFY(!state.leftOptionOnLeft);

        QPointer<frmInstructions> instructions = window<frmInstructions>("frmInstructions");
        QVERIFY(instructions);
        QVERIFY(instructions->rtbInstructions->toPlainText().contains(QStringLiteral("Read this first.")));
        QTest::mouseClick(instructions->Command1, Qt::LeftButton);

        QByteArray allChoices;
        int trials = 0;
        for (int game = 1; game <= 8; ++game) {
            const GamePlan &plan = kGames[game - 1];
            const QByteArray choices = expand(plan.runs);
            allChoices += choices;

            QTRY_VERIFY(window<frmTesting2>("frmTesting2"));
            QPointer<frmTesting2> play = window<frmTesting2>("frmTesting2");
            QCOMPARE(play->lblChoose->text(), QStringLiteral("Click Go"));
            QCOMPARE(state.trial, std::int16_t{1});
            QTest::mouseClick(play->cmdGo, Qt::LeftButton);
            for (char option : choices) {
                QVERIFY2(play && play->isVisible(),
                         qPrintable(QStringLiteral("game %1 ended before its choices ran out").arg(game)));
                // The left option sits on cmdRight in this run.
                QTest::mouseClick(option == 'L' ? play->cmdRight : play->cmdLeft, Qt::LeftButton);
                ++trials;
                for (int i = 0; i < 5 && play && play->isPausing(); ++i)
                    clock.finishPause();
            }
            QTRY_VERIFY2(!play, qPrintable(QStringLiteral("game %1 did not end").arg(game)));

            QPointer<frmFeedback1> feedback = window<frmFeedback1>("frmFeedback1");
            QVERIFY(feedback);
            QCOMPARE(state.gameNumber, std::int16_t(game));
            QCOMPARE(feedback->LblWellDone->text(), QString::fromUtf8(plan.headline));
            QCOMPARE(feedback->Label1->text(), QString::fromUtf8(plan.comparison));
            const std::array<ShapeBox *, 8> bars = {feedback->Shape1, feedback->Shape2, feedback->Shape3,
                                                    feedback->Shape4, feedback->Shape5, feedback->Shape6,
                                                    feedback->Shape7, feedback->Shape8};
            for (int k = 1; k <= 8; ++k) {
                ShapeBox *bar = bars[static_cast<std::size_t>(k - 1)];
                QCOMPARE(bar->isVisible(), k <= game);
                if (k > game)
                    continue;
                const bool red = kGames[k - 1].drop;
                QCOMPARE(bar->fillColor(), red ? QColor(255, 0, 0) : QColor(0, 192, 0));
                const TwipsRect rect = twipsGeometry(bar);
                QCOMPARE(rect.height, kGames[k - 1].barHeight);
                QCOMPARE(rect.top + rect.height, 7095.0f);
            }
            QCOMPARE(feedback->imgsurprised->isVisible(), game == 1);
            QCOMPARE(feedback->imgwretched->isVisible(), game > 1 && plan.drop);
            QCOMPARE(feedback->imghappy->isVisible(), game > 1 && !plan.drop);
            QVERIFY(!feedback->imgneutral->isVisible());
            if (game < 8) {
                QCOMPARE(feedback->Label2->text(),
                         QStringLiteral("Take a break, then play the game again to see if you can beat your score"));
                QCOMPARE(feedback->Command1->text(), QStringLiteral("Continue"));
                QTest::mouseClick(feedback->Command1, Qt::LeftButton);
                QTRY_VERIFY(!feedback);
            } else {
                QCOMPARE(feedback->Label2->text(), kEndText);
                QCOMPARE(feedback->Command1->text(), QStringLiteral("Exit"));
                QVERIFY(recorder.exitStatuses.empty());
                QTest::mouseClick(feedback->Command1, Qt::LeftButton);
            }
        }
        QCOMPARE(recorder.beeps, 8);
        QCOMPARE(recorder.boxes.size(), size_t(1));
        QCOMPARE(recorder.boxes[0].title, QStringLiteral("Wait!"));
        QCOMPARE(recorder.boxes[0].text, QStringLiteral("Please let the experimenter see how much you earned before "
                                                        "pressing OK and closing the game"));
        QCOMPARE(recorder.boxes[0].icon, MessageBox::Icon::Stop);
        QCOMPARE(recorder.exitStatuses, std::vector<int>{0});

        // The data file, byte for byte: the simulator writes the same bytes
        // for the same choices, and known lines sit where they belong.
        const QByteArray data = folder.read(QStringLiteral("42.csv"));
        const SimulatedRun simulated = simulate(*strategyNamed("choices", 0, allChoices.toStdString()));
        QVERIFY2(simulated.ok(), simulated.error.message.c_str());
        QCOMPARE(data, QByteArray::fromStdString(simulated.bytes));
        const QList<QByteArray> lines = data.split('\n');
        QCOMPARE(lines.size(), 1 + trials + 1); // header, trials, and nothing after the last CR LF
        QVERIFY(lines.last().isEmpty());
        QCOMPARE(lines[0], QByteArray("Trial,Choice,PayOff,winnings,historyLeft,GameUnitsRemaining\r"));
        QCOMPARE(lines[1], QByteArray(" 1 , 1 , 5 , 5 , 1 , 150 ,\r"));
        QCOMPARE(lines[148], QByteArray(" 148 , 0 , 10 , 760 , .6 , 1.8 ,\r"));
        QCOMPARE(lines[149], QByteArray(" 1 , 1 , 5 , 5 , 1 , 150 ,\r"));
        QCOMPARE(lines[148 + 149], QByteArray(" 149 , 0 , 4.4 , 759.4 , .6 , .8 ,\r"));
        QCOMPARE(lines[148 + 149 + 1], QByteArray(" 1 , 0 , 10 , 10 , .9 , 150 ,\r"));
        QCOMPARE(lines[148 + 149 + 53], QByteArray(" 53 , 0 , 10 , 530 , 0 , 3 ,\r"));
        QCOMPARE(lines[trials], QByteArray(" 136 , 1 , 1.2 , 726.2 , .3 , .6 ,\r"));

        // The session record: the run's events in order, one choice row per
        // data line, what was shown and what was in force.
        const session::ReadResult record = session::readSessionRecord(
            folder.read(QStringLiteral("42.session.csv")).toStdString());
        QVERIFY2(record.ok() && record.cutLines.empty(), record.error.message.c_str());
        std::vector<std::string> expectedEvents = {"registered", "instructions_shown"};
        for (const GamePlan &plan : kGames) {
            expectedEvents.push_back("game_started");
            expectedEvents.insert(expectedEvents.end(), std::size_t(expand(plan.runs).size()), "choice");
            expectedEvents.push_back("feedback_shown");
        }
        expectedEvents.push_back("finished");
        std::vector<std::string> events;
        for (const session::Row &row : record.rows) {
            events.emplace_back(session::eventName(row.event));
            QCOMPARE(row.registration, 1);
        }
        QCOMPARE(events, expectedEvents);
        const session::Row &registered = record.rows.front();
        // The keys of a practice file's registered row are the same
        // (choicetask-simulate's test holds the same list).
        std::vector<std::string> keys;
        for (const auto &[key, value] : registered.detail)
            keys.push_back(key);
        QCOMPARE(keys, (std::vector<std::string>{"version", "computer", "os", "screen", "scale", "dpi", "instructions",
                                                 "instructions_sha256", "left_option_button", "simulated"}));
        QCOMPARE(registered.detailValue("simulated"), "0");
        QCOMPARE(registered.detailValue("left_option_button"), "right");
        QCOMPARE(registered.detailValue("instructions"), "instructions_condition_1.rtf");
        QCOMPARE(registered.detailValue("instructions_sha256"),
                 QCryptographicHash::hash(folder.read(QStringLiteral("instructions_condition_1.rtf")),
                                          QCryptographicHash::Sha256)
                     .toHex()
                     .toStdString());
        int line = 1;
        for (const session::Row &row : record.rows) {
            if (row.event == session::Event::FeedbackShown) {
                const GamePlan &plan = kGames[*row.game - 1];
                const QString headline = QString::fromUtf8(plan.headline);
                session::Detail expected = {{"rate", "25"},
                                            {"currency", "\u20ac"},
                                            {"points", plan.points},
                                            {"money", headline.mid(headline.lastIndexOf(' ') + 1).toStdString()}};
                if (*row.game == 8)
                    expected.emplace_back("total_money", "\u20ac14.02");
                QCOMPARE(row.detail, expected);
            }
            if (row.event != session::Event::Choice)
                continue;
            const QList<QByteArray> fields = lines[line++].split(',');
            QCOMPARE(row.trial, fields[0].trimmed().toInt());
            QCOMPARE(row.option, fields[1].trimmed().toInt());
            QCOMPARE(row.button, *row.option == 1 ? session::Button::Right : session::Button::Left);
        }
        QCOMPARE(line, trials + 1);
        QCOMPARE(record.rows.back().detailValue("games"), "8");

        qInfo("eight games, %d trials, through the real windows in %lld ms", trials,
              static_cast<long long>(elapsed.elapsed()));
    }

    // The instructions or a feedback window closed from its frame ends the
    // program as always, and the session record says where.
    void closingAWindowFromItsFrameEndsTheRecord_data()
    {
        QTest::addColumn<int>("gamesPlayed");
        QTest::addColumn<QString>("lastRow");
        QTest::newRow("instructions") << 0 << QStringLiteral("1,closed_early,,,window=instructions");
        QTest::newRow("feedback after game 1") << 1 << QStringLiteral("1,closed_early,1,,window=feedback");
    }
    void closingAWindowFromItsFrameEndsTheRecord()
    {
        QFETCH(int, gamesPlayed);
        QFETCH(QString, lastRow);
        WorkingFolder folder;
        folder.write(QStringLiteral("instructions_condition_1.rtf"), "{\\rtf1\\ansi Read this first.\\par}");
        folder.write(QStringLiteral("config.ini"), "25\r\n$\r\n");
        ProgramRecorder recorder;
        ManualClock clock;
        Module1 state;
        Experiment experiment(
            state, clock, [] { return 0.2; }, QDir(folder.path()).filesystemPath());
        auto *registration = qobject_cast<frmSubjects *>(experiment.start());
        QVERIFY(registration);
        QTest::keyClicks(registration->Txt_id, QStringLiteral("42"));
        QTest::mouseClick(registration->Command1, Qt::LeftButton);
        QPointer<frmInstructions> instructions = window<frmInstructions>("frmInstructions");
        QVERIFY(instructions);
        QWidget *closed = instructions;
        if (gamesPlayed == 1) {
            QTest::mouseClick(instructions->Command1, Qt::LeftButton);
            QTRY_VERIFY(window<frmTesting2>("frmTesting2"));
            QPointer<frmTesting2> play = window<frmTesting2>("frmTesting2");
            QTest::mouseClick(play->cmdGo, Qt::LeftButton);
            while (play && play->isVisible()) {
                QTest::mouseClick(play->cmdLeft, Qt::LeftButton);
                for (int i = 0; i < 5 && play && play->isPausing(); ++i)
                    clock.finishPause();
            }
            QTRY_VERIFY(!play);
            closed = window<frmFeedback1>("frmFeedback1");
            QVERIFY(closed && closed->isVisible());
        }
        QVERIFY(closed->close());
        QVERIFY(!window<frmTesting2>("frmTesting2"));
        const QList<QByteArray> rows = folder.read(QStringLiteral("42.session.csv")).split('\n');
        QCOMPARE(rows.last(), QByteArray());
        const QList<QByteArray> fields = rows[rows.size() - 2].split(',');
        QCOMPARE(QString::fromUtf8(fields[0] + ',' + fields[1] + ',' + fields[4] + ',' + fields[5] + ',' + fields[11]),
                 lastRow + '\r');
        QVERIFY(recorder.exitStatuses.empty());
    }
};

QTEST_MAIN(ExperimentEndToEndTest)
#include "experiment_e2e_test.moc"
