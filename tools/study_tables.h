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

// The tables are written a participant at a time, so that a study of any
// size takes the memory of one participant. Every number is written with "."
// and without exponent; text from the files has its control characters
// written out (visibleText); NA stands for what the files do not say.

// --csv: one row per trial, in the order of the data file:
// participant,registration,game,trial,choice,payoff,winnings,history_left,
// game_units_remaining,button,response_ms,complete,time_utc,input,
// pause_planned_ms,pause_actual_ms,left_option_button,version,
// instructions_sha256,registration_end,simulated
// The columns from button on come from the session record: the trial's choice
// row (NA when there is none, or when it contradicts the data line) and the
// registration's registered and end rows. complete and simulated are TRUE or
// FALSE.
std::string trialTableHeader();
void appendTrialRows(std::string &out, const ParticipantData &participant);

// --payments: one row per participant:
// participant,registrations,games_finished,points,rate,money,currency,flags,
// session_date,shown_total
// - games_finished and points count the finished games of every registration;
// - rate and currency are in force at the last finished game (from the
//   session record, else from `settings`), NA without a finished game;
// - money is what the final screens showed: each registration's points at the
//   rate read at its last feedback, rounded to the cent as shown, then added
//   up; NA when the registrations were paid in different currencies;
// - flags lists what needs a look, separated by ";": closed_early,
//   currency_changed, error, fewer_than_8_games, incomplete_game,
//   missing_last_choice_row, no_session_record, rate_changed,
//   registration_without_session_rows, session_mismatch, several_registrations,
//   simulated;
// - session_date is the UTC date of each registration (distinct dates joined
//   by ";"), shown_total the sum of the totals the final screens showed
//   according to the session record; NA where the record does not say.
// `settings` is read only for finished games the session record has no rate
// for (needsSettings).
std::string paymentsHeader();
void appendPaymentRow(std::string &out, const ParticipantData &participant, const Settings *settings);

// Whether some finished game's rate must come from the settings file: it has
// no feedback row in the session record, or there is no record.
bool needsSettings(const ParticipantData &participant);

// Whole tables, for a few participants.
std::string tidyTrialTable(const std::vector<ParticipantData> &participants);
std::string paymentsTable(const std::vector<ParticipantData> &participants, const Settings &settings);

// A CSV field, quoted when it holds a comma, a quote, CR or LF (quotes doubled).
std::string csvField(std::string_view text);

} // namespace ct
