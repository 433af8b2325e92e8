// One trial of the game window: from the click on a choice button through
// scoring, the board, the data file and the pause to the buttons coming back.
#include "windows/game/frmTesting2.h"

#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/files.h"
#include "platform/program.h"
#include "rules/game/trial_display.h"
#include "rules/game/trial_record.h"
#include "windows/game/response_timer.h"
#include "windows/session_log.h"
#include "windows/window_flow.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iterator>

namespace ct {
void frmTesting2::ProcessChoice(bool choice)
{
    // Only a choice button that is shown and enabled leads here, one trial at
    // a time; a click that reaches a hidden button is no choice.
    if (m_phase != Phase::Choosing)
        return;
    // The previous trial's row, should its buttons not have been painted.
    if (!WritePendingChoice())
        return;
    m_phase = Phase::Pausing;

    // The same step the simulator and the data file reader take: store the
    // choice, update the history, price the trial.
    const TrialResult played = playChoice(m_schedule, m_context.state.trial, m_context.state.winnings, choice);
    if (!FinishTrial(played))
        return; // the game is over, or the program has been stopped

    cmdLeft->hide();
    cmdRight->hide();
    lblChoose->hide();
    txtPayoff->setText(fixed(payoff(), 0));
    lblgametime->setText(fixed(GameUnits(), 1));
    lblgametimelost->setText(fixed(GameUnitsLost(), 1));
    // The side of the button clicked, whichever option it carries.
    txtChoice->setText(choice == m_context.state.leftOptionOnLeft ? tr("Left") : tr("Right"));
    StartPause();
}

bool frmTesting2::FinishTrial(const TrialResult &played)
{
    ShowPoints();
    MoveMover();
    setTwipsWidth(TrialsShape, barWidth(played.unitsLeft));
    if (!RecordTrial(played))
        return false;
    m_pendingChoice = TimedRow{choiceRow(played), m_press.at};
    if (played.gameOver) {
        // No pause follows: the row goes to disk before the feedback window.
        if (!WritePendingChoice())
            return false;
        // The last line is on disk; the feedback window records the game as
        // it loads, then this window goes without asking anything.
        m_phase = Phase::Ended;
        Timer1->stop();
        m_context.flow.openFeedback();
        close();
        return false;
    }
    return true;
}

void frmTesting2::ShowPoints()
{
    const Points winnings = m_context.state.winnings;
    const Rgb colour = winningsColour(winnings);
    QPalette palette = txtWins->palette();
    palette.setColor(QPalette::WindowText, QColor(colour.red, colour.green, colour.blue));
    txtWins->setPalette(palette);
    txtWins->setText(fixed(winnings, 1));
}

void frmTesting2::MoveMover()
{
    const Points winnings = m_context.state.winnings;
    if (!moverGrows(winnings)) {
        SetMoverSize(board::kMoverWidth, board::kMoverHeight);
        return;
    }
    SetMoverSize(moverWidth(winnings), moverHeight(winnings));
    setTwipsTop(Image1, moverTop(twipsGeometry(Image1).height));
    setTwipsTop(Image2, moverTop(twipsGeometry(Image2).height));
    const float left = moverLeft(winnings);
    setTwipsLeft(Image1, left);
    setTwipsLeft(Image2, left);
    // The window keeps the twips exactly as set, so the test sees the values
    // just computed, not the pixel-snapped ones.
    const TwipsRect mover = twipsGeometry(Image1);
    for (PictureBox *dot : Image3)
        if (dotPassed(twipsGeometry(dot).left, mover.left, mover.width))
            dot->hide();
}

bool frmTesting2::RecordTrial(const TrialResult &played)
{
    const Module1 &state = m_context.state;
    std::string bytes = dataLine(played);
    // Registration created the file. If it has gone since (deleted during the
    // session), the new file starts with the header line, so that it stays
    // readable: it reads as a new registration whose earlier part is missing.
    std::error_code error;
    if (!std::filesystem::exists(state.dataFileName, error) && !error)
        bytes.insert(0, kHeaderLine);
    const FileResult written = appendDurably(state.dataFileName, bytes, m_context.appendFaults);
    if (written.ok())
        return true;
    // Never a silently skipped trial: the experiment stops here, with every
    // earlier trial in the file. A trial that reached the disk before a later
    // step failed is in the file too, and the message says so.
    m_phase = Phase::Stopped;
    Timer1->stop();
    const char *problem = written.bytesSaved
                              ? QT_TRANSLATE_NOOP("ct::frmTesting2",
                                                  "Trial %1 was saved in the data file, but then the system reported "
                                                  "a fault, so the experiment has to stop.\n\n%2\n\nAll trials "
                                                  "played so far, this one included, are in the file.")
                              : QT_TRANSLATE_NOOP("ct::frmTesting2",
                                                  "Trial %1 could not be saved in the data file, so the experiment "
                                                  "has to stop.\n\n%2\n\nThe trials played before it are in the "
                                                  "file.");
    fatalError(this, "ct::frmTesting2", problem, QString::number(played.trial),
               QString::fromStdString(written.error.message));
    return false;
}

void frmTesting2::StartPause()
{
    m_pauseStart = m_context.clock.seconds();
    m_dblendtime = m_schedule.pauseEnd(m_pauseStart);
    if (m_pendingChoice)
        m_pendingChoice->row.pausePlannedMs = (m_dblendtime - m_pauseStart) * 1000.0;
    ContinuePause();
}

void frmTesting2::PauseTimer_Timer()
{
    if (m_phase == Phase::Pausing)
        ContinuePause();
}

// Waits, with the event loop running, for as long as the clock is short of
// dblendtime; then the buttons come back.
void frmTesting2::ContinuePause()
{
    // The timer counts whole milliseconds: it is armed for the time still to
    // go, rounded up, and armed again for the rest should it come early.
    const double remaining = m_dblendtime - m_context.clock.seconds();
    if (remaining > 0) {
        // A nanosecond's grace keeps rounding noise from adding a millisecond.
        const double milliseconds = std::ceil(remaining * 1000.0 - 1e-6);
        m_pauseTimer->start(static_cast<int>(std::max(1.0, milliseconds)));
        return;
    }
    lblChoose->show();
    cmdLeft->show();
    cmdRight->show();
    m_phase = Phase::Choosing;
    m_responses->buttonsShown();
    // Until the buttons are painted, the pause ends when they are shown.
    if (m_pendingChoice)
        m_pendingChoice->row.pauseActualMs = (m_context.clock.seconds() - m_pauseStart) * 1000.0;
}

void frmTesting2::ChoiceButtons_Painted(double onset)
{
    // The signal is queued: a paint that a quick choice has overtaken
    // (pressed before the buttons were painted, released after) belongs to
    // no pause still waiting for its row.
    if (!m_pendingChoice || m_phase != Phase::Choosing || onset < m_pauseStart)
        return;
    m_pendingChoice->row.pauseActualMs = (onset - m_pauseStart) * 1000.0;
    (void)WritePendingChoice();
}

int frmTesting2::gameInPlay() const
{
    return m_context.state.gameNumber + 1;
}

// The trial's row, with the same trial number and option as its data line.
session::Row frmTesting2::choiceRow(const TrialResult &played) const
{
    const bool leftOption = played.choice == 1;
    session::Row row;
    row.event = session::Event::Choice;
    row.game = gameInPlay();
    row.trial = played.trial;
    row.button = leftOption == m_context.state.leftOptionOnLeft ? session::Button::Left : session::Button::Right;
    row.option = played.choice;
    row.responseMs = m_responseMs;
    row.detail = {{"input", m_press.input}};
    return row;
}

// Appends the last choice's row, if it is still waiting, and the rows that
// waited behind it. On failure the program has been stopped.
bool frmTesting2::WritePendingChoice()
{
    if (!m_pendingChoice)
        return true;
    std::vector<TimedRow> rows;
    rows.push_back(std::move(*m_pendingChoice));
    m_pendingChoice.reset();
    std::move(m_waitingRows.begin(), m_waitingRows.end(), std::back_inserter(rows));
    m_waitingRows.clear();
    for (TimedRow &timed : rows) {
        if (!recordEvent(m_context, std::move(timed.row), this, timed.at)) {
            Stop();
            return false;
        }
    }
    return true;
}

// An event of the game window at the moment `at`: written now, or after the
// choice row still waiting for its pause to end. On failure the program has
// been stopped.
bool frmTesting2::RecordGameEvent(session::Row row, double at)
{
    if (m_pendingChoice) {
        m_waitingRows.push_back({std::move(row), at});
        return true;
    }
    if (recordEvent(m_context, std::move(row), this, at))
        return true;
    Stop();
    return false;
}

void frmTesting2::Stop()
{
    m_phase = Phase::Stopped;
    Timer1->stop();
    m_pauseTimer->stop();
}

} // namespace ct
