#include "rules/feedback/score_store.h"

namespace ct {

bool RecordFinishedGame(Module1 &state)
{
    const int next = state.gameNumber + 1;
    if (next < 1 || next >= static_cast<int>(state.gameScores.size()))
        return false;
    state.gameNumber = static_cast<std::int16_t>(next);
    state.gameScores[static_cast<std::size_t>(next)] = state.winnings;
    state.totalEarnings += state.winnings.toDouble();
    return true;
}

Points gameScore(const Module1 &state, int game)
{
    if (game < 0 || game >= static_cast<int>(state.gameScores.size()))
        return Points{};
    return state.gameScores[static_cast<std::size_t>(game)].value_or(Points{});
}

double recordedPointsTotal(const Module1 &state)
{
    double total = 0.0;
    for (int game = 1; game <= state.gameNumber; ++game)
        total += gameScore(state, game).toDouble();
    return total;
}

} // namespace ct
