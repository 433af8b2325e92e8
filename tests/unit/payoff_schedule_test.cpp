#include "choice_runs.h"
#include "rules/game/payoff_schedule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <tuple>
#include <vector>

using namespace ct;

namespace {

struct Game {
    PayoffSchedule schedule;
    std::int16_t trial = 1;
    Points winnings;
    std::vector<TrialResult> trials;

    // Plays until the choices run out or the game ends.
    explicit Game(const std::string &runs)
    {
        for (char c : expandRuns(runs)) {
            trials.push_back(playChoice(schedule, trial, winnings, c == 'L'));
            if (trials.back().gameOver)
                break;
        }
    }
    const TrialResult &last() const { return trials.back(); }
};

Points pts(double value)
{
    return Points::fromDouble(value);
}

} // namespace

TEST(PayoffSchedule, AllRightCostsThreeFromTheEleventhTrialAndEndsAfter53)
{
    const Game game("R60");
    ASSERT_EQ(game.trials.size(), 53u);
    for (std::size_t i = 10; i < 53; ++i)
        EXPECT_EQ(game.trials[i].unitsLost, 3.0);
    EXPECT_TRUE(game.last().gameOver);
    EXPECT_EQ(game.last().winnings, pts(530));
    EXPECT_EQ(game.last().payoff, pts(10)) << "the last trial uses the units exactly";
}

TEST(PayoffSchedule, AllLeftEndsAfter150TrialsWith750)
{
    const Game game("L200");
    ASSERT_EQ(game.trials.size(), 150u);
    EXPECT_EQ(game.last().winnings, pts(750));
    EXPECT_EQ(game.schedule.gameUnits(), 0.0);
    for (const auto &t : game.trials)
        EXPECT_EQ(t.unitsLost, 1.0);
}

TEST(PayoffSchedule, LastTrials)
{
    struct Case {
        const char *name;
        const char *runs;
        std::size_t trials;
        int choice;
        double payoff, winnings, historyLeft, unitsBefore;
    } const cases[] = {
        {"best game, 144 + 4", "L144 R4", 148, 0, 10, 760, 0.6, 1.8},
        {"best game, 142 + 5", "L142 R5", 147, 0, 10, 760, 0.5, 2.0},
        {"reduced last trial", "L145 R4", 149, 0, 4.4, 759.4, 0.6, 0.8},
        {"exact half rounds to even", "L123 R10 L3", 136, 1, 1.2, 726.2, 0.3, 0.6},
        {"just below a half rounds down", "L116 R9 L7 R1", 133, 0, 3.7, 708.7, 0.7, 0.6},
        {"units used exactly, residue above 0", "L129 R10", 139, 0, 10, 745, 0.0, 3.0},
        {"units used exactly, residue above 0, 0.1 share", "L132 R9", 141, 0, 10, 750, 0.1, 2.8},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Game game(c.runs);
        ASSERT_EQ(game.trials.size(), c.trials);
        const TrialResult &last = game.last();
        EXPECT_TRUE(last.gameOver);
        EXPECT_EQ(last.trial, static_cast<std::int16_t>(c.trials));
        EXPECT_EQ(last.choice, c.choice);
        EXPECT_EQ(last.payoff, pts(c.payoff));
        EXPECT_EQ(last.winnings, pts(c.winnings));
        EXPECT_EQ(last.historyLeft, c.historyLeft);
        EXPECT_EQ(last.unitsBefore, c.unitsBefore);
    }
}

TEST(PayoffSchedule, ReducedTrialDividesBeforeMultiplying)
{
    // 0.6 units left and a cost of 1.6: 0.6 / 1.6 * 10 lies just below 3.75 and
    // rounds to 3.7; multiplying first would give exactly 3.75 and then 3.8.
    const Game game("L116 R9 L7 R1");
    EXPECT_EQ(game.schedule.payoffRight(), 3.7);
    EXPECT_EQ(game.schedule.payoffLeft(), 1.9);
    EXPECT_NEAR(game.schedule.gameUnits(), -1.0, 1e-9);
}

