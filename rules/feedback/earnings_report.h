#pragma once

#include "rules/feedback/session_facts.h"
#include "rules/feedback/settings_file.h"
#include "rules/game/data_file.h"

#include <QLocale>
#include <QString>

namespace ct {

// The experimenter's summary of a data file: for every registration, each
// game's points and money and the total, computed exactly as the feedback
// window computes them (each game's money from its points; the total from the
// sum of the points, not from the amounts shown). A game the program was ended
// in is listed and flagged, but not counted: no feedback window recorded it.
// With the participant's session record, each game's money is at the rate read
// at its feedback (the total at the last one, as the final screen computed
// it), each game gets its response-time median and range, and what does not
// fit is noted; `settings` then only stands in for games without a feedback
// row.
QString earningsReport(const QString &fileName, const DataFile &file, const Settings &settings,
                       const QLocale &locale = QLocale(), const SessionFacts *session = nullptr);

} // namespace ct
