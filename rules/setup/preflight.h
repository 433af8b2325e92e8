#pragma once

#include "platform/error.h"

#include <QString>

#include <filesystem>

namespace ct {

// Checks, before any ID is taken, that the files the experiment will read
// exist and can be read: the instruction file in the working directory and the
// settings file in `settingsFolder`, which messages name as `folderRole`; and
// that the working directory, where the data file goes, can be written to.
// Returns the problems for the experimenter, or no error when all is well.
Error missingInputProblem(const std::filesystem::path &settingsFolder, const QString &folderRole);

} // namespace ct