TEST(PayoffSchedule, HistoryWindowSlidesOverTheLastTenTrials)
{
    // Once ten trials are played the window holds real trials only (before
    // that, see CostAndPauseForEveryShare).
    const Game game("R10 L10");
    EXPECT_EQ(game.trials[10].historyLeft, 0.1) << "one left among the last ten";
    EXPECT_EQ(game.trials[19].historyLeft, 1.0);
    EXPECT_EQ(game.schedule.leftShare(2), 0.9);
}

TEST(PayoffSchedule, NoGameExceeds760Points)
{
    // Exhaustive search over every sequence of choices, through the real
    // schedule. Games that reach the same last ten choices (positions before
    // trial 1 counting as left-option choices) with the same units left
    // continue alike, so each such state is expanded once. Units are multiples
    // of 0.2 up to floating-point residue; they are compared in thousandths.
    using Key = std::tuple<unsigned, std::int64_t, int>;
    std::map<Key, Points> best;
    struct Searcher {
        std::map<Key, Points> &best;
        std::int64_t expanded = 0;
        Points maxFrom(const PayoffSchedule &schedule, std::int16_t trial, unsigned window)
        {
            const Key key{window, std::llround(schedule.gameUnits() * 1000.0), std::min<int>(trial, 11)};
            if (auto it = best.find(key); it != best.end())
                return it->second;
            ++expanded;
            Points result = Points::fromUnits(std::numeric_limits<std::int64_t>::min() / 2);
            for (bool left : {true, false}) {
                PayoffSchedule next = schedule;
                std::int16_t t = trial;
                Points gained;
                const TrialResult r = playChoice(next, t, gained, left);
                const unsigned nextWindow = ((window << 1) | (left ? 1u : 0u)) & 0x3FFu;
                const Points total = r.gameOver ? gained : gained + maxFrom(next, t, nextWindow);
                result = std::max(result, total);
            }
            best.emplace(key, result);
            return result;
        }
    } searcher{best};
    const Points maximum = searcher.maxFrom(PayoffSchedule{}, 1, 0x3FF);
    EXPECT_EQ(maximum, pts(760));
    EXPECT_GT(searcher.expanded, 1000) << "the search covered the state space";
}

TEST(PayoffSchedule, CostAndPauseForEveryShare)
{
    // k right-option choices at the start of a game leave a share of
    // 1 - k/10; the cost is 1 to 3 units and the pause 0.33 s per unit.
    struct Case {
        const char *runs;
        double historyLeft, cost, unitsLeft, pause, payoff;
    } const cases[] = {
        {"L1", 1.0, 1.0, 149.0, 0.33, 5},   {"R1", 0.9, 1.2, 148.8, 0.396, 10}, {"R1 L1", 0.9, 1.2, 147.6, 0.396, 5},
        {"R2", 0.8, 1.4, 147.4, 0.462, 10}, {"R3", 0.7, 1.6, 145.8, 0.528, 10}, {"R4", 0.6, 1.8, 144.0, 0.594, 10},
        {"R5", 0.5, 2.0, 142.0, 0.66, 10},  {"R6", 0.4, 2.2, 139.8, 0.726, 10}, {"R7", 0.3, 2.4, 137.4, 0.792, 10},
        {"R8", 0.2, 2.6, 134.8, 0.858, 10}, {"R9", 0.1, 2.8, 132.0, 0.924, 10}, {"R10", 0.0, 3.0, 129.0, 0.99, 10},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.runs);
        const Game game(c.runs);
        EXPECT_EQ(game.schedule.historyLeft(), c.historyLeft);
        EXPECT_EQ(game.last().historyLeft, c.historyLeft);
        EXPECT_NEAR(game.schedule.gameUnitsLost(), c.cost, 1e-12);
        EXPECT_NEAR(game.schedule.gameUnits(), c.unitsLeft, 1e-9);
        EXPECT_EQ(game.last().payoff, pts(c.payoff));
        EXPECT_FALSE(game.last().gameOver);
        // The pause ends on the clock; it starts wherever the clock stands.
        for (double now : {0.0, 1000.0, 86399.5}) {
            EXPECT_NEAR(game.schedule.pauseEnd(now) - now, c.pause, 1e-9) << "clock at " << now;
            EXPECT_GT(game.schedule.pauseEnd(now), now);
        }
    }
}
