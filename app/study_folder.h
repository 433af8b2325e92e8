#pragma once

#include <QString>

namespace ct {

// The study folder the desktop menu entry runs in: "choicetask data" in the
// user's Documents folder, as on Windows and macOS.
QString defaultStudyFolder();

// Makes `folder` ready to run in: creates it if it is missing, and copies the
// sample instruction file into it when it holds no instruction file. Nothing
// already in the folder is changed. Returns an empty text, or what went wrong.
QString prepareStudyFolder(const QString &folder);

// The same for the settings folder of the macOS application: the sample
// settings file is put there when it holds none.
QString prepareSettingsFolder(const QString &folder);

} // namespace ct
