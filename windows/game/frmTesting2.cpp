// The game window's own event handlers: loading, activation, "Go", the two
// choice buttons, the animation timer and closing.
#include "windows/game/frmTesting2.h"

#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/message_box.h"
#include "platform/program.h"
#include "rules/game/trial_display.h"
#include "rules/number_text.h"
#include "windows/game/activation_watch.h"
#include "windows/game/response_timer.h"
#include "windows/session_log.h"
#include "windows/window_flow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

namespace ct {
frmTesting2::frmTesting2(AppContext &context, QWidget *parent) : Form(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmTesting2"));
    BuildLayout();

    m_pauseTimer = m_context.clock.createTimer(this);
    m_pauseTimer->setSingleShot(true);
    m_activation = new ActivationWatch(this);
    m_responses = new ResponseTimer(m_context.clock, this, cmdLeft, cmdRight);

    connect(cmdGo, &QPushButton::clicked, this, &frmTesting2::cmdGo_Click);
    connect(cmdLeft, &QPushButton::clicked, this, &frmTesting2::cmdLeft_Click);
    connect(cmdRight, &QPushButton::clicked, this, &frmTesting2::cmdRight_Click);
    connect(Timer1, &ClockTimer::timeout, this, &frmTesting2::Timer1_Timer);
    connect(m_pauseTimer, &ClockTimer::timeout, this, &frmTesting2::PauseTimer_Timer);
    connect(m_activation, &ActivationWatch::activatedFromProgramWindow, this, &frmTesting2::Form_Activate);
    // The row goes to disk after the repaint that showed the buttons.
    connect(m_responses, &ResponseTimer::painted, this, &frmTesting2::ChoiceButtons_Painted, Qt::QueuedConnection);

    Form_Load();
}

void frmTesting2::Form_Load()
{
    Module1 &state = m_context.state;
    state.trial = 1;
    // A fresh schedule: 150 units, no history, shares and payoffs at 0.
    m_schedule = PayoffSchedule{};
    state.winnings = Points{};
    txtPayoff->setText(QString());
    Timer1->stop();
    // Until "Go" the mover shows its open mouth and stands still.
    Image1->hide();
    cmdLeft->setText(tr("Left"));
    cmdRight->setText(tr("Right"));
    cmdLeft->setEnabled(false);
    cmdRight->setEnabled(false);
    ShowTotals();
    lblChoose->setText(tr("Click Go"));
    m_phase = Phase::WaitingToStart;
}

void frmTesting2::firstShown()
{
    PlaceFocus();
    // The first showing activates the window as far as the game is concerned,
    // even before the window system gets round to it.
    m_activation->markActive();
    Form_Activate();
}

void frmTesting2::Form_Activate()
{
    ShowTotals();
    txtChoice->setText(QString());
}

void frmTesting2::cmdGo_Click()
{
    if (m_phase != Phase::WaitingToStart)
        return;
    session::Row started;
    started.event = session::Event::GameStarted;
    started.game = gameInPlay();
    if (!recordEvent(m_context, std::move(started), this)) {
        m_phase = Phase::Stopped;
        return;
    }
    cmdLeft->setEnabled(true);
    cmdRight->setEnabled(true);
    cmdGo->hide();
    lblChoose->setText(tr("Choose"));
    ShowTotals();
    m_imagePhase = 1;
    Timer1->start();
    SetMoverSize(board::kMoverWidth, board::kMoverHeight);
    setTwipsTop(Image1, moverTop(twipsGeometry(Image1).height));
    setTwipsTop(Image2, moverTop(twipsGeometry(Image2).height));
    m_phase = Phase::Choosing;
    m_responses->buttonsShown();
}

void frmTesting2::cmdLeft_Click()
{
    m_press = m_responses->press(cmdLeft);
    m_responseMs = m_responses->responseMs(cmdLeft);
    ProcessChoice(m_context.state.leftOptionOnLeft);
}

void frmTesting2::cmdRight_Click()
{
    m_press = m_responses->press(cmdRight);
    m_responseMs = m_responses->responseMs(cmdRight);
    ProcessChoice(!m_context.state.leftOptionOnLeft);
}

void frmTesting2::Timer1_Timer()
{
    if (m_imagePhase == 1) {
        Image1->show();
        Image2->hide();
        m_imagePhase = 2;
    } else {
        Image1->hide();
        Image2->show();
        m_imagePhase = 1;
    }
}

// The units left and the points total, with the last trial's values cleared.
void frmTesting2::ShowTotals()
{
    lblgametimelost->setText(QString());
    lblgametime->setText(fixed(GameUnits(), 1));
    txtWins->setText(fixed(m_context.state.winnings, 0));
    txtPayoff->setText(QString());
}

QString frmTesting2::fixed(double value, int decimals)
{
    return QString::fromStdString(formatFixed(value, decimals));
}

QString frmTesting2::fixed(Points value, int decimals)
{
    return QString::fromStdString(formatFixed(value, decimals));
}

void frmTesting2::SetMoverSize(float width, float height)
{
    setTwipsWidth(Image1, width);
    setTwipsHeight(Image1, height);
    setTwipsWidth(Image2, width);
    setTwipsHeight(Image2, height);
}

void frmTesting2::closeEvent(QCloseEvent *event)
{
    // The program closes the window itself at the end of a game, and after it
    // has been stopped; neither asks anything.
    if (m_phase == Phase::Ended || m_phase == Phase::Stopped) {
        Timer1->stop();
        m_pauseTimer->stop();
        event->accept();
        return;
    }
    // Closed from its frame in mid-game: every trial played is on disk
    // already, but the experiment cannot go on without this window. The
    // question and its answer go into the session record: the time the
    // question was up lies inside a response time or a pause.
    if (!RecordGameEvent(endQuestionRow(session::Event::EndAsked), m_context.clock.seconds())) {
        event->accept();
        return;
    }
    const QString question = tr("End the experiment now?\n\n"
                                "All trials played so far are saved in the data file \"%1\". "
                                "If you end the experiment, the program closes and this game cannot be continued.")
                                 .arg(QString::fromStdString(m_context.state.dataFileName));
    const bool end = MessageBox::confirm(this, kProgramTitle, question);
    session::Row answer = endQuestionRow(session::Event::EndAnswered);
    answer.detail = {{"answer", end ? "yes" : "no"}};
    const double answeredAt = m_context.clock.seconds();
    if (!end) {
        if (RecordGameEvent(std::move(answer), answeredAt))
            event->ignore();
        else
            event->accept();
        return;
    }
    Stop();
    event->accept();
    // A pause cut short leaves its row without the actual pause.
    if (!WritePendingChoice())
        return;
    if (!recordEvent(m_context, std::move(answer), this, answeredAt))
        return;
    if (!recordClosedEarly(m_context, "game", gameInPlay(), m_context.state.trial - 1, this))
        return;
    endProgram(kExitStoppedByExperimenter);
}

// The question's rows name the game and the trials played of it.
session::Row frmTesting2::endQuestionRow(session::Event event) const
{
    session::Row row;
    row.event = event;
    row.game = gameInPlay();
    row.trial = m_context.state.trial - 1;
    return row;
}

} // namespace ct
