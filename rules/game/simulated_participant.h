#pragma once

#include "platform/error.h"
#include "rules/experiment.h"
#include "rules/game/payoff_schedule.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ct {

// A scripted participant: which option to choose on every trial of a run of
// games. Choices are written 'L' (left option, 5 points) and 'R' (right
// option, 10 points), counting options, not buttons.
struct Strategy {
    enum class Kind { AllLeft, AllRight, Best, Random, Choices };
    Kind kind = Kind::AllLeft;
    std::uint64_t seed = 0; // Random
    std::string choices;    // Choices: consumed across the games in order
};

// Parses "left", "right", "best", "random" or "choices" (with the seed or the
// choice string given separately); nullopt for an unknown name or a choice
// string with other letters than L and R (blanks are ignored).
std::optional<Strategy> strategyNamed(std::string_view name, std::uint64_t seed, std::string_view choices);

struct SimulatedRun {
    // The data file's bytes for one registration: the header line and every
    // trial line, exactly as the program writes them.
    std::string bytes;
    std::vector<std::string> gamePoints;         // each game's points, shortest text
    std::vector<std::vector<TrialResult>> games; // every trial of every game
    Error error;
    bool ok() const { return error.empty(); }
};

// Plays `games` games with the strategy through the game's rules.
SimulatedRun simulate(const Strategy &strategy, int games = kGamesPerExperiment);

} // namespace ct
