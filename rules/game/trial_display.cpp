#include "rules/game/trial_display.h"

namespace ct {

bool moverGrows(Points winnings)
{
    return winnings > Points::fromWhole(1);
}

float moverWidth(Points winnings)
{
    return static_cast<float>(165.0 + winnings.toDouble() * 0.8);
}

float moverHeight(Points winnings)
{
    return static_cast<float>(150.0 + winnings.toDouble() * 0.88);
}

float moverTop(float height)
{
    return static_cast<float>(board::kMoverCentre - static_cast<double>(height) / 2.0);
}

float moverLeft(Points winnings)
{
    return static_cast<float>(2640.0 + winnings.toDouble() * 7.25);
}

bool dotPassed(float dotLeft, float moverLeft, float moverWidth)
{
    // Both sums are rounded to single precision before they are compared.
    const float dotEdge = dotLeft + 10.0f;
    const float moverEdge = moverWidth + moverLeft;
    return dotEdge < moverEdge;
}

float barWidth(double gameUnits)
{
    return gameUnits > 0 ? static_cast<float>(gameUnits * 42.0) : 1.0f;
}

Rgb winningsColour(Points winnings)
{
    if (winnings.isNegative())
        return {255, 0, 0};
    if (winnings.isZero())
        return {0, 0, 0};
    return {0, 0, 255};
}

} // namespace ct
