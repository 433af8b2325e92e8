#pragma once

#include "platform/controls.h"
#include "rules/game/payoff_schedule.h"
#include "rules/points.h"
#include "rules/session_record.h"
#include "windows/game/response_timer.h"

#include "platform/form.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class QGroupBox;
class QLabel;
class QPushButton;

namespace ct {

struct AppContext;
class ActivationWatch;
class ClockTimer;

// The game window: one game of the choice task, from "Go" to the trial that
// uses up the game's units. Created afresh for every game; at the end of a
// game it writes the last trial, asks the flow for the feedback window and
// closes itself.
//
// Each click on a choice button is one trial: it is priced by the payoff
// schedule, shown, appended durably to the data file, and followed by a pause
// of 0.33 s per unit of cost on the context's clock, during which the choice
// buttons are hidden while timer ticks and repaints go on.
//
// The trial's row in the session record (with the response time and the
// pause) is appended once the buttons are back on screen, off the way from
// the click to the painted numbers, and always before the next choice is
// handled; the last trial's row right after its data line. It carries the
// moment of the press. Rows of events during the pause ("End the experiment
// now?" and its answer) wait behind it, so that the record stays in order.
class frmTesting2 : public Form {
    Q_OBJECT
public:
    // Builds the window in its layout state and runs Form_Load; show() it next.
    explicit frmTesting2(AppContext &context, QWidget *parent = nullptr);

    // The window's public variables (read-only here).
    double historyLeft() const { return m_schedule.historyLeft(); }
    double GameUnits() const { return m_schedule.gameUnits(); }
    double GameUnitsLost() const { return m_schedule.gameUnitsLost(); }
    double payoffLeft() const { return m_schedule.payoffLeft(); }
    double payoffRight() const { return m_schedule.payoffRight(); }
    Points payoff() const { return m_schedule.payoff(); }
    // The clock reading at which the pause after the last choice ends.
    double dblendtime() const { return m_dblendtime; }

    // True from a choice to the end of its pause.
    bool isPausing() const { return m_phase == Phase::Pausing; }

    // Controls, by their design names.
    QGroupBox *Frame6 = nullptr;
    ValueLabel *lblgametimelost = nullptr;
    QGroupBox *Frame1 = nullptr;
    ValueLabel *lblgametime = nullptr;
    ClockTimer *Timer1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    ValueLabel *txtChoice = nullptr;
    QGroupBox *Frame5 = nullptr;
    ValueLabel *txtWins = nullptr;
    QGroupBox *Frame4 = nullptr;
    ValueLabel *txtPayoff = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *cmdRight = nullptr;
    QPushButton *cmdLeft = nullptr;
    QGroupBox *Frame3 = nullptr;
    QPushButton *cmdGo = nullptr;
    std::array<PictureBox *, 26> Image3{}; // the dots, index 0 on the left
    PictureBox *Image2 = nullptr;          // the mover, mouth open
    PictureBox *Image1 = nullptr;          // the mover, mouth closed
    ShapeBox *TrialsShape = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *lblChoose = nullptr;

protected:
    void firstShown() override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void Form_Activate();
    void cmdGo_Click();
    void cmdLeft_Click();
    void cmdRight_Click();
    void Timer1_Timer();
    void PauseTimer_Timer();
    void ChoiceButtons_Painted(double onset);

private:
    enum class Phase { WaitingToStart, Choosing, Pausing, Ended, Stopped };

    // frmTesting2_layout.cpp
    void BuildLayout();
    void PlaceFocus();

    // frmTesting2_trial.cpp
    void ProcessChoice(bool choice);
    bool FinishTrial(const TrialResult &played);
    void ShowPoints();
    void MoveMover();
    bool RecordTrial(const TrialResult &played);
    void StartPause();
    void ContinuePause();

    void Form_Load();
    void ShowTotals();
    session::Row choiceRow(const TrialResult &played) const;
    bool WritePendingChoice();
    bool RecordGameEvent(session::Row row, double at);
    session::Row endQuestionRow(session::Event event) const;
    void Stop();
    int gameInPlay() const;
    void SetMoverSize(float width, float height);
    // A number in the pattern "0" or "0.0" (decimals 0 or 1), as the labels show it.
    static QString fixed(double value, int decimals);
    static QString fixed(Points value, int decimals);

    AppContext &m_context;
    PayoffSchedule m_schedule;
    Phase m_phase = Phase::WaitingToStart;
    // Which mover picture the next tick shows: 1 the closed one, else the open one.
    std::int16_t m_imagePhase = 0;
    double m_dblendtime = 0.0;
    ClockTimer *m_pauseTimer = nullptr;
    ActivationWatch *m_activation = nullptr;
    ResponseTimer *m_responses = nullptr;
    // The press of the choice being handled and its response time, in ms.
    ResponseTimer::Press m_press;
    std::optional<double> m_responseMs;
    struct TimedRow {
        session::Row row;
        double at = 0; // the event's moment, clock seconds
    };
    // The last choice's session row, until the buttons are back after its
    // pause, and the rows of events since; the clock reading at which that
    // pause began.
    std::optional<TimedRow> m_pendingChoice;
    std::vector<TimedRow> m_waitingRows;
    double m_pauseStart = 0.0;
};

} // namespace ct
