#pragma once

// What the game and feedback window tests share: a working folder with a data
// file as registration leaves it, a manual clock, a flow that records what the
// windows ask of it, helpers that play choices click by click, and the
// feedback window after a run of games.
#include "choice_runs.h"
#include "fake_flow.h"
#include "gui_support.h"
#include "manual_clock.h"
#include "platform/controls.h"
#include "platform/twips.h"
#include "windows/feedback/frmFeedback1.h"
#include "windows/game/frmTesting2.h"
#include "windows/window_flow.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

namespace ct::test {

inline const QByteArray kHeader = "Trial,Choice,PayOff,winnings,historyLeft,GameUnitsRemaining\r\n";

inline QByteArray expand(const QByteArray &runs)
{
    return QByteArray::fromStdString(expandRuns(runs.toStdString()));
}

inline QByteArray line(int trial, int choice, const QByteArray &payoff, const QByteArray &winnings,
                       const QByteArray &historyLeft, const QByteArray &unitsBefore)
{
    return " " + QByteArray::number(trial) + " , " + QByteArray::number(choice) + " , " + payoff + " , " + winnings
           + " , " + historyLeft + " , " + unitsBefore + " ,\r\n";
}

// Trials `first` to `last` of a game played with the left option throughout.
inline QByteArray leftLines(int first, int last)
{
    QByteArray lines;
    for (int k = first; k <= last; ++k)
        lines += line(k, 1, "5", QByteArray::number(5 * k), "1", QByteArray::number(151 - k));
    return lines;
}

inline QColor textColour(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

// Records the order in which controls are shown and hidden.
class VisibilityLog : public QObject {
public:
    void watch(QWidget *widget) { widget->installEventFilter(this); }
    QStringList entries;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ShowToParent)
            entries << "show " + watched->objectName();
        else if (event->type() == QEvent::HideToParent)
            entries << "hide " + watched->objectName();
        return false;
    }
};

// The base of the window test classes; init() calls setUpGame() and
// cleanup() tearDownGame().
class GameWindowFixture : public QObject {
protected:
    std::unique_ptr<WorkingFolder> folder;
    std::unique_ptr<ProgramRecorder> recorder;
    ManualClock clock;
    Module1 state;
    FakeFlow flow;
    std::unique_ptr<AppContext> context;

    QByteArray dataFile() const { return folder->read(QStringLiteral("7.csv")); }

    frmTesting2 *openGame()
    {
        auto *window = new frmTesting2(*context);
        window->show();
        return window;
    }
    // The feedback window after the games of `scores`, the last one just played.
    frmFeedback1 *feedbackAfter(const std::vector<double> &scores)
    {
        playedGames(state, scores);
        return new frmFeedback1(*context);
    }
    frmTesting2 *startGame()
    {
        frmTesting2 *window = openGame();
        QTest::mouseClick(window->cmdGo, Qt::LeftButton);
        return window;
    }
    QPushButton *buttonFor(frmTesting2 *window, bool leftOption) const
    {
        return leftOption == state.leftOptionOnLeft ? window->cmdLeft : window->cmdRight;
    }
    void waitOutPause(const QPointer<frmTesting2> &window)
    {
        // The pause timer may be armed again for a last millisecond.
        for (int i = 0; i < 5 && window && window->isPausing(); ++i)
            clock.finishPause();
    }
    // Plays the choices one click at a time, waiting out each pause, until
    // they run out or the game ends.
    void play(frmTesting2 *game, const QByteArray &runs)
    {
        const QPointer<frmTesting2> window = game;
        const int feedbacksBefore = flow.feedbacks;
        for (char option : expand(runs)) {
            if (!window || flow.feedbacks != feedbacksBefore)
                return;
            QTest::mouseClick(buttonFor(window, option == 'L'), Qt::LeftButton);
            waitOutPause(window);
        }
    }
    void verifyWaitingToStart(frmTesting2 *w)
    {
        QCOMPARE(state.trial, std::int16_t{1});
        QCOMPARE(state.winnings, Points{});
        QCOMPARE(w->GameUnits(), 150.0);
        QCOMPARE(w->historyLeft(), 0.0);
        QCOMPARE(w->payoffLeft(), 0.0);
        QCOMPARE(w->payoffRight(), 0.0);
        QCOMPARE(w->cmdLeft->text(), QStringLiteral("Left"));
        QCOMPARE(w->cmdRight->text(), QStringLiteral("Right"));
        QVERIFY(w->cmdLeft->isVisible() && !w->cmdLeft->isEnabled());
        QVERIFY(w->cmdRight->isVisible() && !w->cmdRight->isEnabled());
        QVERIFY(w->cmdGo->isVisible() && w->cmdGo->isEnabled());
        QCOMPARE(w->cmdGo->text(), QStringLiteral("Go"));
        QVERIFY(w->lblChoose->isVisible());
        QCOMPARE(w->lblChoose->text(), QStringLiteral("Click Go"));
        QCOMPARE(w->txtWins->text(), QStringLiteral("0"));
        QCOMPARE(w->lblgametime->text(), QStringLiteral("150.0"));
        QCOMPARE(w->txtPayoff->text(), QString());
        QCOMPARE(w->txtChoice->text(), QString());
        QCOMPARE(w->lblgametimelost->text(), QString());
        QVERIFY(!w->Timer1->isActive());
        QCOMPARE(w->Timer1->interval(), 250);
        QVERIFY(w->Image1->isHidden());
        QVERIFY(w->Image2->isVisible());
        QCOMPARE(twipsGeometry(w->Image2), (TwipsRect{2640, 360, 165, 150}));
        QCOMPARE(twipsGeometry(w->TrialsShape).width, 6250.0f);
        for (PictureBox *dot : w->Image3)
            QVERIFY2(dot->isVisible(), qPrintable(dot->objectName()));
    }

    void setUpGame()
    {
        folder = std::make_unique<WorkingFolder>();
        folder->write(QStringLiteral("7.csv"), kHeader); // as registration leaves it
        recorder = std::make_unique<ProgramRecorder>();
        state = Module1{};
        state.dataFileName = "7.csv";
        state.leftOptionOnLeft = true;
        flow = FakeFlow{};
        context = std::make_unique<AppContext>(
            AppContext{state, clock, flow, [] { return 0.25; }, QDir(folder->path()).filesystemPath()});
    }
    void tearDownGame()
    {
        closeAllWindows();
        context.reset();
        recorder.reset();
        folder.reset();
    }
};

} // namespace ct::test
