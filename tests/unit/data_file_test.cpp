#include "rules/experiment.h"
#include "rules/game/data_file.h"
#include "rules/game/simulated_participant.h"
#include "rules/game/trial_record.h"
#include "rules/number_text.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace ct;

namespace {

std::string run(const char *name, std::uint64_t seed = 0, const char *choices = "")
{
    const auto strategy = strategyNamed(name, seed, choices);
    EXPECT_TRUE(strategy.has_value()) << name;
    const SimulatedRun simulated = simulate(*strategy);
    EXPECT_TRUE(simulated.ok()) << simulated.error.message;
    return simulated.bytes;
}

std::string header()
{
    return std::string(kHeaderLine);
}

// The eight games of the random strategy with seed 42.
const std::vector<std::string> kRandom42Points = {"590", "585.5", "617.3", "596.2", "570", "574.1", "587.5", "578.2"};

} // namespace

TEST(SimulatedParticipant, StrategiesGiveTheirKnownScores)
{
    struct Case {
        const char *name;
        std::uint64_t seed;
        const char *choices;
        std::vector<std::string> points;
        std::size_t lines;
    } const cases[] = {
        {"left", 0, "", std::vector<std::string>(8, "750"), 1 + 8 * 150},
        {"right", 0, "", std::vector<std::string>(8, "530"), 1 + 8 * 53},
        {"best", 0, "", std::vector<std::string>(8, "760"), 1 + 8 * 148},
        {"random", 42, "", kRandom42Points, 640},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const SimulatedRun simulated = simulate(*strategyNamed(c.name, c.seed, c.choices));
        ASSERT_TRUE(simulated.ok());
        EXPECT_EQ(simulated.gamePoints, c.points);
        EXPECT_EQ(static_cast<std::size_t>(std::count(simulated.bytes.begin(), simulated.bytes.end(), '\n')), c.lines);
    }
}

TEST(SimulatedParticipant, ChoicesAreConsumedInOrder)
{
    // One game of 145 left then 4 right, seven all-left games.
    std::string choices = std::string(145, 'L') + "RRRR";
    for (int g = 0; g < 7; ++g)
        choices += std::string(150, 'L');
    const SimulatedRun simulated = simulate(*strategyNamed("choices", 0, choices));
    ASSERT_TRUE(simulated.ok()) << simulated.error.message;
    EXPECT_EQ(simulated.gamePoints.front(), "759.4");
    EXPECT_NE(simulated.bytes.find(" 149 , 0 , 4.4 , 759.4 , .6 , .8 ,\r\n 1 , 1 , 5 , 5 , 1 , 150 ,\r\n"),
              std::string::npos);

    EXPECT_FALSE(simulate(*strategyNamed("choices", 0, "LLR")).ok());
    const SimulatedRun leftOver = simulate(*strategyNamed("choices", 0, choices + "L"));
    EXPECT_FALSE(leftOver.ok());
    EXPECT_EQ(leftOver.error.message, "1 choices are left over after game 8");
    EXPECT_FALSE(strategyNamed("choices", 0, "LXR").has_value());
    EXPECT_FALSE(strategyNamed("sometimes", 0, "").has_value());
}

TEST(DataFile, TwoRegistrationsAndAnIncompleteGame)
{
    // First registration: one game and three trials of a second game (the
    // program was ended); then the same ID registered again.
    const std::string first = run("best");
    const auto cut = first.find("\r\n 4 , ", first.find("\r\n 148 , ") + 1);
    const std::string partial = first.substr(0, cut + 2);
    const DataFileResult read = readDataFile(partial + run("left"));
    ASSERT_TRUE(read.ok()) << read.error.line << ": " << read.error.message;
    EXPECT_FALSE(read.file.lineFeedsOnly);
    ASSERT_EQ(read.file.registrations.size(), 2u);
    const auto &interrupted = read.file.registrations[0].games;
    ASSERT_EQ(interrupted.size(), 2u);
    EXPECT_TRUE(interrupted[0].complete);
    EXPECT_EQ(interrupted[0].points(), Points::fromWhole(760));
    EXPECT_FALSE(interrupted[1].complete);
    EXPECT_EQ(interrupted[1].trials.size(), 3u);
    EXPECT_EQ(read.file.registrations[1].headerLine, 1 + 148 + 3 + 1);
    EXPECT_EQ(read.file.registrations[1].games.size(), 8u);
}

