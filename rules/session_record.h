#pragma once

#include "platform/error.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ct::session {

// The session record "<ID>.session.csv": beside the data file, one row per
// event of the run, appended durably like the data file. One CSV table
// (RFC 4180, UTF-8, every line ending in CR LF like the data file), the header
// written when the file is new:
inline constexpr std::string_view kHeader = "registration,event,time_utc,monotonic_ms,game,trial,button,option,"
                                            "response_ms,pause_planned_ms,pause_actual_ms,detail\r\n";

enum class Event {
    Registered,        // detail: version, computer, os, screen, scale, dpi, instructions, instructions_sha256,
                       //         left_option_button, simulated (1 when a simulator wrote the row, else 0)
    InstructionsShown, // no detail
    GameStarted,       // "Go"; game
    Choice,            // one per data line, at the press; game, trial, button, option, response_ms, pause_*;
                       // detail: input (mouse, keyboard, or other when no press was seen)
    FeedbackShown,     // game; detail: rate, currency, points, money (and total_money after the last game)
    Finished,          // the experiment ended after its last game; detail: games
    ClosedEarly,       // the experimenter ended the run; game, trial; detail: window
    Error,             // the program stopped on an error; detail: message
    EndAsked,          // "End the experiment now?" shown from the game window; game, trial (trials played)
    EndAnswered,       // its answer; game, trial; detail: answer (yes / no)
};

std::string_view eventName(Event event);
std::optional<Event> eventFromName(std::string_view name);

enum class Button { Left, Right };
std::string_view buttonName(Button button); // "left" / "right"

// The detail column: key=value pairs joined by ";", in the order given. Keys
// are lower-case words with "_"; in values "%", ";", CR and LF are written as
// %25, %3B, %0D and %0A (percent-decoding gives the value back).
using Detail = std::vector<std::pair<std::string, std::string>>;
std::string formatDetail(const Detail &detail);
// Nullopt when a pair has no "=" or an escape is not two hex digits.
std::optional<Detail> parseDetail(std::string_view text);

// The longest response time or pause read back: a day.
inline constexpr double kMaxMilliseconds = 24.0 * 60 * 60 * 1000;

struct Row {
    // 1 for the first registration of this ID in the folder, 2 for the next,
    // as the header lines in the data file count them.
    int registration = 0;
    Event event = Event::Error;
    // UTC, ISO 8601 with milliseconds: 2026-03-05T14:07:09.123Z.
    std::string timeUtc;
    // The program's monotonic clock, in ms since an arbitrary start.
    double monotonicMs = 0;
    std::optional<int> game;  // 1 to 8
    std::optional<int> trial; // within the game, as in the data file
    std::optional<Button> button;
    std::optional<int> option; // 1 left option, 0 right option
    std::optional<double> responseMs;
    std::optional<double> pausePlannedMs;
    std::optional<double> pauseActualMs;
    Detail detail;

    // The value of a detail key, if present.
    std::optional<std::string> detailValue(std::string_view key) const;
    friend bool operator==(const Row &, const Row &) = default;
};

// One field of a CSV line: quoted when it holds a comma, a quote, CR or LF,
// with quotes doubled.
std::string csvField(std::string_view text);
// A row as one line, CR LF included. Times are written with one decimal, empty
// columns stay empty.
std::string formatRow(const Row &row);

struct ReadResult {
    std::vector<Row> rows;
    // The line of the file each row stands on.
    std::vector<int> rowLines;
    // Lines a crash (a power cut) cut off while they were written, or left
    // with NUL bytes: skipped, not read.
    std::vector<int> cutLines;
    // For a refused file: what is wrong with it, and on which line.
    Error error;
    bool ok() const { return error.empty(); }
};

// The `registered` row's detail key naming the line of the record that a
// crash had cut off and that this run ended with a line end before its own
// rows. A row is not marked as complete the way a data line is, so only the
// run that found the line cut can tell.
inline constexpr std::string_view kEndedCutLineKey = "ended_cut_line";

// Reads a whole session record: the header line, then rows, every line ending
// with CR LF. Lines a crash cut are skipped and listed: the last line when it
// has no line end, a line holding NUL bytes, and a line a later `registered`
// row names with kEndedCutLineKey (before the header too). A header line
// after a row is refused, as is a row with the wrong number of fields, an
// unknown event, or a number that does not read or lies outside what the
// program writes (a registration from 1 to 32767, a game from 1 to 8, a trial
// from 0 to 150, times finite, the pauses from 0 and the response time from
// -kMaxMilliseconds to kMaxMilliseconds: negative when the press came before
// the buttons were painted).
ReadResult readSessionRecord(std::string_view bytes);

// Whether a run must write the header line before its first row: the record
// holds no whole header line (it is new, or a crash cut its first line).
bool headerNeeded(std::string_view recordBytes);

// The number of the record's last line when a crash cut it off before its CR
// (the next append ends it with CR LF); 0 when the record ends with a whole
// line, or with a CR that the next append's LF completes.
int cutLastLine(std::string_view recordBytes);

// "42.session.csv" for the data file "42.csv".
std::string sessionFileNameFor(std::string_view dataFileName);

// The registration number of the run that has just written its header line
// into the data file: the number of header lines the file holds.
int registrationNumber(std::string_view dataFileBytes);

// Milliseconds as written in the record: one decimal, half away from zero.
std::string millisecondsText(double ms);

} // namespace ct::session
