#include "qt_printing.h"
#include "rules/feedback/bar_chart.h"
#include "rules/feedback/feedback_texts.h"
#include "rules/feedback/money.h"
#include "rules/feedback/score_store.h"

#include <gtest/gtest.h>

#include <vector>

using namespace ct;

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedKingdom);
const QLocale kGerman(QLocale::German, QLocale::Germany);

Points pts(double value)
{
    return Points::fromDouble(value);
}

// The state after the given games have been recorded one by one.
Module1 afterGames(const std::vector<double> &scores)
{
    Module1 state;
    for (double score : scores) {
        state.winnings = pts(score);
        EXPECT_TRUE(RecordFinishedGame(state));
    }
    return state;
}

} // namespace

TEST(RecordFinishedGame, StoresEachGameInItsSlotAndAddsUpThePoints)
{
    Module1 state;
    state.winnings = pts(500);
    ASSERT_TRUE(RecordFinishedGame(state));
    EXPECT_EQ(state.gameNumber, 1);
    EXPECT_EQ(state.gameScores[1], pts(500));
    EXPECT_EQ(state.totalEarnings, 500.0);

    state.winnings = pts(759.4);
    ASSERT_TRUE(RecordFinishedGame(state));
    EXPECT_EQ(state.gameNumber, 2);
    EXPECT_EQ(state.gameScores[1], pts(500));
    EXPECT_EQ(state.gameScores[2], pts(759.4));
    EXPECT_EQ(state.totalEarnings, 1259.4);
    EXPECT_FALSE(state.gameScores[0].has_value());
    EXPECT_FALSE(state.gameScores[3].has_value());
    EXPECT_EQ(state.winnings, pts(759.4)); // only read
}

