#include "rules/feedback/bar_chart.h"

#include "rules/feedback/score_store.h"

namespace ct {

float barHeight(Points score)
{
    return static_cast<float>(score.toDouble() * 2.9);
}

float barTop(float height)
{
    return kBarBaseLine - height;
}

std::array<BarLook, kBarCount> barLooks(const Module1 &state)
{
    std::array<BarLook, kBarCount> looks{};
    for (int game = 1; game <= kBarCount; ++game) {
        BarLook &look = looks[static_cast<std::size_t>(game - 1)];
        look.visible = game == 1 || game <= state.gameNumber;
        look.sized = game <= state.gameNumber;
        look.red = game >= 2 && game <= state.gameNumber && gameScore(state, game) < gameScore(state, game - 1);
    }
    return looks;
}

} // namespace ct
