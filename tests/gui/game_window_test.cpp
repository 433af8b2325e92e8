// The game window at play: "Go", the choice buttons, the pause, the board,
// the data file, the end of a game and the ways a game can be cut short.
#include "game_window_fixture.h"

#include "rules/feedback/earnings_report.h"
#include "rules/game/data_file.h"
#include "rules/number_text.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace ct;
using namespace ct::test;

class GameWindowTest : public GameWindowFixture {
    Q_OBJECT

private slots:
    void init() { setUpGame(); }
    void cleanup() { tearDownGame(); }

    void goStartsTheGame()
    {
        frmTesting2 *w = openGame();
        QTest::mouseClick(w->cmdGo, Qt::LeftButton);
        QVERIFY(w->cmdLeft->isVisible() && w->cmdLeft->isEnabled());
        QVERIFY(w->cmdRight->isVisible() && w->cmdRight->isEnabled());
        QCOMPARE(w->cmdLeft->text(), QStringLiteral("Left"));
        QCOMPARE(w->cmdRight->text(), QStringLiteral("Right"));
        QVERIFY(w->cmdGo->isHidden());
        QVERIFY(w->lblChoose->isVisible());
        QCOMPARE(w->lblChoose->text(), QStringLiteral("Choose"));
        QCOMPARE(w->txtWins->text(), QStringLiteral("0"));
        QCOMPARE(w->lblgametime->text(), QStringLiteral("150.0"));
        QCOMPARE(w->txtPayoff->text(), QString());
        QCOMPARE(w->lblgametimelost->text(), QString());
        QVERIFY(w->Timer1->isActive());
        QCOMPARE(twipsGeometry(w->Image1), (TwipsRect{2640, 360, 165, 150}));
        QCOMPARE(twipsGeometry(w->Image2), (TwipsRect{2640, 360, 165, 150}));
        QCOMPARE(dataFile(), kHeader);
    }

    void buttonMapping_data()
    {
        QTest::addColumn<bool>("leftOptionOnLeft");
        QTest::addColumn<bool>("leftButton");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("side");
        QTest::addColumn<QString>("payoff");
        const auto row = [](const char *name, bool leftOptionOnLeft, bool leftButton, const QByteArray &line,
                            const char *side, const char *payoff) {
            QTest::newRow(name) << leftOptionOnLeft << leftButton << line << side << payoff;
        };
        row("left option on the left, left button", true, true, line(1, 1, "5", "5", "1", "150"), "Left", "5");
        row("left option on the left, right button", true, false, line(1, 0, "10", "10", ".9", "150"), "Right", "10");
        row("left option on the right, left button", false, true, line(1, 0, "10", "10", ".9", "150"), "Left", "10");
        row("left option on the right, right button", false, false, line(1, 1, "5", "5", "1", "150"), "Right", "5");
    }
    void buttonMapping()
    {
        QFETCH(bool, leftOptionOnLeft);
        QFETCH(bool, leftButton);
        QFETCH(QByteArray, line);
        QFETCH(QString, side);
        QFETCH(QString, payoff);
        state.leftOptionOnLeft = leftOptionOnLeft;
        frmTesting2 *w = startGame();
        QTest::mouseClick(leftButton ? w->cmdLeft : w->cmdRight, Qt::LeftButton);
        QCOMPARE(dataFile(), kHeader + line);
        QCOMPARE(w->txtChoice->text(), side);
        QCOMPARE(w->txtPayoff->text(), payoff);
        QCOMPARE(state.trial, std::int16_t{2});
    }