TEST(RecordFinishedGame, RefusesWhenNoSlotIsLeft)
{
    Module1 state = afterGames({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    EXPECT_EQ(state.gameNumber, 10);
    const double total = state.totalEarnings;
    state.winnings = pts(11);
    EXPECT_FALSE(RecordFinishedGame(state));
    EXPECT_EQ(state.gameNumber, 10);
    EXPECT_EQ(state.totalEarnings, total);
    EXPECT_EQ(gameScore(state, 10), pts(10));
    EXPECT_EQ(gameScore(state, 11), Points{});
    EXPECT_EQ(gameScore(state, 0), Points{});
}

TEST(FormatMoney, PatternWithHalvesAwayFromZeroAndTheUsersSeparator)
{
    struct Case {
        double amount;
        const char *currency;
        QLocale locale;
        QString text;
    } const cases[] = {
        {3.8, "", kEnglish, "3.80"},
        {3.8, "$", kEnglish, "$3.80"},
        {0.8325, "", kEnglish, "0.83"},
        {6.66, "EUR ", kEnglish, "EUR 6.66"},
        {1.005, "", kEnglish, "1.01"},
        {1.005, "", kGerman, "1,01"},
        {2.675, "", kEnglish, "2.68"},
        {0.004, "", kEnglish, "0.00"},
        {0, "$", kEnglish, "$0.00"},
        {12, "", kEnglish, "12.00"},
        {1234567.5, "", kEnglish, "1234567.50"},
        {1234567.5, "", kGerman, "1234567,50"},
        {-1.005, "", kEnglish, "-1.01"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(FormatMoney(c.amount, QString::fromUtf8(c.currency), c.locale), c.text);
    }
}

TEST(GameMoney, PointsTimesRateOverTenThousand)
{
    EXPECT_EQ(FormatMoney(gameMoney(pts(760), 50), "", kEnglish), "3.80");
    EXPECT_EQ(FormatMoney(gameMoney(pts(333), 25), "", kEnglish), "0.83");
    EXPECT_EQ(FormatMoney(gameMoney(pts(759.4), 12.5), "", kEnglish), "0.95"); // 0.949250
    EXPECT_EQ(gameMoney(pts(760), 0), 0.0);
}

// With and without a rate: the feedback window test's money texts.
TEST(PointsMessage, DecimalsAndNothing)
{
    EXPECT_EQ(pointsMessage(pts(759.4), {50, "EUR"}, kGerman),
              "Well done, you got: 759,4 points! That's the equivalent of EUR3,80");
    EXPECT_EQ(pointsMessage(Points{}, {}, kEnglish), "Well done, you got: 0 points!");
}

TEST(CompareGames, SentenceColourAndFace)
{
    struct Case {
        double current;
        double last;
        QLocale locale;
        QString sentence;
        Rgb colour;
        Face face;
    } const cases[] = {
        // (More, less, the same: the feedback window test's comparison.)
        {0, 0, kEnglish, "That's exactly the same as you got last time. ", {0, 0, 0}, Face::Neutral},
        {700, 759.4, kGerman, "...But that's 59,4 points less than you got last time. ", {255, 0, 0}, Face::Wretched},
        {5.0001, 5, kEnglish, "That's 0.0001 points more than you got last time. ", {0, 255, 0}, Face::Happy},
        {530, 0, kEnglish, "That's 530 points more than you got last time. ", {0, 255, 0}, Face::Happy},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.sentence.toStdString());
        const Comparison comparison = compareGames(pts(c.current), pts(c.last), c.locale);
        EXPECT_EQ(comparison.sentence, c.sentence);
        EXPECT_EQ(comparison.colour, c.colour);
        EXPECT_EQ(comparison.face, c.face);
    }
}

TEST(MaximumRemark, AtAndBelow760)
{
    const QString best = "Well done! You got the maximum possible score of 760";
    const QString below = "Although remember, the maximum possible score is 760";
    EXPECT_EQ(maximumRemark(pts(760)), best);
    EXPECT_EQ(maximumRemark(pts(760.0001)), best);
    EXPECT_EQ(maximumRemark(pts(759.9999)), below);
    EXPECT_EQ(maximumRemark(pts(759.4)), below);
    EXPECT_EQ(maximumRemark(Points{}), below);
}

TEST(FinalEarningsText, ComesFromTheTotalPoints)
{
    Module1 state = afterGames({333, 333, 333, 333, 333, 333, 333, 333});
    const Settings settings{25, ""};
    // Each game shows 0.83; their sum would be 6.64.
    const QString text = "That is the end of the Experiment. Thanks for taking part! You earned 6.66 during the "
                         "experiment. Please do not exit the program until the experimenter has noted the amount";
    EXPECT_EQ(FinalEarningsText(state, settings, kEnglish), text);
    EXPECT_EQ(state.totalEarnings, 6.66);
    // Asked again (a repaint, a second window), the money is not converted twice.
    EXPECT_EQ(FinalEarningsText(state, settings, kEnglish), text);
    EXPECT_EQ(state.totalEarnings, 6.66);
}

TEST(FinalEarningsText, CurrencyAndSeparator)
{
    Module1 state = afterGames({700, 759.4});
    EXPECT_EQ(FinalEarningsText(state, {50, "EUR "}, kGerman),
              "That is the end of the Experiment. Thanks for taking part! You earned EUR 7,30 during the experiment. "
              "Please do not exit the program until the experimenter has noted the amount");
}

TEST(BarChart, HeightIsTwoPointNineTwipsPerPointOnTheBaseLine)
{
    struct Case {
        double points;
        float height;
        float top;
    } const cases[] = {
        {760, 2204.0f, 4891.0f}, {0, 0.0f, 7095.0f},      {5, 14.5f, 7080.5f},
        {333, 965.7f, 6129.3f},  {500, 1450.0f, 5645.0f},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.points);
        EXPECT_EQ(barHeight(pts(c.points)), c.height);
        EXPECT_EQ(barTop(barHeight(pts(c.points))), c.top);
    }
    // The top follows the height as read back, whatever it is.
    EXPECT_EQ(barTop(2205.0f), 4890.0f);
}

TEST(BarChart, FutureBarsHiddenAndDropsRed)
{
    struct Case {
        const char *name;
        std::vector<double> scores;
        const char *visible; // per bar, 1 shown
        const char *red;
        const char *sized;
    } const cases[] = {
        {"after game 1", {760}, "10000000", "00000000", "10000000"},
        {"500 400 600", {500, 400, 600}, "11100000", "01000000", "11100000"},
        {"700 650", {700, 650}, "11000000", "01000000", "11000000"},
        {"equal scores", {700, 700}, "11000000", "00000000", "11000000"},
        {"eight games", {100, 50, 50, 49.9, 760, 0, 0, 0.0001}, "11111111", "01010100", "11111111"},
        {"no game yet", {}, "10000000", "00000000", "00000000"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const auto looks = barLooks(afterGames(c.scores));
        for (int k = 0; k < kBarCount; ++k) {
            SCOPED_TRACE(k + 1);
            EXPECT_EQ(looks[std::size_t(k)].visible, c.visible[k] == '1');
            EXPECT_EQ(looks[std::size_t(k)].red, c.red[k] == '1');
            EXPECT_EQ(looks[std::size_t(k)].sized, c.sized[k] == '1');
        }
    }
}
