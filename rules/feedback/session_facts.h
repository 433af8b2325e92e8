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
        std::string button; // "left" / "right"
        std::optional<double> responseMs;
    };
    // registration, game, trial
    using TrialKey = std::tuple<int, int, int>;
    // registration, game
    using GameKey = std::tuple<int, int>;

    std::map<TrialKey, Choice> choices;
    // The rate read at the feedback after each game.
    std::map<GameKey, Settings> rates;
    // Registrations that the experimenter ended early or an error stopped.
    std::map<int, std::string> endedEarly; // registration -> "closed_early" / "error"
    // Lines a crash cut off (or left with NUL bytes), skipped.
    std::vector<int> cutLines;
    // Two choice rows for the same trial.
    bool duplicateChoiceRows = false;
    // Every registration that has a row in the record.
    std::set<int> registrations;

    // Whether the record has any row for the registration (a record begun
    // by a later run, or copied in part, may have none for earlier ones).
    bool covers(int registration) const;
};

struct SessionFactsResult {
    std::optional<SessionFacts> facts; // empty for a refused record
    Error error;
};

// Reads a session record's bytes into what the reports use. A record the
// session reader refuses, or a feedback row whose rate is not a number, is
// refused with its line.
SessionFactsResult readSessionFacts(std::string_view bytes);

// How the session record fits the data file: every trial line of a
// registration the record covers should have its choice row. After a crash
// the last choice row of a registration can be missing (the data line is
// written first); anything else is a mismatch.
struct SessionCheck {
    bool missingLastChoiceRow = false;
    bool mismatch = false;
    // Registrations with trials but no row at all in the record.
    bool uncoveredRegistration = false;
};
SessionCheck checkSession(const DataFile &data, const SessionFacts &session);

} // namespace ct
