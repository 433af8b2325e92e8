#pragma once

#include "rules/feedback/session_facts.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace ct {

// One participant: the data file, and the session record when there is one.
struct ParticipantData {
    QString participant; // the data file's name without ".csv"
    QString fileName;    // the data file's name
    DataFile data;
    std::optional<SessionFacts> session;
};

// One row per trial of every participant, sorted by participant (as given),
// registration, game and trial:
// participant,registration,game,trial,choice,payoff,winnings,history_left,
// game_units_remaining,button,response_ms,complete
// Numbers with "." and without exponent; NA where the session record does not
// say (no record, or no row for the trial); complete is TRUE or FALSE.
std::string tidyTrialTable(const std::vector<ParticipantData> &participants);

// One row per participant:
// participant,registrations,games_finished,points,rate,money,currency,flags
// - games_finished and points count the finished games of every registration;
// - rate is the exchange rate in force at the last finished game (from the
//   session record, else from `settings`); money is each registration's
//   points at its rate, as its final screen computed it, summed;
// - flags lists what needs a look, separated by ";": incomplete_game,
//   several_registrations, fewer_than_8_games, no_session_record,
//   missing_last_choice_row, session_mismatch, registration_without_session_rows,
//   rate_changed, closed_early, error.
std::string paymentsTable(const std::vector<ParticipantData> &participants, const Settings &settings);

// Shared by both tables: a CSV field, quoted when it holds a comma, a quote,
// CR or LF (quotes doubled).
std::string csvField(std::string_view text);

} // namespace ct
