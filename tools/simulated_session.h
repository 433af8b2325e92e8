#pragma once

#include "rules/feedback/settings_file.h"
#include "rules/game/simulated_participant.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace ct {

// The session record rows the program would have written for a simulated
// run: registered (with simulated=1 in its detail), instructions_shown, and
// for every game game_started, a choice row per trial and feedback_shown with
// the rate, currency and money of `settings`, then finished. The button
// assignment and the response times (250 to 1750 ms) are drawn from `seed`,
// so the same seed gives the same rows; the clock starts at `start`.
std::string simulatedSessionRows(const SimulatedRun &run, int registration, std::uint64_t seed,
                                 const Settings &settings, std::chrono::system_clock::time_point start);

} // namespace ct
