#pragma once

#include "rules/points.h"

#include <array>
#include <cstdint>

namespace ct {

// The pricing rule of one game: the history of choices, the share of
// left-option choices among the last ten, the cost of each choice in game units
// and the points it pays.
//
// The left option pays 5 points, the right option 10. Every choice costs
// between 1 and 3 of the game's 150 units, the less the more left-option
// choices are among the last ten (this one included; positions before the first
// trial count as left-option choices). A last trial that costs more than is
// left pays in proportion to the part covered.
//
// The arithmetic is in double precision in the order written here, with the
// payoffs converted exactly to points; the results (for example 3.7 rather than
// 3.8 for a share of 0.6 units over a cost of 1.6) depend on that order.
class PayoffSchedule {
public:
    static constexpr int kSlots = 502; // indices 0 to 501, indexed by trial
    static constexpr double kStartUnits = 150.0;
    static constexpr double kLeftPays = 5.0;
    static constexpr double kRightPays = 10.0;

    PayoffSchedule() = default;

    // Step 1 of a choice: remember the option chosen in `trial`
    // (true = left option).
    void storeChoice(std::int16_t trial, bool leftOption);

    // Advances `trial` and works out the share of left-option choices among the
    // ten choices that end with the trial just played, rounded to one decimal.
    void updateHistory(std::int16_t &trial);

    // Prices the trial just played: its cost, the units left, the units before
    // it, the payoffs of both options and the points credited, which are added
    // to `winnings`.
    void score(bool leftOption, Points &winnings);

    // For a game read from its middle (its first trials lost): `units` were
    // left before the next trial.
    void resumeWithUnits(double units) { m_gameUnits = units; }

    // A game ends on the first trial that leaves 0.01 units or fewer.
    bool unitsUsedUp() const { return m_gameUnits <= 0.01; }

    int choice(int trial) const { return m_choiceHistory.at(static_cast<std::size_t>(trial)); }
    double leftShare(int trial) const { return m_leftShare.at(static_cast<std::size_t>(trial)); }
    double historyLeft() const { return m_historyLeft; }
    double gameUnits() const { return m_gameUnits; }
    double gameUnitsLost() const { return m_gameUnitsLost; }
    double unitsBefore() const { return m_unitsBefore; }
    double payoffLeft() const { return m_payoffLeft; }
    double payoffRight() const { return m_payoffRight; }
    Points payoff() const { return m_payoff; }

    // The pause after a choice, 0.33 s per unit of cost: the pause clock's
    // reading at which it ends, from the reading when it starts.
    double pauseEnd(double clockNow) const { return (clockNow + 0.33) + (1.0 - m_historyLeft) * 0.66; }

private:
    std::array<int, kSlots> m_choiceHistory{};
    std::array<double, kSlots> m_leftShare{};
    double m_historyLeft = 0.0;
    double m_gameUnits = kStartUnits;
    double m_gameUnitsLost = 0.0;
    double m_unitsBefore = 0.0;
    double m_payoffLeft = 0.0;
    double m_payoffRight = 0.0;
    Points m_payoff;
};

// One trial as it ends up in the data file.
struct TrialResult {
    std::int16_t trial = 0; // the trial just played, 1 to 150
    int choice = 0;         // 1 left option, 0 right option
    Points payoff;
    Points winnings; // the game's total after this trial
    double historyLeft = 0.0;
    double unitsBefore = 0.0;
    double unitsLeft = 0.0;
    double unitsLost = 0.0;
    bool gameOver = false;
};

// Plays one choice through the whole rule: store, update the history, score.
// The game window, the simulated participant and the data file reader all
// play their choices through this one step.
TrialResult playChoice(PayoffSchedule &schedule, std::int16_t &trial, Points &winnings, bool leftOption);

} // namespace ct
