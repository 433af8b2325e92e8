#pragma once

#include "tools/study_tables.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <optional>
#include <vector>

namespace ct {

enum class ReportMode {
    Earnings, // the text report for the experimenter
    Trials,   // --csv: every trial of every participant
    Payments, // --payments: one row per participant
};

// The command line of choicetask-report.
struct ReportArguments {
    bool help = false;
    ReportMode mode = ReportMode::Earnings;
    std::optional<QString> settingsFolder; // --settings
    QLocale locale;                        // --locale, else this computer's
    bool localeNamed = false;
    QStringList inputs; // data files and folders, as given
    // Empty when the arguments can be used; otherwise what is wrong.
    QString problem;
};

ReportArguments parseReportArguments(const QStringList &arguments);

// For every message about reading the exchange rate: the locale it was read in.
QString localeNote(const ReportArguments &arguments);

struct DataFileInput {
    QString path;        // as named, or the folder joined with the name
    QString participant; // the file name without ".csv"
};

struct DataFileList {
    std::vector<DataFileInput> files; // sorted by participant, each file once
    QString problem;
};

// The data files named, and the <ID>.csv files in the folders named. A session
// record (<ID>.session.csv) is read with its data file, never as one. A folder
// that holds a config.ini is refused unless the settings folder was named:
// older versions took a folder there as the settings folder.
DataFileList collectDataFiles(const QStringList &inputs, bool settingsFolderNamed);

struct LoadedStudy {
    std::vector<ParticipantData> participants; // in the order of the files
    // One message for each file that could not be read or was refused.
    QStringList errors;
};

// Reads every data file and the session record beside it.
LoadedStudy loadStudy(const std::vector<DataFileInput> &files);

// Whether some finished game's rate must come from the settings file: a
// participant without a session record, or a game without its feedback row.
bool needsSettings(const std::vector<ParticipantData> &participants);

// Why the file at `path` cannot be read as `what` (a data file, ...) when
// something other than a regular file stands there (a named pipe, a folder, a
// device), which a read could wait on forever; empty otherwise.
QString notAFileProblem(const QString &path, const QString &what);

// Orders participants as numbers where their names are numbers (2 before 10).
bool participantBefore(const QString &a, const QString &b);

} // namespace ct
