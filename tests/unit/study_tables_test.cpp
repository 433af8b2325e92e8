#include "rules/feedback/earnings_report.h"
#include "rules/game/simulated_participant.h"
#include "rules/game/trial_record.h"
#include "rules/session_record.h"
#include "tools/simulated_session.h"
#include "tools/study_tables.h"

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

// A session record that matches every trial of `data`, at `rate` after every game.
SessionFacts matching(const DataFile &data, double rate)
{
    SessionFacts facts;
    for (int r = 1; r <= static_cast<int>(data.registrations.size()); ++r) {
        const auto &games = data.registrations[r - 1].games;
        for (int g = 1; g <= static_cast<int>(games.size()); ++g) {
            for (const RecordedTrial &t : games[g - 1].trials)
                facts.choices[{r, g, t.trial}] = {t.trial % 2 ? "left" : "right", 400.0 + t.trial + 0.5};
            if (games[g - 1].complete)
                facts.rates[{r, g}] = {rate, QStringLiteral("$")};
        }
    }
    return facts;
}

const std::string kHeader(kHeaderLine);
const std::string kTwoTrials = kHeader + " 1 , 1 , 5 , 5 , 1 , 150 ,\r\n 2 , 0 , 10 , 15 , .9 , 149 ,\r\n";

} // namespace

TEST(StudyTables, TidyTableHasEveryTrialWithItsSessionColumns)
{
    // Participant 7 crashed after trial 2, before its choice row was written;
    // participant "a,b" has no session record.
    ParticipantData crashed{QStringLiteral("7"), QStringLiteral("7.csv"), played(kTwoTrials), SessionFacts{}};
    crashed.session->choices[{1, 1, 1}] = {"right", 812.5};
    const ParticipantData noRecord{
        QStringLiteral("a,b"), QStringLiteral("a,b.csv"), played(kHeader + " 1 , 1 , 5 , 5 , 1 , 150 ,\r\n"), {}};

    EXPECT_EQ(tidyTrialTable({crashed, noRecord}),
              "participant,registration,game,trial,choice,payoff,winnings,history_left,game_units_remaining,button,"
              "response_ms,complete\r\n"
              "7,1,1,1,1,5,5,1,150,right,812.5,FALSE\r\n"
              "7,1,1,2,0,10,15,0.9,149,NA,NA,FALSE\r\n"
              "\"a,b\",1,1,1,1,5,5,1,150,NA,NA,FALSE\r\n");
}

TEST(StudyTables, SessionCheckTellsACrashFromAMismatch)
{
    const DataFile data = played(kTwoTrials + kTwoTrials);
    struct Case {
        const char *name;
        std::vector<SessionFacts::TrialKey> rows;
        bool missingLast;
        bool mismatch;
        bool uncovered;
    } const cases[] = {
        {"every row", {{1, 1, 1}, {1, 1, 2}, {2, 1, 1}, {2, 1, 2}}, false, false, false},
        {"last row of each registration missing", {{1, 1, 1}, {2, 1, 1}}, true, false, false},
        {"a row in the middle missing", {{1, 1, 2}, {2, 1, 1}, {2, 1, 2}}, false, true, false},
        {"a row without a data line", {{1, 1, 1}, {1, 1, 2}, {2, 1, 1}, {2, 1, 2}, {2, 1, 3}}, false, true, false},
        {"a record begun at the second registration", {{2, 1, 1}, {2, 1, 2}}, false, false, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SessionFacts facts;
        for (const auto &key : c.rows)
            facts.choices[key] = {"left", 1.0};
        const SessionCheck check = checkSession(data, facts);
        EXPECT_EQ(check.missingLastChoiceRow, c.missingLast);
        EXPECT_EQ(check.mismatch, c.mismatch);
        EXPECT_EQ(check.uncoveredRegistration, c.uncovered);
    }
}

TEST(StudyTables, PaymentsUseTheRateInForceAndFlagWhatIsUnusual)
{
    const DataFile best = played(eightGames("best"));
    ParticipantData changedRate{QStringLiteral("2"), QStringLiteral("2.csv"), best, matching(best, 50)};
    changedRate.session->rates[{1, 8}] = {60, QStringLiteral("EUR")};

    // A first run cut in game 2 (the experimenter closed it), then a full run.
    std::string first = eightGames("right");
    first.resize(first.find("\r\n 3 , ", first.find("\r\n 53 , ") + 1) + 2);
    const DataFile twice = played(first + eightGames("left"));
    ParticipantData rerun{QStringLiteral("10"), QStringLiteral("10.csv"), twice, matching(twice, 25)};
    rerun.session->endedEarly[1] = "closed_early";

    const ParticipantData noRecord{QStringLiteral("3"), QStringLiteral("3.csv"), best, {}};
    const ParticipantData headerOnly{QStringLiteral("4"), QStringLiteral("4.csv"), played(kHeader),
                                     matching(played(kHeader), 25)};

    // 6080 points at the rate of game 8 (60), as the final screen computed it;
    // 530 + 6000 points at 25; 6080 at the settings' 50.
    EXPECT_EQ(paymentsTable({changedRate, noRecord, headerOnly, rerun}, {50, QStringLiteral("$")}),
              "participant,registrations,games_finished,points,rate,money,currency,flags\r\n"
              "2,1,8,6080,60,36.48,EUR,rate_changed\r\n"
              "3,1,8,6080,50,30.40,$,no_session_record\r\n"
              "4,1,0,0,50,0.00,$,fewer_than_8_games\r\n"
              "10,2,9,6530,25,16.33,$,closed_early;incomplete_game;several_registrations\r\n");
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