    void textsAfterATrial_data()
    {
        QTest::addColumn<QByteArray>("runs");
        QTest::addColumn<QString>("payoff");
        QTest::addColumn<QString>("units");
        QTest::addColumn<QString>("lost");
        QTest::addColumn<QString>("wins");
        QTest::addColumn<QString>("winsAfterActivation");
        QTest::addColumn<bool>("leftOptionOnLeft");
        QTest::addColumn<QString>("side");
        const auto row = [](const char *name, const char *runs, const char *payoff, const char *units, const char *lost,
                            const char *wins, const char *winsAfterActivation, bool leftOptionOnLeft,
                            const char *side) {
            QTest::newRow(name) << QByteArray(runs) << payoff << units << lost << wins << winsAfterActivation
                                << leftOptionOnLeft << side;
        };
        row("first left", "L1", "5", "149.0", "1.0", "5.0", "5", true, "Left");
        row("first right", "R1", "10", "148.8", "1.2", "10.0", "10", true, "Right");
        row("first left, swapped", "L1", "5", "149.0", "1.0", "5.0", "5", false, "Right");
        row("right, right", "R2", "10", "147.4", "1.4", "20.0", "20", true, "Right");
        row("3 right, 4 left", "R3 L4", "5", "139.4", "1.6", "50.0", "50", true, "Left");
    }
    void textsAfterATrial()
    {
        QFETCH(QByteArray, runs);
        QFETCH(QString, payoff);
        QFETCH(QString, units);
        QFETCH(QString, lost);
        QFETCH(QString, wins);
        QFETCH(QString, winsAfterActivation);
        QFETCH(bool, leftOptionOnLeft);
        QFETCH(QString, side);
        state.leftOptionOnLeft = leftOptionOnLeft;
        frmTesting2 *w = startGame();
        const QColor before = textColour(w->txtWins);
        QCOMPARE(before, w->palette().color(QPalette::ButtonText));
        play(w, runs);
        QCOMPARE(w->txtPayoff->text(), payoff);
        QCOMPARE(w->lblgametime->text(), units);
        QCOMPARE(w->lblgametimelost->text(), lost);
        QCOMPARE(w->txtWins->text(), wins);
        QCOMPARE(textColour(w->txtWins), QColor(0, 0, 255));
        QCOMPARE(w->txtChoice->text(), side);

        // Focus coming from another window of the program refreshes the
        // displays; the total then shows as a whole number.
        QVERIFY(QTest::qWaitForWindowActive(w));
        QWidget other;
        other.setObjectName(QStringLiteral("otherWindow"));
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QCOMPARE(w->txtPayoff->text(), payoff);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QCOMPARE(w->txtPayoff->text(), QString());
        QCOMPARE(w->txtChoice->text(), QString());
        QCOMPARE(w->lblgametimelost->text(), QString());
        QCOMPARE(w->lblgametime->text(), units);
        QCOMPARE(w->txtWins->text(), winsAfterActivation);
    }

    void focusFromAnotherApplicationOrADialogChangesNothing()
    {
        frmTesting2 *w = startGame();
        play(w, "L1");
        QVERIFY(QTest::qWaitForWindowActive(w));
        // Away to another application and back.
        QApplication::setActiveWindow(nullptr);
        QCOMPARE(QApplication::activeWindow(), nullptr);
        QApplication::setActiveWindow(w);
        QCOMPARE(QApplication::activeWindow(), static_cast<QWidget *>(w));
        QCOMPARE(w->txtPayoff->text(), QStringLiteral("5"));
        QCOMPARE(w->txtWins->text(), QStringLiteral("5.0"));
        // A dialog of the program (a message box, say) and back.
        QDialog box(w);
        box.show();
        QApplication::setActiveWindow(&box);
        QCOMPARE(QApplication::activeWindow(), static_cast<QWidget *>(&box));
        box.hide();
        QApplication::setActiveWindow(w);
        QCOMPARE(QApplication::activeWindow(), static_cast<QWidget *>(w));
        QCOMPARE(w->txtPayoff->text(), QStringLiteral("5"));
        QCOMPARE(w->txtChoice->text(), QStringLiteral("Left"));
        QCOMPARE(w->txtWins->text(), QStringLiteral("5.0"));
    }

