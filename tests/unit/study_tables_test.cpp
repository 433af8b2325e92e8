#include "rules/feedback/earnings_report.h"
#include "rules/game/simulated_participant.h"
#include "rules/game/trial_record.h"
#include "rules/session_record.h"
#include "tools/simulated_session.h"

#include <gtest/gtest.h>

using namespace ct;

namespace {

DataFile played(const std::string &bytes)
{
    const DataFileResult read = readDataFile(bytes);
    EXPECT_TRUE(read.ok()) << read.error.line << ": " << read.error.message;
    return read.file;
}

std::string eightGames(const char *strategy)
{
    return simulate(*strategyNamed(strategy, 0, "")).bytes;
}

SessionFacts::Choice choiceRow(const char *button, int option, std::optional<double> responseMs = {})
{
    SessionFacts::Choice choice;
    choice.button = button;
    choice.option = option;
    choice.responseMs = responseMs;
    return choice;
}

// A session record that matches every trial of `data`, at `rate` after every game.
SessionFacts matching(const DataFile &data, double rate)
{
    SessionFacts facts;
    for (int r = 1; r <= static_cast<int>(data.registrations.size()); ++r) {
        const auto &games = data.registrations[r - 1].games;
        for (int g = 1; g <= static_cast<int>(games.size()); ++g) {
            for (const RecordedTrial &t : games[g - 1].trials)
                facts.choices[{r, g, t.trial}] = choiceRow(t.choice == 1 ? "left" : "right", t.choice,
                                                           400.0 + t.trial + 0.5);
            if (games[g - 1].complete)
                facts.rates[{r, g}] = {rate, QStringLiteral("$")};
        }
    }
    return facts;
}

const std::string kHeader(kHeaderLine);
const std::string kTwoTrials = kHeader + " 1 , 1 , 5 , 5 , 1 , 150 ,\r\n 2 , 0 , 10 , 15 , .9 , 149 ,\r\n";

} // namespace

TEST(StudyTables, SessionCheckTellsACrashFromAMismatch)
{
    // Trial 1 took the left option, trial 2 the right one; the left option is
    // on the left button.
    const DataFile data = played(kTwoTrials + kTwoTrials);
    using Key = SessionFacts::TrialKey;
    const std::vector<Key> every = {{1, 1, 1}, {1, 1, 2}, {2, 1, 1}, {2, 1, 2}};
    struct Case {
        const char *name;
        std::vector<Key> rows;
        std::optional<Key> changed; // a row that says something else
        const char *button;         // ... this button
        int option;                 // ... and this option
        bool missingLast;
        bool mismatch;
        bool uncovered;
    } const cases[] = {
        {"every row", every, {}, "", 0, false, false, false},
        {"last row of each registration missing", {{1, 1, 1}, {2, 1, 1}}, {}, "", 0, true, false, false},
        {"a row in the middle missing", {{1, 1, 2}, {2, 1, 1}, {2, 1, 2}}, {}, "", 0, false, true, false},
        {"a row without a data line",
         {{1, 1, 1}, {1, 1, 2}, {2, 1, 1}, {2, 1, 2}, {2, 1, 3}},
         {},
         "",
         0,
         false,
         true,
         false},
        {"a record begun at the second registration", {{2, 1, 1}, {2, 1, 2}}, {}, "", 0, false, false, true},
        {"a row with the other option", every, Key{1, 1, 2}, "left", 1, false, true, false},
        {"a row with the button that did not carry the option", every, Key{2, 1, 1}, "right", 1, false, true, false},
        {"a row without its button", every, Key{2, 1, 1}, "", 1, false, true, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SessionFacts facts;
        for (int registration : {1, 2})
            facts.runs[registration].leftOptionButton = "left";
        for (const Key &key : c.rows) {
            const int option = std::get<2>(key) == 1 ? 1 : 0;
            facts.choices[key] = choiceRow(option == 1 ? "left" : "right", option);
        }
        if (c.changed)
            facts.choices[*c.changed] = choiceRow(c.button, c.option);
        const SessionCheck check = checkSession(data, facts);
        EXPECT_EQ(check.missingLastChoiceRow, c.missingLast);
        EXPECT_EQ(check.mismatch, c.mismatch);
        EXPECT_EQ(check.uncoveredRegistration, c.uncovered);
    }
}

TEST(StudyTables, EarningsReportTakesRatesAndTimesFromTheSessionRecord)
{
    // One all-right game (53 trials) at a rate of 60, two trials of the next;
    // the program stopped before the last choice row was written.
    std::string bytes = eightGames("right");
    bytes.resize(bytes.find("\r\n 3 , ", bytes.find("\r\n 53 , ") + 1) + 2);
    const DataFile data = played(bytes);
    SessionFacts session = matching(data, 60);
    session.choices.erase({1, 2, 2});
    session.endedEarly[1] = "closed_early";

    EXPECT_EQ(earningsReport(QStringLiteral("8.csv"), data, {50, QStringLiteral("$")},
                             QLocale(QLocale::English, QLocale::UnitedStates), &session)
                  .toStdString(),
              "8.csv: exchange rate as read at each feedback (from the session record)\n"
              "Note: the session record lacks the choice row of a registration's last trial: the program stopped after "
              "writing the trial's data line.\n"
              "Registration 1 (header on line 1)\n"
              "  Game 1: 530 points, $3.18 at 60 per 10000 points; response times median 427.5 ms, 401.5 to 453.5 ms\n"
              "  Game 2: 20 points after 2 trials, INCOMPLETE: the program ended during this game; not counted; "
              "response times median 401.5 ms, 401.5 to 401.5 ms\n"
              "  Total so far: 530 points, $3.18 (1 of 8 games finished)\n"
              "  The experimenter ended this registration early.\n");
}

TEST(SimulatedSession, EveryChoiceButTheGamesLastHasItsPause)
{
    // One all-left game: 150 choices of one unit each, 330 ms of pause after
    // each but the last, as the program writes them.
    const std::string rows = simulatedSessionRows(simulate(*strategyNamed("left", 0, ""), 1), 1, 5, {}, {});
    const session::ReadResult read = session::readSessionRecord(std::string(session::kHeader) + rows);
    ASSERT_TRUE(read.ok()) << read.error.message;
    std::vector<std::optional<double>> planned;
    for (const session::Row &row : read.rows)
        if (row.event == session::Event::Choice) {
            planned.push_back(row.pausePlannedMs);
            EXPECT_EQ(row.pauseActualMs, row.pausePlannedMs);
        }
    std::vector<std::optional<double>> expected(149, 330.0);
    expected.emplace_back();
    EXPECT_EQ(planned, expected);
}
