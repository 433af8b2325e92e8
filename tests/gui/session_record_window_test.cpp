// The game window's rows in the session record: response times from the
// painted buttons to the press, each row at its event's moment, the pauses,
// one row per data line, the end question, and a record that cannot be
// written stopping the program.
#include "game_window_fixture.h"

#include "platform/program.h"
#include "rules/session_record.h"
#include "windows/game/response_timer.h"
#include "windows/session_log.h"

#include <QCoreApplication>
#include <QDir>

#include <cmath>

using namespace ct;
using namespace ct::test;

namespace {

const QString kSession = QStringLiteral("7.session.csv");

// Lets the window repaint: the buttons reach the screen, and what waits for
// that runs.
void paint()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

} // namespace

class SessionRecordWindowTest : public GameWindowFixture {
    Q_OBJECT

    std::vector<session::Row> rows()
    {
        const session::ReadResult read = session::readSessionRecord(folder->read(kSession).toStdString());
        if (!read.ok() || !read.cutLines.empty())
            qWarning("session record: %s (line %d)", read.error.message.c_str(), read.error.line);
        return read.rows;
    }
    void makeUnwritable(const QString &name) const
    {
        QFile::remove(folder->file(name));
        QVERIFY(QDir(folder->path()).mkdir(name)); // appending to a folder fails
    }

private slots:
    void init()
    {
        setUpGame();
        state.sessionFileName = "7.session.csv";
        state.registration = 2;
        state.gameNumber = 2;
    }
    void cleanup() { tearDownGame(); }

    // Each trial: the buttons are painted, the participant presses after a
    // known delay (mouse, key, or a mouse press that the system delivers as
    // the second of a double click; either button), releases a little later.
    void responseTimesRunFromThePaintedButtonsToThePress()
    {
        enum How { Mouse, Key, SecondClick };
        struct Press {
            double delay;
            bool leftButton;
            How how;
            const char *responseMs;
        };
        const Press presses[] = {
            {0.4321, true, Mouse, "432.1"},  {1.25, false, Mouse, "1250.0"}, {0.2004, true, Key, "200.4"},
            {2.71828, false, Key, "2718.3"}, {0.00012, true, Mouse, "0.1"},  {0.3141, false, SecondClick, "314.1"},
        };
        frmTesting2 *w = startGame();
        paint();
        std::vector<double> pressedAt;
        for (const Press &p : presses) {
            QPushButton *button = p.leftButton ? w->cmdLeft : w->cmdRight;
            clock.advance(p.delay);
            pressedAt.push_back(clock.seconds());
            if (p.how == Key) {
                button->setFocus();
                QTest::keyPress(button, Qt::Key_Space);
                clock.advance(0.09);
                QTest::keyRelease(button, Qt::Key_Space);
            } else {
                if (p.how == Mouse)
                    QTest::mousePress(button, Qt::LeftButton);
                else
                    QTest::mouseDClick(button, Qt::LeftButton);
                clock.advance(0.09);
                QTest::mouseRelease(button, Qt::LeftButton);
            }
            waitOutPause(w);
            paint();
        }

        const std::vector<session::Row> all = rows();
        QCOMPARE(all.size(), std::size(presses) + 1);
        QCOMPARE(all[0].event, session::Event::GameStarted);
        QCOMPARE(all[0].game, 3);
        // The monotonic clock in ms: "Go" at the manual clock's 1000 s, the first choice at its press,
        // 432.1 ms later (its row is written when its buttons are back, 90 + 330 ms after that).
        QCOMPARE(session::millisecondsText(all[0].monotonicMs), "1000000.0");
        QCOMPARE(session::millisecondsText(all[1].monotonicMs), "1000432.1");
        const QList<QByteArray> lines = dataFile().split('\n');
        QCOMPARE(lines.size(), int(std::size(presses)) + 2); // header, trials, nothing after the last CR LF
        for (std::size_t k = 0; k < std::size(presses); ++k) {
            const session::Row &row = all[k + 1];
            const QList<QByteArray> fields = lines[int(k) + 1].split(',');
            QCOMPARE(row.event, session::Event::Choice);
            QCOMPARE(row.registration, 2);
            QCOMPARE(row.game, 3);
            QCOMPARE(row.trial, fields[0].trimmed().toInt());
            QCOMPARE(row.option, fields[1].trimmed().toInt());
            QCOMPARE(row.button, presses[k].leftButton ? session::Button::Left : session::Button::Right);
            QCOMPARE(QByteArray::fromStdString(session::millisecondsText(*row.responseMs)),
                     QByteArray(presses[k].responseMs));
            // Stamped at the press, with the device that pressed.
            QCOMPARE(session::millisecondsText(row.monotonicMs), session::millisecondsText(pressedAt[k] * 1000));
            QCOMPARE(row.detailValue("input"), presses[k].how == Key ? "keyboard" : "mouse");
            // The pause as planned, and as it was until the buttons were
            // painted again (the pause timer counts whole milliseconds).
            QVERIFY(row.pausePlannedMs && row.pauseActualMs);
            QVERIFY(std::abs(*row.pauseActualMs - *row.pausePlannedMs) <= 1.0 + 1e-6);
        }
        QCOMPARE(*all[1].pausePlannedMs, 330.0);
        QCOMPARE(session::millisecondsText(*all[2].pausePlannedMs), "396.0"); // the right option: cost 1.2
    }

