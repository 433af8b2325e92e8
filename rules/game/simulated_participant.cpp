#include "rules/game/simulated_participant.h"

#include "rules/experiment.h"
#include "rules/game/payoff_schedule.h"
#include "rules/game/trial_record.h"
#include "rules/number_text.h"

#include <random>

namespace ct {

std::optional<Strategy> strategyNamed(std::string_view name, std::uint64_t seed, std::string_view choices)
{
    Strategy strategy;
    if (name == "left") {
        strategy.kind = Strategy::Kind::AllLeft;
    } else if (name == "right") {
        strategy.kind = Strategy::Kind::AllRight;
    } else if (name == "best") {
        strategy.kind = Strategy::Kind::Best;
    } else if (name == "random") {
        strategy.kind = Strategy::Kind::Random;
        strategy.seed = seed;
    } else if (name == "choices") {
        strategy.kind = Strategy::Kind::Choices;
        for (char c : choices) {
            if (c == 'L' || c == 'R')
                strategy.choices += c;
            else if (c != ' ' && c != '\t' && c != '\n' && c != ',')
                return std::nullopt;
        }
    } else {
        return std::nullopt;
    }
    return strategy;
}

SimulatedRun simulate(const Strategy &strategy, int games)
{
    SimulatedRun run;
    run.bytes = kHeaderLine;
    std::mt19937_64 generator(strategy.seed);
    std::size_t nextChoice = 0;
    for (int game = 1; game <= games; ++game) {
        run.games.emplace_back();
        PayoffSchedule schedule;
        std::int16_t trial = 1;
        Points winnings;
        for (;;) {
            bool left = true;
            switch (strategy.kind) {
            case Strategy::Kind::AllLeft:
                left = true;
                break;
            case Strategy::Kind::AllRight:
                left = false;
                break;
            case Strategy::Kind::Best:
                // 144 left-option choices, then the right option: 760 points.
                left = trial <= 144;
                break;
            case Strategy::Kind::Random:
                left = (generator() >> 63) == 0;
                break;
            case Strategy::Kind::Choices:
                if (nextChoice >= strategy.choices.size()) {
                    run.error.message = "the choice string ran out in game " + std::to_string(game) + " at trial "
                                        + std::to_string(trial);
                    return run;
                }
                left = strategy.choices[nextChoice++] == 'L';
                break;
            }
            const TrialResult result = playChoice(schedule, trial, winnings, left);
            run.bytes += dataLine(result);
            run.games.back().push_back(result);
            if (result.gameOver)
                break;
        }
        run.gamePoints.push_back(plainText(winnings));
    }
    if (strategy.kind == Strategy::Kind::Choices && nextChoice != strategy.choices.size()) {
        run.error.message = std::to_string(strategy.choices.size() - nextChoice) + " choices are left over after game "
                            + std::to_string(games);
        return run;
    }
    return run;
}

} // namespace ct
