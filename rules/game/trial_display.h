#pragma once

#include "rules/points.h"
#include "rules/rgb.h"

namespace ct {

// What a trial changes on the game board besides the texts: the mover that
// grows and moves right with the points, the row of dots it eats, the bar of
// game units and the colour of the points total.
//
// All sizes and places are in twips. They are computed in double precision
// and kept in single precision, as the window stores them; the dot test
// compares single-precision sums. The layout of the game window uses the same
// coordinates, so a change to one side must be made on the other too.
namespace board {

inline constexpr float kMoverLeft = 2640; // resting place of the mover pair
inline constexpr float kMoverTop = 360;
inline constexpr float kMoverWidth = 165; // resting size
inline constexpr float kMoverHeight = 150;
inline constexpr double kMoverCentre = 435; // the mover stays centred on this line

inline constexpr int kDots = 26;
inline constexpr float kDotTop = 360;
inline constexpr float kDotSize = 105;
constexpr float dotLeft(int index)
{
    return 2880.0f + 240.0f * static_cast<float>(index);
}

inline constexpr float kBarLeft = 2640;
inline constexpr float kBarTop = 840;
inline constexpr float kBarWidth = 6250; // before the first trial
inline constexpr float kBarHeight = 615;

} // namespace board

// The mover grows and moves only while the game's points are above 1; at 1
// point or less it takes its resting size and stays where it is.
bool moverGrows(Points winnings);

// The mover's width and height for a points total above 1.
float moverWidth(Points winnings);
float moverHeight(Points winnings);
// The top that centres a mover of this height on its line.
float moverTop(float height);
// The mover's left edge for a points total above 1.
float moverLeft(Points winnings);

// True once the mover has passed the dot: the dot's left edge plus 10 lies
// left of the mover's right edge, both sums in single precision.
bool dotPassed(float dotLeft, float moverLeft, float moverWidth);

// The width of the units bar: 42 twips per game unit left, 1 twip once none is.
float barWidth(double gameUnits);

// The colour of the points total: red below 0, blue above 0, black at 0.
Rgb winningsColour(Points winnings);

} // namespace ct
