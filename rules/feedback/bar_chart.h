#pragma once

#include "rules/experiment.h"

#include <array>

namespace ct {

// The bar chart of the feedback window: one bar per game, standing on the line
// 7095 twips from the top of the window and growing by 2.9 twips per point.
inline constexpr int kBarCount = kGamesPerExperiment;
inline constexpr float kBarBaseLine = 7095.0f;

// The height of a bar in twips: points x 2.9 in double precision, stored in
// single precision as the bar keeps it.
float barHeight(Points score);
// The top of a bar whose height, read back from the bar, is `height`.
float barTop(float height);

// What the chart shows of each bar after the games finished so far.
struct BarLook {
    bool visible = true;
    bool red = false;   // the game scored less than the one before it
    bool sized = false; // the game has been played: height and top follow its points
};
// Bars of future games are hidden; bar 1 never is, and is never red. Each bar
// is compared only with the game just before it.
std::array<BarLook, kBarCount> barLooks(const Module1 &state);

} // namespace ct
