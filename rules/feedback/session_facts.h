#pragma once

#include "platform/error.h"
#include "rules/feedback/settings_file.h"
#include "rules/game/data_file.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace ct {

// What the reports take from a participant's session record <ID>.session.csv.
struct SessionFacts {
    struct Choice {
        std::string button; // "left" / "right"; empty when the row names none
        std::optional<int> option;
        std::optional<double> responseMs;
        std::string timeUtc; // the press
        std::optional<double> pausePlannedMs;
        std::optional<double> pauseActualMs;
        std::string input; // "mouse", "keyboard", "other"; empty in older records
    };
    // What the `registered` row and the row that ended a registration say.
    struct Run {
        bool registeredRow = false;
        std::string timeUtc; // of the registered row
        std::string version;
        std::string leftOptionButton; // "left" / "right"; empty when unknown
        std::string instructionsSha256;
        bool simulated = false;
        // "finished", "closed_early" or "error": the last such row; empty when
        // none says (the program was killed, or the computer stopped).
        std::string ended;
    };
    // registration, game, trial
    using TrialKey = std::tuple<int, int, int>;
    // registration, game
    using GameKey = std::tuple<int, int>;

    std::map<TrialKey, Choice> choices;
    // The rate read at the feedback after each game.
    std::map<GameKey, Settings> rates;
    // The total the final screen showed (`total_money`, as shown).
    std::map<GameKey, std::string> totalsShown;
    // Registrations that the experimenter ended early or an error stopped.
    std::map<int, std::string> endedEarly; // registration -> "closed_early" / "error"
    std::map<int, Run> runs;
    // Lines a crash cut off (or left with NUL bytes), skipped.
    std::vector<int> cutLines;
    // Two choice rows for the same trial.
    bool duplicateChoiceRows = false;
    // Every registration that has a row in the record.
    std::set<int> registrations;

    // Whether the record has any row for the registration (a record begun
    // by a later run, or copied in part, may have none for earlier ones).
    bool covers(int registration) const;
    // The registration's facts; an empty Run when the record has none.
    const Run &run(int registration) const;
    // The choice row of a trial when it says what the data line says: the
    // same option, and the button that carried that option in this
    // registration (when the record names the buttons' assignment). Null when
    // there is no row or it contradicts the data line.
    const Choice *fittingChoice(int registration, int game, const RecordedTrial &trial) const;
};

struct SessionFactsResult {
    std::optional<SessionFacts> facts; // empty for a refused record
    Error error;
};

// Reads a session record's bytes into what the reports use. A record the
// session reader refuses, or a feedback row whose rate is not a number from 0
// to kMaxExchangeRate, is refused with its line.
SessionFactsResult readSessionFacts(std::string_view bytes);

// How the session record fits the data file: every trial line of a
// registration the record covers should have its choice row, saying the same
// option and the button that carried it. After a crash the last choice row of
// a registration can be missing (the data line is written first); anything
// else is a mismatch.
struct SessionCheck {
    bool missingLastChoiceRow = false;
    bool mismatch = false;
    // Registrations with trials but no row at all in the record.
    bool uncoveredRegistration = false;
};
SessionCheck checkSession(const DataFile &data, const SessionFacts &session);

} // namespace ct
