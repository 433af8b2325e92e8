#include "rules/game/trial_display.h"

#include <gtest/gtest.h>

using namespace ct;

namespace {

Points pts(double value)
{
    return Points::fromDouble(value);
}

} // namespace

TEST(TrialDisplay, MoverGrowsOnlyAboveOnePoint)
{
    struct Case {
        const char *name;
        Points winnings;
        bool grows;
    } const cases[] = {
        {"no points", Points{}, false},
        {"one point", pts(1), false},
        {"just above one", Points::fromUnits(10001), true},
        {"first trial", pts(5), true},
        {"negative", pts(-3), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(moverGrows(c.winnings), c.grows);
    }
}

TEST(TrialDisplay, MoverSizeAndPlace)
{
    struct Case {
        double winnings;
        float width, height, left, top;
    } const cases[] = {
        // (After 5 to 15 points: the game window test's moverGrowsAndMoves.)
        {750, 765.0f, 810.0f, 8077.5f, 30.0f},
        // The top comes from the stored single-precision height (818.27197),
        // so it lies one step above the single nearest to 25.864.
        {759.4, 772.52f, 818.272f, 8145.65f, 25.8640137f},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.winnings);
        const float height = moverHeight(pts(c.winnings));
        EXPECT_EQ(moverWidth(pts(c.winnings)), c.width);
        EXPECT_EQ(height, c.height);
        EXPECT_EQ(moverLeft(pts(c.winnings)), c.left);
        EXPECT_EQ(moverTop(height), c.top);
    }
    EXPECT_EQ(moverTop(board::kMoverHeight), board::kMoverTop) << "resting mover centred on 435";
}

TEST(TrialDisplay, DotsPassedByTheMover)
{
    struct Case {
        const char *name;
        double winnings;
        int dot;
        bool passed;
    } const cases[] = {
        {"dot 0 at 10 points", 10, 0, false},
        {"dot 0 at 15 points", 15, 0, true},
        {"dot 3 at 100 points: edges meet exactly", 100, 3, false},
        {"dot 3 just past", 100.1, 3, true},
        {"dot 25 at 750 points", 750, 25, false},
        {"dot 25 at 755.9 points", 755.9, 25, false},
        {"dot 25 at 756 points", 756, 25, true},
        {"dot 25 at 759.4 points", 759.4, 25, true},
        {"dot 25 at 760 points", 760, 25, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Points winnings = pts(c.winnings);
        EXPECT_EQ(dotPassed(board::dotLeft(c.dot), moverLeft(winnings), moverWidth(winnings)), c.passed);
    }
}

TEST(TrialDisplay, BarWidth)
{
    struct Case {
        const char *name;
        double units;
        float width;
    } const cases[] = {
        {"after a first left trial", 149, 6258.0f},
        {"after a first right trial", 148.8, 6249.6f},
        {"a residue above 0 keeps its tiny width", 1e-13, 4.2e-12f},
        {"no units left", 0, 1.0f},
        {"overdrawn", -1.0, 1.0f},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FLOAT_EQ(barWidth(c.units), c.width);
    }
}

TEST(TrialDisplay, WinningsColour)
{
    struct Case {
        const char *name;
        Points winnings;
        Rgb colour;
    } const cases[] = {
        {"below 0", pts(-0.1), {255, 0, 0}},
        {"0", Points{}, {0, 0, 0}},
        {"above 0", pts(0.1), {0, 0, 255}},
        {"a whole game", pts(760), {0, 0, 255}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(winningsColour(c.winnings), c.colour);
    }
}
