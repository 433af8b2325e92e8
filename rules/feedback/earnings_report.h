#pragma once

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
QString earningsReport(const QString &fileName, const DataFile &file, const Settings &settings,
                       const QLocale &locale = QLocale());

} // namespace ct
