#include "rules/game/payoff_schedule.h"

#include "rules/number_text.h"

namespace ct {
namespace {

// Share of left-option positions that lie before trial 1, for the window that
// ends with trial t - 1 (t = 2 to 10).
constexpr std::array<double, 11> kPrefilledShare = {0.0, 0.0, 0.9, 0.8, 0.7, 0.6, 0.5, 0.4, 0.3, 0.2, 0.1};

// The trial just played, once updateHistory has moved `trial` on to the next
// one and score has priced it and added its payoff to `winnings`.
TrialResult lastTrial(const PayoffSchedule &schedule, std::int16_t trial, Points winnings)
{
    TrialResult result;
    result.trial = static_cast<std::int16_t>(trial - 1);
    result.choice = schedule.choice(result.trial);
    result.payoff = schedule.payoff();
    result.winnings = winnings;
    result.historyLeft = schedule.historyLeft();
    result.unitsBefore = schedule.unitsBefore();
    result.unitsLeft = schedule.gameUnits();
    result.unitsLost = schedule.gameUnitsLost();
    result.gameOver = schedule.unitsUsedUp();
    return result;
}

} // namespace

void PayoffSchedule::storeChoice(std::int16_t trial, bool leftOption)
{
    m_choiceHistory.at(static_cast<std::size_t>(trial)) = leftOption ? 1 : 0;
}

void PayoffSchedule::updateHistory(std::int16_t &trial)
{
    trial = static_cast<std::int16_t>(trial + 1);
    const int t = trial;
    int sum = 0;
    const int first = t <= 10 ? 1 : t - 10;
    for (int i = t - 1; i >= first; --i)
        sum += choice(i);
    double share = static_cast<double>(sum) / 10.0;
    if (t <= 10)
        share = kPrefilledShare.at(static_cast<std::size_t>(t)) + share;
    m_leftShare.at(static_cast<std::size_t>(t)) = share;
    m_historyLeft = roundToOneDecimal(share);
}

void PayoffSchedule::score(bool leftOption, Points &winnings)
{
    m_gameUnitsLost = ((1.0 - m_historyLeft) * 2.0) + 1.0;
    m_gameUnits = m_gameUnits - m_gameUnitsLost;
    m_unitsBefore = roundToOneDecimal(m_gameUnits + m_gameUnitsLost);
    if (m_gameUnits < 0) {
        // Divide first, then multiply: the order decides values near a half.
        const double covered = m_unitsBefore / m_gameUnitsLost;
        m_payoffLeft = roundToOneDecimal(covered * kLeftPays);
        m_payoffRight = roundToOneDecimal(covered * kRightPays);
    } else {
        m_payoffLeft = kLeftPays;
        m_payoffRight = kRightPays;
    }
    m_payoff = Points::fromDouble(leftOption ? m_payoffLeft : m_payoffRight);
    winnings += m_payoff;
}

TrialResult playChoice(PayoffSchedule &schedule, std::int16_t &trial, Points &winnings, bool leftOption)
{
    schedule.storeChoice(trial, leftOption);
    schedule.updateHistory(trial);
    schedule.score(leftOption, winnings);
    return lastTrial(schedule, trial, winnings);
}

} // namespace ct