TEST(DataFile, RefusesMalformedFilesWithTheLine)
{
    const std::string h = header();
    const std::string t1 = " 1 , 1 , 5 , 5 , 1 , 150 ,\r\n";
    const std::string t2 = " 2 , 1 , 5 , 10 , 1 , 149 ,\r\n";
    struct Case {
        const char *name;
        std::string bytes;
        int line;
        const char *error;
    } const cases[] = {
        {"LF after CR LF", h + " 1 , 1 , 5 , 5 , 1 , 150 ,\n", 2,
         "the line ends with LF alone, not with CR LF like the lines before it"},
        {"CR LF after LF", "Trial,Choice,PayOff,winnings,historyLeft,GameUnitsRemaining\n" + t1, 2,
         "the line ends with CR LF, the lines before it with LF alone"},
        {"LF file ending in other bytes", "Trial,Choice,PayOff,winnings,historyLeft,GameUnitsRemaining\n1", 2,
         "the line does not end with LF (the file may have been cut off)"},
        {"trial of many 9s", h + " 99999999999999999999999999 , 1 , 5 , 5 , 1 , 150 ,\r\n", 2,
         "the Trial column holds a number that does not fit it: \" 99999999999999999999999999\""},
        {"choice too large", h + " 1 , 4294967297 , 5 , 5 , 1 , 150 ,\r\n", 2,
         "the Choice column holds a number that does not fit it: \" 4294967297\""},
        {"winnings of many 9s", h + " 1 , 1 , 5 , 999999999999999999999 , 1 , 150 ,\r\n", 2,
         "the winnings column holds a number that does not fit it: \" 999999999999999999999\""},
        {"units beyond a double", h + " 1 , 1 , 5 , 5 , 1 , 1" + std::string(400, '0') + " ,\r\n", 2,
         "the GameUnitsRemaining column holds a number that does not fit it: \" "
         "100000000000000000000000000000000000000...\""},
        {"data after a cut line", h + t1 + " 2 , 1 , 5\r\n" + t2, 4,
         "a data line after line 3, which a crash cut off: only a new registration's header line can follow that"},
        {"data before the header", t1, 1, "a data line before the first header line"},
        {"edited winnings", h + t1 + " 2 , 1 , 5 , 11 , 1 , 149 ,\r\n", 3,
         "numbers that do not follow from the choices (expected \" 2 , 1 , 5 , 10 , 1 , 149 ,\")"},
        {"negative payoff", h + " 1 , 1 ,-5 , 5 , 1 , 150 ,\r\n", 2,
         "numbers that do not follow from the choices (expected \" 1 , 1 , 5 , 5 , 1 , 150 ,\")"},
        {"negative winnings", h + t1 + " 2 , 1 , 5 ,-10 , 1 , 149 ,\r\n", 3,
         "numbers that do not follow from the choices (expected \" 2 , 1 , 5 , 10 , 1 , 149 ,\")"},
        {"skipped trial", h + t1 + " 3 , 1 , 5 , 10 , 1 , 149 ,\r\n", 3, "trial 3 where trial 2 was expected"},
        {"game not starting at 1", h + t1 + h + t2, 4, "trial 2 where a game should start with trial 1"},
        {"trial 0 first", h + " 0 , 0 , 10 , 10 , 0 , 150 ,\r\n", 2, "trial 0 where a game should start with trial 1"},
        {"new game too early", h + t1 + t1, 3, "a new game starts before the previous one used up its units"},
        {"seven numbers", h + " 1 , 1 , 5 , 5 , 1 , 150 , 1 ,\r\n", 2,
         "not a data line of this program: \" 1 , 1 , 5 , 5 , 1 , 150 , 1 ,\""},
        {"missing spaces", h + "1,1,5,5,1,150,\r\n", 2, "not a data line of this program: \"1,1,5,5,1,150,\""},
        {"a choice of 2", h + " 1 , 2 , 5 , 5 , 1 , 150 ,\r\n", 2,
         "a choice other than 1 (left option) or 0 (right option)"},
        {"other header", "Trial;Choice\r\n", 1, "not a data line of this program: \"Trial;Choice\""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const DataFileResult read = readDataFile(c.bytes);
        EXPECT_FALSE(read.ok());
        EXPECT_EQ(read.error.line, c.line);
        EXPECT_EQ(read.error.message, c.error);
    }
}

TEST(DataFile, ReadsAFileWhoseLineEndsWereChangedToLineFeeds)
{
    std::string bytes = run("random", 42);
    for (auto at = bytes.find("\r\n"); at != std::string::npos; at = bytes.find("\r\n", at))
        bytes.erase(at, 1);
    const DataFileResult lf = readDataFile(bytes);
    ASSERT_TRUE(lf.ok()) << lf.error.line << ": " << lf.error.message;
    EXPECT_TRUE(lf.file.lineFeedsOnly);
    ASSERT_EQ(lf.file.registrations.size(), 1u);
    std::vector<std::string> points;
    for (const RecordedGame &game : lf.file.registrations[0].games)
        points.push_back(plainText(game.points()));
    EXPECT_EQ(points, kRandom42Points);
}

TEST(DataFile, EmptyAndHeaderOnlyFiles)
{
    const DataFileResult empty = readDataFile("");
    EXPECT_TRUE(empty.ok());
    EXPECT_TRUE(empty.file.registrations.empty());
    const DataFileResult headerOnly = readDataFile(header() + header());
    ASSERT_TRUE(headerOnly.ok());
    EXPECT_EQ(headerOnly.file.registrations.size(), 2u);
    EXPECT_TRUE(headerOnly.file.registrations[0].games.empty());
}

// What a power cut leaves: lines cut off or holding NUL bytes are named and
// skipped, and the rest is read.
TEST(DataFile, ReadsWhatACrashLeft)
{
    const std::string h = header();
    const std::string t1 = " 1 , 1 , 5 , 5 , 1 , 150 ,\r\n";
    const std::string t2 = " 2 , 1 , 5 , 10 , 1 , 149 ,";
    struct Case {
        const char *name;
        std::string bytes;
        std::vector<int> cut;
        bool nul;
        std::size_t registrations;
    } const cases[] = {
        {"trial cut at the end", h + t1 + " 2 , 1 , 5", {3}, false, 1},
        {"trial cut before its LF", h + t1 + t2 + "\r", {3}, false, 1},
        {"header cut, nothing before", "Trial,Choice,Pay", {1}, false, 0},
        {"trial cut, ended, registered again", h + t1 + " 2 , 1 , 5\r\n" + h + t1, {3}, false, 2},
        {"header cut at its CR, ended", h + t1 + h.substr(0, h.size() - 1) + "\r\n" + h + t1, {3}, false, 2},
        {"NUL bytes, ended", h + t1 + std::string(12, '\0') + "\r\n" + h + t1, {3}, true, 2},
        {"NUL bytes after a whole line", h + t1 + std::string(20, '\0'), {3}, true, 1},
        {"two crashes in a row", h + " 1 , 1 , 5 , 5\r\nTrial,Cho\r\n" + h + t1, {2, 3}, false, 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const DataFileResult read = readDataFile(c.bytes);
        ASSERT_TRUE(read.ok()) << read.error.line << ": " << read.error.message;
        std::vector<int> cut;
        for (const CutLine &line : read.file.cutLines) {
            cut.push_back(line.line);
            EXPECT_EQ(line.nulBytes, c.nul);
        }
        EXPECT_EQ(cut, c.cut);
        EXPECT_EQ(read.file.registrations.size(), c.registrations);
        if (c.registrations > 0) {
            ASSERT_EQ(read.file.registrations.back().games.size(), 1u);
            EXPECT_EQ(read.file.registrations.back().games[0].trials.size(), 1u);
        }
    }
}

// A data file deleted mid-game gets a new header and goes on: the game that
// starts part-way is read and checked as far as the lost trials allow.
TEST(DataFile, AFileStartedAgainMidGame)
{
    const std::string full = run("random", 11);
    const DataFileResult whole = readDataFile(full);
    ASSERT_TRUE(whole.ok());
    const auto &game1 = whole.file.registrations[0].games[0];
    for (const int lost : {1, 4, 9, 20}) {
        SCOPED_TRACE(lost);
        // The header, then the lines from trial lost + 1 on.
        std::size_t from = header().size();
        for (int i = 0; i < lost; ++i)
            from = full.find('\n', from) + 1;
        const std::string restarted = header() + full.substr(from);
        const DataFileResult read = readDataFile(restarted);
        ASSERT_TRUE(read.ok()) << read.error.line << ": " << read.error.message;
        const Registration &r = read.file.registrations[0];
        EXPECT_EQ(r.restartedAtTrial, lost + 1);
        ASSERT_EQ(r.games.size(), 8u);
        EXPECT_TRUE(r.games[0].complete);
        EXPECT_EQ(r.games[0].points(), game1.points());
        EXPECT_EQ(r.games[0].trials.size(), game1.trials.size() - std::size_t(lost));

        // A share of left choices that no lost choices can give is refused.
        std::string edited = restarted;
        const std::size_t line = edited.find('\n', header().size()) + 1; // the second trial read
        const std::size_t share = edited.find(',',
                                              edited.find(',', edited.find(',', edited.find(',', line) + 1) + 1) + 1);
        const char *replacement = edited.compare(share, 5, " 1 , ") == 0 ? " 0 , " : " 1 , ";
        const std::size_t end = edited.find(',', share + 1);
        edited.replace(share, end + 1 - share, std::string(",") + replacement);
        EXPECT_FALSE(readDataFile(edited).ok()) << edited.substr(line, 40);
    }

    // Between two trials the share moves by the choice that comes in and the
    // one that drops out of the ten: by 0.1 at most.
    const std::string t21 = " 21 , 1 , 5 , 105 , .5 , 120 ,\r\n";
    // A game started part-way with more units than its trials before could
    // leave is no game of this program.
    EXPECT_EQ(readDataFile(header() + " 21 , 1 , 5 , 105 , .5 , 131 ,\r\n").error.message,
              "trial 21 where a game should start with trial 1");
    for (const auto &[share, ok] : {std::pair{".4", true}, {".5", true}, {".3", false}, {".7", false}}) {
        const DataFileResult read = readDataFile(header() + t21 + " 22 , 0 , 10 , 115 , " + share + " , 118 ,\r\n");
        EXPECT_EQ(read.ok(), ok) << share << ": " << read.error.message;
    }
}
