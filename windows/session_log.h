#pragma once

#include "rules/session_record.h"

#include <optional>

class QWidget;

namespace ct {

struct AppContext;

// The program's side of the session record: each event appended durably, as
// the data file's lines are, to the participant's "<ID>.session.csv".
//
// Appends one row, filling in the registration and the times of its moment:
// `at` on the context's clock (an event that happened before its row is
// written, such as a choice pressed before its pause), else now. The UTC time
// is the computer's clock at that moment. Before registration (no session
// record yet) nothing is written. When the record cannot be written the
// program stops with a message, as it does for the data file, and false is
// returned: the caller returns at once.
bool recordEvent(AppContext &context, session::Row row, QWidget *parent = nullptr, std::optional<double> at = {});

// The window named closed from its frame before the run ended: a
// `closed_early` row with the game (and the trials played of it) when there
// is one. False when the program has been stopped.
bool recordClosedEarly(AppContext &context, const char *window, std::optional<int> game, std::optional<int> trial,
                       QWidget *parent);

// After the participant's header line is in the data file: names the session
// record, counts the registration and writes the `registered` row. False when
// the program has been stopped.
bool startSessionRecord(AppContext &context, QWidget *window);

// While a program is set up for a participant, the message of every error
// that stops it also goes into the session record as an `error` row.
void recordStoppingErrors(AppContext &context);

} // namespace ct
