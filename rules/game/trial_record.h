#pragma once

#include "rules/game/payoff_schedule.h"

#include <string>
#include <string_view>

namespace ct {

// One trial's line, CR LF included: six numbers, each as " n ," (the first
// space is the sign place), in the order Trial, Choice, PayOff, winnings,
// historyLeft, GameUnitsRemaining (the units before the trial).
// For example " 149 , 0 , 4.4 , 759.4 , .6 , .8 ,\r\n".
std::string dataLine(const TrialResult &trial);

} // namespace ct
