#pragma once

// What the window tests share of the flow between windows: a flow that
// records what the windows ask of it, and the state the game window leaves
// for the feedback window.
#include "windows/window_flow.h"

#include <functional>
#include <vector>

namespace ct::test {

// Records what a window asks of the flow; the test decides what happens.
class FakeFlow final : public WindowFlow {
public:
    void openInstructions() override { ++instructions; }
    void openGame() override { ++games; }
    void openFeedback() override
    {
        ++feedbacks;
        if (onFeedback)
            onFeedback();
    }
    int instructions = 0;
    int games = 0;
    int feedbacks = 0;
    std::function<void()> onFeedback;
};

// The state as the game window leaves it after the last of `scores`: the
// earlier games recorded, the last one's points in winnings.
inline void playedGames(Module1 &state, const std::vector<double> &scores)
{
    state.gameNumber = static_cast<std::int16_t>(scores.size() - 1);
    state.totalEarnings = 0;
    for (std::size_t g = 1; g < scores.size(); ++g) {
        state.gameScores.at(g) = Points::fromDouble(scores[g - 1]);
        state.totalEarnings += scores[g - 1];
    }
    state.winnings = Points::fromDouble(scores.back());
}

} // namespace ct::test