    // A press already on its way when the buttons come back reaches them
    // before their paint: a negative response time (an anticipation), and
    // the paint it overtook is no end of the new choice's pause.
    void aPressBeforeThePaintIsAnAnticipation()
    {
        frmTesting2 *w = startGame();
        play(w, "L1");
        clock.advance(0.01);
        QTest::mousePress(w->cmdLeft, Qt::LeftButton); // shown, not painted
        clock.advance(0.01);
        // The release comes with the repaint, ahead of what the repaint queued.
        auto *responses = w->findChild<ResponseTimer *>();
        QVERIFY(responses);
        const QMetaObject::Connection release = connect(
            responses, &ResponseTimer::painted, this, [w] { QTest::mouseRelease(w->cmdLeft, Qt::LeftButton); },
            Qt::DirectConnection);
        paint();
        disconnect(release);
        QCOMPARE(state.trial, std::int16_t{3});
        QCOMPARE(rows().size(), std::size_t(2)); // the second row waits for its pause
        waitOutPause(w);
        clock.advance(0.005);
        paint();
        const std::vector<session::Row> all = rows();
        QCOMPARE(all.size(), std::size_t(3));
        QCOMPARE(QByteArray::fromStdString(session::millisecondsText(*all[2].responseMs)), QByteArray("-10.0"));
        QVERIFY(*all[2].pauseActualMs >= *all[2].pausePlannedMs);
    }

    // A row waits for the painted buttons, but never past the next choice,
    // and the game's last row is written before the feedback window opens.
    void everyDataLineHasItsRowBeforeTheNextChoice()
    {
        int rowsAtFeedback = -1;
        flow.onFeedback = [&] { rowsAtFeedback = int(rows().size()); };
        frmTesting2 *w = startGame();
        play(w, "L1");
        QCOMPARE(rows().size(), std::size_t(1)); // not yet painted
        play(w, "L149");
        QCOMPARE(flow.feedbacks, 1);
        QCOMPARE(rowsAtFeedback, 151);
        const std::vector<session::Row> all = rows();
        QCOMPARE(all.back().trial, 150);
        QVERIFY(!all.back().pausePlannedMs && !all.back().pauseActualMs); // no pause after the last trial
        // Never painted: the next choice wrote the row, its pause ending
        // when the buttons were shown.
        QVERIFY(all[1].pauseActualMs && std::abs(*all[1].pauseActualMs - 330.0) <= 1.0 + 1e-6);
    }

