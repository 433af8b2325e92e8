#pragma once

#include "rules/experiment.h"

namespace ct {

// Records the game that has just ended, as the feedback window loads: raises
// gameNumber by 1, stores winnings in gameScores[gameNumber] and adds them to
// totalEarnings. Returns false, changing nothing, when gameScores has no slot
// left for another game.
bool RecordFinishedGame(Module1 &state);

// The points of game `game`; a slot never written counts as 0.
Points gameScore(const Module1 &state, int game);

// The points of the games recorded so far, added up game by game in double
// precision, exactly as totalEarnings is while the games are recorded.
double recordedPointsTotal(const Module1 &state);

} // namespace ct
