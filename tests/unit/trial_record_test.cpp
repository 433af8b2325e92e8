#include "rules/experiment.h"
#include "rules/game/trial_record.h"

#include <gtest/gtest.h>

using namespace ct;

namespace {
TrialResult trialOf(int trial, int choice, double payoff, double winnings, double historyLeft, double unitsBefore)
{
    TrialResult t;
    t.trial = static_cast<std::int16_t>(trial);
    t.choice = choice;
    t.payoff = Points::fromDouble(payoff);
    t.winnings = Points::fromDouble(winnings);
    t.historyLeft = historyLeft;
    t.unitsBefore = unitsBefore;
    return t;
}
} // namespace

TEST(TrialRecord, HeaderLine)
{
    EXPECT_EQ(kHeaderLine, "Trial,Choice,PayOff,winnings,historyLeft,GameUnitsRemaining\r\n");
}

TEST(TrialRecord, DataLinesByteForByte)
{
    struct Case {
        const char *name;
        TrialResult trial;
        const char *line;
    } const cases[] = {
        {"first trial, left option", trialOf(1, 1, 5, 5, 1, 150), " 1 , 1 , 5 , 5 , 1 , 150 ,\r\n"},
        {"first trial, right option", trialOf(1, 0, 10, 10, 0.9, 150), " 1 , 0 , 10 , 10 , .9 , 150 ,\r\n"},
        {"second trial, right again", trialOf(2, 0, 10, 20, 0.8, 148.8), " 2 , 0 , 10 , 20 , .8 , 148.8 ,\r\n"},
        {"last trial of all-left", trialOf(150, 1, 5, 750, 1, 1), " 150 , 1 , 5 , 750 , 1 , 1 ,\r\n"},
        {"reduced last trial", trialOf(149, 0, 4.4, 759.4, 0.6, 0.8), " 149 , 0 , 4.4 , 759.4 , .6 , .8 ,\r\n"},
        {"share of 0", trialOf(10, 0, 10, 100, 0, 129), " 10 , 0 , 10 , 100 , 0 , 129 ,\r\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(dataLine(c.trial), c.line);
    }
}