    void pauseHidesTheButtons_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<bool>("leftOption");
        QTest::addColumn<double>("pause");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("first left, 1 unit") << QByteArray() << true << 0.33 << line(1, 1, "5", "5", "1", "150");
        QTest::newRow("first right, 1.2 units")
            << QByteArray() << false << 0.396 << line(1, 0, "10", "10", ".9", "150");
        QTest::newRow("second right, 1.4 units")
            << QByteArray("R1") << false << 0.462 << line(2, 0, "10", "20", ".8", "148.8");
        QTest::newRow("tenth right, 3 units")
            << QByteArray("R9") << false << 0.99 << line(10, 0, "10", "100", "0", "132");
    }
    void pauseHidesTheButtons()
    {
        QFETCH(QByteArray, before);
        QFETCH(bool, leftOption);
        QFETCH(double, pause);
        QFETCH(QByteArray, line);
        frmTesting2 *w = startGame();
        if (!before.isEmpty())
            play(w, before);
        const QByteArray fileBefore = dataFile();
        const std::int16_t trialBefore = state.trial;

        VisibilityLog log;
        for (QWidget *control : {static_cast<QWidget *>(w->cmdLeft), static_cast<QWidget *>(w->cmdRight),
                                 static_cast<QWidget *>(w->lblChoose)})
            log.watch(control);
        const double clicked = clock.seconds();
        QTest::mouseClick(buttonFor(w, leftOption), Qt::LeftButton);
        QVERIFY(w->isPausing());
        QCOMPARE(log.entries, QStringList({"hide cmdLeft", "hide cmdRight", "hide lblChoose"}));
        QCOMPARE(state.trial, static_cast<std::int16_t>(trialBefore + 1));
        const QByteArray fileAfterChoice = dataFile();
        // The trial's line is on disk before the pause begins.
        QVERIFY(fileAfterChoice.startsWith(fileBefore));
        QCOMPARE(fileAfterChoice.count('\n'), fileBefore.count('\n') + 1);
        QVERIFY(fileAfterChoice.endsWith(line));
        QVERIFY(qAbs(w->dblendtime() - clicked - pause) < 1e-9);

        // No click counts while the buttons are away, and the timer ticks on.
        const bool closedShown = w->Image1->isVisible();
        clock.advance(0.25);
        QCOMPARE(w->Image1->isVisible(), !closedShown);
        QTest::mouseClick(w->cmdLeft, Qt::LeftButton);
        QTest::mouseClick(w->cmdRight, Qt::LeftButton);
        QTest::mouseClick(w, Qt::LeftButton, {}, w->cmdLeft->geometry().center());
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        QCOMPARE(state.trial, static_cast<std::int16_t>(trialBefore + 1));
        QCOMPARE(dataFile(), fileAfterChoice);

        clock.advance(pause - 0.25 - 0.001);
        QVERIFY(w->isPausing());
        QVERIFY(w->cmdLeft->isHidden() && w->cmdRight->isHidden() && w->lblChoose->isHidden());
        // The timer counts whole milliseconds and may take one more for the rest.
        clock.advance(0.0021);
        QVERIFY(!w->isPausing());
        QVERIFY(w->cmdLeft->isVisible() && w->cmdRight->isVisible() && w->lblChoose->isVisible());
        QCOMPARE(log.entries, QStringList({"hide cmdLeft", "hide cmdRight", "hide lblChoose", "show lblChoose",
                                           "show cmdLeft", "show cmdRight"}));
        QCOMPARE(w->lblChoose->text(), QStringLiteral("Choose"));
        QVERIFY(w->cmdLeft->isEnabled() && w->cmdRight->isEnabled());
        QCOMPARE(clock.activeTimers(), 1); // only Timer1 runs on

        // The next choice is taken again.
        QTest::mouseClick(w->cmdLeft, Qt::LeftButton);
        QCOMPARE(state.trial, static_cast<std::int16_t>(trialBefore + 2));
    }

    void pauseOutlastsATimerThatComesEarly()
    {
        frmTesting2 *w = startGame();
        QTest::mouseClick(w->cmdRight, Qt::LeftButton); // 1.2 units: 0.396 s
        const double end = w->dblendtime();
        QVERIFY(clock.fireSingleShotEarly(0.005));
        QVERIFY(w->isPausing());
        QVERIFY(w->cmdLeft->isHidden());
        // Armed again for the rest, whole milliseconds rounded up.
        clock.advance(end - clock.seconds() - 0.0001);
        QVERIFY(w->isPausing());
        clock.advance(0.0011);
        QVERIFY(!w->isPausing());
        QVERIFY(w->cmdLeft->isVisible() && w->cmdRight->isVisible() && w->lblChoose->isVisible());
    }

    void timerAlternatesTheMoverPictures()
    {
        frmTesting2 *w = openGame();
        clock.advance(2.0);
        QVERIFY(w->Image1->isHidden() && w->Image2->isVisible());
        QTest::mouseClick(w->cmdGo, Qt::LeftButton);
        clock.advance(0.249);
        QVERIFY(w->Image1->isHidden() && w->Image2->isVisible());
        QStringList shown;
        clock.advance(0.001);
        for (int tick = 0; tick < 6; ++tick) {
            QCOMPARE(w->Image1->isVisible(), !w->Image2->isVisible());
            shown << (w->Image1->isVisible() ? "Image1" : "Image2");
            clock.advance(0.25);
        }
        QCOMPARE(shown, QStringList({"Image1", "Image2", "Image1", "Image2", "Image1", "Image2"}));
        // (Through a pause as well: pauseHidesTheButtons.)
    }

    void moverGrowsAndMoves_data()
    {
        QTest::addColumn<QByteArray>("runs");
        QTest::addColumn<TwipsRect>("mover");
        QTest::addColumn<QRect>("pixels");
        QTest::addColumn<bool>("dot0Hidden");
        QTest::newRow("5 points") << QByteArray("L1") << TwipsRect{2676.25f, 357.8f, 169, 154.4f}
                                  << QRect(178, 24, 12, 10) << false;
        QTest::newRow("10 points") << QByteArray("L2") << TwipsRect{2712.5f, 355.6f, 173, 158.8f}
                                   << QRect(181, 24, 11, 10) << false;
        QTest::newRow("15 points") << QByteArray("L3") << TwipsRect{2748.75f, 353.4f, 177, 163.2f}
                                   << QRect(183, 24, 12, 10) << true;
    }
    void moverGrowsAndMoves()
    {
        QFETCH(QByteArray, runs);
        QFETCH(TwipsRect, mover);
        QFETCH(QRect, pixels);
        QFETCH(bool, dot0Hidden);
        frmTesting2 *w = startGame();
        play(w, runs);
        QCOMPARE(twipsGeometry(w->Image1), mover);
        QCOMPARE(twipsGeometry(w->Image2), mover);
        QCOMPARE(w->Image1->geometry(), pixels);
        QCOMPARE(w->Image2->geometry(), pixels);
        QCOMPARE(w->Image3[0]->isHidden(), dot0Hidden);
        for (std::size_t i = 1; i < 26; ++i)
            QVERIFY(w->Image3[i]->isVisible());
    }

    void barAfterTheFirstLeftTrial()
    {
        frmTesting2 *w = startGame();
        play(w, "L1");
        QCOMPARE(twipsGeometry(w->TrialsShape), (TwipsRect{2640, 840, 6258, 615}));
        QCOMPARE(w->TrialsShape->geometry(), QRect(176, 56, 417, 41));
        play(w, "R1");
        QCOMPARE(twipsGeometry(w->TrialsShape).width, 6207.6f); // 42 twips per unit left: 148.8
    }

    void wholeGames_data()
    {
        QTest::addColumn<QByteArray>("runs");
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<int>("lastDotShown"); // -1: all hidden
        QTest::addColumn<QString>("winnings");
        QTest::newRow("left throughout, 750") << QByteArray("L200") << leftLines(1, 150) << 25 << "750";
        QTest::newRow("145 left + 4 right, reduced last trial")
            << QByteArray("L145 R4")
            << leftLines(1, 145) + line(146, 0, "10", "735", ".9", "5") + line(147, 0, "10", "745", ".8", "3.8")
                   + line(148, 0, "10", "755", ".7", "2.4") + line(149, 0, "4.4", "759.4", ".6", ".8")
            << -1 << "759.4";
        QTest::newRow("144 left + 4 right, 760")
            << QByteArray("L144 R4")
            << leftLines(1, 144) + line(145, 0, "10", "730", ".9", "6") + line(146, 0, "10", "740", ".8", "4.8")
                   + line(147, 0, "10", "750", ".7", "3.4") + line(148, 0, "10", "760", ".6", "1.8")
            << -1 << "760";
    }
    void wholeGames()
    {
        QFETCH(QByteArray, runs);
        QFETCH(QByteArray, lines);
        QFETCH(int, lastDotShown);
        QFETCH(QString, winnings);
        QPointer<frmTesting2> w = startGame();

        // What the feedback window would find as it loads.
        QByteArray fileAtFeedback;
        bool gameStillOpen = false;
        std::vector<bool> dotsShown;
        TwipsRect bar;
        flow.onFeedback = [&] {
            fileAtFeedback = dataFile();
            gameStillOpen = w && w->isVisible();
            for (PictureBox *dot : w->Image3)
                dotsShown.push_back(dot->isVisible());
            bar = twipsGeometry(w->TrialsShape);
        };
        play(w, runs);

        QCOMPARE(flow.feedbacks, 1);
        QCOMPARE(fileAtFeedback, kHeader + lines);
        QCOMPARE(dataFile(), kHeader + lines);
        QVERIFY(gameStillOpen);
        QCOMPARE(QString::fromStdString(plainText(state.winnings)), winnings);
        QCOMPARE(bar.width, 1.0f);
        QCOMPARE(dotsShown.size(), std::size_t(26));
        for (int i = 0; i < 26; ++i)
            QCOMPARE(static_cast<bool>(dotsShown.at(static_cast<std::size_t>(i))), i == lastDotShown);
        // The game window is gone without asking anything.
        QTRY_VERIFY(!w);
        QVERIFY(recorder->boxes.empty());
        QVERIFY(recorder->exitStatuses.empty());
    }

    void dataFileDeletedMidGameStartsAgainWithItsHeader()
    {
        frmTesting2 *w = startGame();
        play(w, "L2");
        QVERIFY(QFile::remove(folder->file(QStringLiteral("7.csv"))));
        play(w, "L1");
        QCOMPARE(dataFile(), kHeader + leftLines(3, 3));
        play(w, "L1");
        QCOMPARE(dataFile(), kHeader + leftLines(3, 4));
        QVERIFY(recorder->boxes.empty());

        // Played to its end, the game is read from the new file, and the
        // report says what the file lacks.
        play(w, "L200");
        QCOMPARE(dataFile(), kHeader + leftLines(3, 150));
        const DataFileResult read = readDataFile(dataFile().toStdString());
        QVERIFY2(read.ok(), read.error.message.c_str());
        QCOMPARE(earningsReport(QStringLiteral("7.csv"), read.file, {}, QLocale::c()),
                 QStringLiteral("7.csv: no exchange rate set, points only\n"
                                "Registration 1 (header on line 1)\n"
                                "  The data file was started again at trial 3 of the game below: it was deleted or "
                                "moved away while the program ran. Trials 1 to 2 of that game, and everything "
                                "written before them, are not in this file; the games are counted from that one. "
                                "The session record is not read for this file: its rows cannot be matched with it.\n"
                                "  Game 1: 750 points\n"
                                "  Total so far: 750 points (1 of 8 games finished)\n"));
    }

    void appendErrorStopsTheProgram_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("failingTrial");
        QTest::newRow("first trial") << QByteArray() << 1;
        QTest::newRow("last trial of a game") << QByteArray("L149") << 150;
    }
    void appendErrorStopsTheProgram()
    {
        QFETCH(QByteArray, before);
        QFETCH(int, failingTrial);
        frmTesting2 *w = startGame();
        if (!before.isEmpty())
            play(w, before);
        const QByteArray written = dataFile();
        // A folder where the data file should be.
        QVERIFY(QFile::remove(folder->file(QStringLiteral("7.csv"))));
        QVERIFY(QDir(folder->path()).mkdir(QStringLiteral("7.csv")));

        QTest::mouseClick(w->cmdLeft, Qt::LeftButton);
        QCOMPARE(recorder->exitStatuses, std::vector<int>{1});
        QCOMPARE(recorder->boxes.size(), std::size_t(1));
        QCOMPARE(recorder->boxes[0].icon, MessageBox::Icon::Stop);
        const QString message = recorder->boxes[0].text;
        QVERIFY2(message.startsWith(QStringLiteral("Trial %1 could not be saved in the data file").arg(failingTrial)),
                 qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("\"7.csv\" (%1)").arg(folder->file(QStringLiteral("7.csv")))),
                 qPrintable(message));
        QVERIFY(message.contains(QStringLiteral("Is a directory")));
        // Nothing after the failed write: no pause, no feedback, no more trials.
        QCOMPARE(flow.feedbacks, 0);
        QVERIFY(w->cmdLeft->isVisible());
        QCOMPARE(clock.activeTimers(), 0);
        QTest::mouseClick(w->cmdLeft, Qt::LeftButton);
        QCOMPARE(recorder->boxes.size(), std::size_t(1));
        QCOMPARE(state.trial, static_cast<std::int16_t>(failingTrial + 1));
        QVERIFY(written.endsWith(failingTrial == 1 ? kHeader : line(149, 1, "5", "745", "1", "2")));
        // Stopped, it closes without asking.
        QVERIFY(w->close());
        QCOMPARE(recorder->boxes.size(), std::size_t(1));
    }

    void faultAfterTheTrialIsSavedSaysItIsSaved()
    {
        frmTesting2 *w = startGame();
        context->appendFaults.closeFails = true;
        QTest::mouseClick(w->cmdLeft, Qt::LeftButton);
        QCOMPARE(recorder->exitStatuses, std::vector<int>{1});
        const QString message = recorder->boxes.at(0).text;
        QVERIFY2(message.startsWith(QStringLiteral("Trial 1 was saved in the data file, but then the system reported")),
                 qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("Could not close the file")), qPrintable(message));
        QCOMPARE(dataFile(), kHeader + line(1, 1, "5", "5", "1", "150"));
    }

    void closingInMidGameAsksFirst_data()
    {
        QTest::addColumn<QByteArray>("runs"); // "" before Go, "-" after Go
        QTest::addColumn<bool>("inPause");
        QTest::addColumn<bool>("yes");
        QTest::newRow("before Go, yes") << QByteArray() << false << true;
        QTest::newRow("before Go, no") << QByteArray() << false << false;
        QTest::newRow("after Go, yes") << QByteArray("-") << false << true;
        QTest::newRow("after two trials, no") << QByteArray("L1 R1") << false << false;
        QTest::newRow("in a pause, yes") << QByteArray("L1 R1") << true << true;
        QTest::newRow("in a pause, no") << QByteArray("L1 R1") << true << false;
    }
    void closingInMidGameAsksFirst()
    {
        QFETCH(QByteArray, runs);
        QFETCH(bool, inPause);
        QFETCH(bool, yes);
        QPointer<frmTesting2> w = openGame();
        if (!runs.isEmpty())
            QTest::mouseClick(w->cmdGo, Qt::LeftButton);
        if (runs.size() > 1)
            play(w, runs);
        if (inPause)
            QTest::mouseClick(w->cmdLeft, Qt::LeftButton);
        const QByteArray file = dataFile();
        const std::int16_t trial = state.trial;

        recorder->answers.push_back(yes ? MessageBox::Answer::Yes : MessageBox::Answer::No);
        const bool closed = w->close();
        QCOMPARE(recorder->boxes.size(), std::size_t(1));
        QCOMPARE(recorder->boxes[0].icon, MessageBox::Icon::Question);
        QVERIFY(recorder->boxes[0].yesNo);
        QCOMPARE(recorder->boxes[0].text,
                 QStringLiteral("End the experiment now?\n\nAll trials played so far are saved in the data file "
                                "\"7.csv\". If you end the experiment, the program closes and this game cannot be "
                                "continued."));
        QCOMPARE(dataFile(), file);
        QCOMPARE(closed, yes);
        if (yes) {
            QCOMPARE(recorder->exitStatuses, std::vector<int>{kExitStoppedByExperimenter});
            QTRY_VERIFY(!w);
            return;
        }
        // No: the game goes on where it was.
        QVERIFY(recorder->exitStatuses.empty());
        QVERIFY(w->isVisible());
        QCOMPARE(w->isPausing(), inPause);
        waitOutPause(w);
        if (runs.isEmpty())
            QTest::mouseClick(w->cmdGo, Qt::LeftButton);
        QTest::mouseClick(w->cmdLeft, Qt::LeftButton);
        QCOMPARE(state.trial, static_cast<std::int16_t>(trial + 1));
        QCOMPARE(dataFile().count('\n'), file.count('\n') + 1);
    }
};

QTEST_MAIN(GameWindowTest)
#include "game_window_test.moc"