    // "End the experiment now?" and each answer are in the record at their
    // moments: declined during a pause (the rows wait behind the choice row
    // that waits for the buttons), then confirmed, which ends the record. The
    // record is there but empty, as a crash during its first append leaves
    // it: it gets its header as a new one does.
    void theEndQuestionAndItsAnswersAreRecorded()
    {
        folder->write(kSession, {});
        frmTesting2 *w = startGame();
        play(w, "L2");
        paint();
        clock.advance(0.5);
        const double pressedAt = clock.seconds();
        QTest::mousePress(w->cmdLeft, Qt::LeftButton);
        QTest::mouseRelease(w->cmdLeft, Qt::LeftButton);
        clock.advance(0.2);
        const double declinedAt = clock.seconds();
        recorder->answers.push_back(MessageBox::Answer::No);
        QVERIFY(!w->close());
        waitOutPause(w);
        paint();
        clock.advance(4.0);
        const double endedAt = clock.seconds();
        recorder->answers.push_back(MessageBox::Answer::Yes);
        QVERIFY(w->close());

        struct Expected {
            session::Event event;
            double at;
            const char *answer;
        };
        const Expected expected[] = {
            {session::Event::Choice, pressedAt, nullptr},    {session::Event::EndAsked, declinedAt, nullptr},
            {session::Event::EndAnswered, declinedAt, "no"}, {session::Event::EndAsked, endedAt, nullptr},
            {session::Event::EndAnswered, endedAt, "yes"},   {session::Event::ClosedEarly, endedAt, nullptr},
        };
        const std::vector<session::Row> all = rows();
        QCOMPARE(all.size(), std::size(expected) + 3);
        for (std::size_t k = 0; k < std::size(expected); ++k) {
            const session::Row &row = all[k + 3];
            QCOMPARE(row.event, expected[k].event);
            QCOMPARE(session::millisecondsText(row.monotonicMs), session::millisecondsText(expected[k].at * 1000));
            QCOMPARE(row.game, 3);
            QCOMPARE(row.trial, 3);
            if (expected[k].answer)
                QCOMPARE(row.detailValue("answer"), expected[k].answer);
        }
        QCOMPARE(all.back().detailValue("window"), "game");
        QCOMPARE(recorder->exitStatuses, std::vector<int>{kExitStoppedByExperimenter});
    }

    // A record that cannot be written stops the game like the data file:
    // at "Go", or when a choice's row is due; the data line is written first.
    void aRecordThatCannotBeWrittenStopsTheProgram_data()
    {
        QTest::addColumn<int>("breakAfter"); // choices played before the record breaks; -1 before "Go"
        QTest::addColumn<int>("dataLines");
        QTest::newRow("at Go") << -1 << 0;
        QTest::newRow("at the first choice's row") << 0 << 1;
        // Not painted: the row goes before the next choice, which then is not played.
        QTest::newRow("at a later choice's row") << 4 << 4;
    }
    void aRecordThatCannotBeWrittenStopsTheProgram()
    {
        QFETCH(int, breakAfter);
        QFETCH(int, dataLines);
        frmTesting2 *w = openGame();
        if (breakAfter < 0)
            makeUnwritable(kSession);
        QTest::mouseClick(w->cmdGo, Qt::LeftButton);
        if (breakAfter >= 0) {
            play(w, QByteArray("L") + QByteArray::number(breakAfter));
            makeUnwritable(kSession);
            play(w, "L1");
            paint();
        }
        QCOMPARE(recorder->exitStatuses, std::vector<int>{1});
        QCOMPARE(recorder->boxes.size(), std::size_t(1));
        QVERIFY(recorder->boxes[0].text.startsWith(
            QStringLiteral("The session record could not be saved, so the experiment has to stop.")));
        QVERIFY(recorder->boxes[0].text.contains(QStringLiteral("7.session.csv")));
        // Stopped: a further click records nothing.
        QTest::mouseClick(w->cmdLeft, Qt::LeftButton);
        QCOMPARE(dataFile(), kHeader + leftLines(1, dataLines));
    }

    // An error that stops the program is in the record with its message.
    void theStoppingErrorIsRecorded()
    {
        recordStoppingErrors(*context);
        frmTesting2 *w = startGame();
        play(w, "L2");
        makeUnwritable(QStringLiteral("7.csv"));
        QTest::mouseClick(w->cmdLeft, Qt::LeftButton);
        setFatalErrorListener({});
        const std::vector<session::Row> all = rows();
        QCOMPARE(all.back().event, session::Event::Error);
        QCOMPARE(QString::fromStdString(*all.back().detailValue("message")), recorder->boxes.at(0).text);
        QCOMPARE(all[all.size() - 2].trial, 2); // the row waiting for paint went first
    }
};

QTEST_MAIN(SessionRecordWindowTest)
#include "session_record_window_test.moc"
