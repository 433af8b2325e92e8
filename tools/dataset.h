#pragma once

#include "rules/feedback/settings_file.h"
#include "tools/report_inputs.h"

#include <QString>

#include <functional>
#include <vector>

namespace ct {

// Writes a psych-DS dataset of the study into the new folder `folder`:
//
//   dataset_description.json   name, description and variableMeasured: every
//                              column of every table, with its description,
//                              unit, range and levels (the codebook)
//   README.md                  what the files are, the software versions and
//                              what each time means
//   data/description-trials_data.csv     the trial table (as --csv)
//   data/description-payments_data.csv   the payment sheet (as --payments)
//   data/subject-<ID>_data.csv           one participant's trials
//   data/subject-<ID>_description-session_data.csv   their session record
//   data/raw_data/<ID>.csv, <ID>.session.csv         the files as recorded
//
// A negative ID is written "minus3" in a file name. The dataset is built in a
// hidden folder beside `folder` and renamed to it at the end, so that a
// failure leaves nothing half-written; an existing folder is never touched.
// `settings` gives the settings file when a finished game needs it (null when
// it cannot be used, after saying why). Problems are passed to `report`.
// Returns the exit status: 0 written, 1 a file could not be read or written,
// 2 the inputs cannot make a dataset.
int writeDataset(const QString &folder, const std::vector<DataFileInput> &files,
                 const std::function<const Settings *()> &settings, const std::function<void(const QString &)> &report);

} // namespace ct
