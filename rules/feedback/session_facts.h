#pragma once

#include "rules/feedback/settings_file.h"
#include "rules/game/data_file.h"

#include <map>
#include <optional>
#include <string>
#include <tuple>

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
    // The record's last line was cut off (the program stopped while writing it).
    bool lastLineCut = false;
};

// How the session record fits the data file: every trial line should have its
// choice row. After a crash the last choice row of a registration can be
// missing (the data line is written first); anything else is a mismatch.
struct SessionCheck {
    bool missingLastChoiceRow = false;
    bool mismatch = false;
};
SessionCheck checkSession(const DataFile &data, const SessionFacts &session);

} // namespace ct
