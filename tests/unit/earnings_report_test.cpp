#include "qt_printing.h"
#include "rules/experiment.h"
#include "rules/feedback/earnings_report.h"
#include "rules/game/simulated_participant.h"
#include "rules/game/trial_record.h"

#include <gtest/gtest.h>

using namespace ct;

namespace {

std::string played(const char *name, const std::string &choices = {})
{
    const SimulatedRun run = simulate(*strategyNamed(name, 0, choices));
    EXPECT_TRUE(run.ok()) << run.error.message;
    return run.bytes;
}

DataFile read(const std::string &bytes)
{
    const DataFileResult result = readDataFile(bytes);
    EXPECT_TRUE(result.ok()) << result.error.line << ": " << result.error.message;
    return result.file;
}

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

} // namespace

TEST(EarningsReport, EightGamesAndASecondRegistrationWithAnIncompleteGame)
{
    // Registration 1: eight best games. Registration 2: one all-right game and
    // five trials of the next, then the program was ended.
    std::string second = played("right");
    const auto cut = second.find("\r\n 6 , ", second.find("\r\n 53 , ") + 1);
    second.resize(cut + 2);
    const DataFile file = read(played("best") + second + std::string(kHeaderLine) + " 1 , 1 , 5 , 5 , 1 , 150 ,\r\n");

    EXPECT_EQ(earningsReport(QStringLiteral("7.csv"), file, {50, QStringLiteral("$")}, kEnglish),
              QStringLiteral("7.csv: exchange rate 50 per 10000 points\n"
                             "Registration 1 (header on line 1)\n"
                             "  Game 1: 760 points, $3.80\n"
                             "  Game 2: 760 points, $3.80\n"
                             "  Game 3: 760 points, $3.80\n"
                             "  Game 4: 760 points, $3.80\n"
                             "  Game 5: 760 points, $3.80\n"
                             "  Game 6: 760 points, $3.80\n"
                             "  Game 7: 760 points, $3.80\n"
                             "  Game 8: 760 points, $3.80\n"
                             "  Total: 6080 points, $30.40\n"
                             "Registration 2 (header on line 1186)\n"
                             "  Game 1: 530 points, $2.65\n"
                             "  Game 2: 50 points after 5 trials, INCOMPLETE: the program ended during this game; "
                             "not counted\n"
                             "  Total so far: 530 points, $2.65 (1 of 8 games finished)\n"
                             "Registration 3 (header on line 1245)\n"
                             "  Game 1: 5 points after 1 trial, INCOMPLETE: the program ended during this game; "
                             "not counted\n"
                             "  Total so far: 0 points, $0.00 (0 of 8 games finished)\n"));
}

TEST(EarningsReport, TotalComesFromThePointsNotFromTheAmountsShown)
{
    // Eight games of 750 points at 25 per 10000: 1.875, shown as 1.88 each,
    // but 15.00 in total, not the 15.04 the shown amounts add up to.
    std::string choices;
    for (int g = 0; g < 8; ++g)
        choices += std::string(150, 'L');
    const DataFile file = read(played("choices", choices));
    const QString report = earningsReport(QStringLiteral("1.csv"), file, {25, QString()}, kEnglish);
    EXPECT_TRUE(report.contains(QStringLiteral("  Game 8: 750 points, 1.88\n"))) << report.toStdString();
    EXPECT_TRUE(report.endsWith(QStringLiteral("  Total: 6000 points, 15.00\n"))) << report.toStdString();
}

TEST(EarningsReport, NoRateMeansPointsOnlyAndTheUsersDecimalSeparator)
{
    const DataFile file = read(played("choices", std::string(145, 'L') + "RRRR" + std::string(7 * 150, 'L')));
    const QString report = earningsReport(QStringLiteral("3.csv"), file, {}, QLocale(QLocale::German));
    EXPECT_TRUE(report.startsWith(QStringLiteral("3.csv: no exchange rate set, points only\n")))
        << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("  Game 1: 759,4 points\n"))) << report.toStdString();
    EXPECT_TRUE(report.endsWith(QStringLiteral("  Total: 6009,4 points\n"))) << report.toStdString();
}

TEST(EarningsReport, EmptyRegistrations)
{
    EXPECT_EQ(earningsReport(QStringLiteral("5.csv"), {}, {}, kEnglish),
              QStringLiteral("5.csv: no exchange rate set, points only\nno registrations\n"));
    const DataFile headerOnly = read("Trial,Choice,PayOff,winnings,historyLeft,GameUnitsRemaining\r\n");
    EXPECT_TRUE(earningsReport(QStringLiteral("5.csv"), headerOnly, {}, kEnglish)
                    .endsWith(QStringLiteral("Registration 1 (header on line 1)\n  no trials\n")));
}

TEST(EarningsReport, RateIsWrittenAsASettingsFileHoldsIt)
{
    struct Case {
        double rate;
        QLocale locale;
        const char *text;
    } const cases[] = {
        {1234.5, kEnglish, "1234.5"},
        {1e9, kEnglish, "1000000000"},
        {12.5, QLocale(QLocale::German, QLocale::Germany), "12,5"},
        {0.0001, kEnglish, "0.0001"},
    };
    for (const auto &c : cases)
        EXPECT_TRUE(
            earningsReport(QStringLiteral("1.csv"), {}, {c.rate, QString()}, c.locale)
                .startsWith(QStringLiteral("1.csv: exchange rate %1 per 10000 points\n").arg(QLatin1String(c.text))))
            << c.text;
}
