#pragma once

#include "tools/study_tables.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace ct {

enum class ReportMode {
    Earnings, // the text report for the experimenter
    Trials,   // --csv: every trial of every participant
    Payments, // --payments: one row per participant
    Dataset,  // --dataset OUT: a psych-DS dataset with both tables and a codebook
};

// The command line of choicetask-report.
struct ReportArguments {
    bool help = false;
    ReportMode mode = ReportMode::Earnings;
    std::optional<QString> settingsFolder; // --settings
    QLocale locale;                        // --locale, else this computer's
    bool localeNamed = false;
    QString datasetFolder; // --dataset OUT
    QStringList inputs;    // data files and folders, as given
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
    // Files in the folders named that were not read, each with the reason:
    // "notes.csv (not named as the program names its files)".
    QStringList skipped;
    QString problem;
};

// Whether `name` is a data file's name as the program makes it: a participant
// ID from -32768 to 32767 other than 0, written without leading zeros or "+",
// and ".csv" ("7.csv", "-3.csv").
bool isDataFileName(const QString &name);

// The data files named, and the data files in the folders named: only the
// files named as the program names them (isDataFileName), so that a table
// written into the folder, or notes kept there, are never read as a
// participant. A session record (<ID>.session.csv) is read with its data
// file, never as one. A folder that holds a config.ini is refused unless the
// settings folder was named: older versions took a folder there as the
// settings folder.
DataFileList collectDataFiles(const QStringList &inputs, bool settingsFolderNamed);

struct LoadedParticipant {
    std::optional<ParticipantData> participant;
    // Why the data file or the session record beside it could not be read or
    // was refused; empty when it was read.
    QString error;
};

// Reads a data file and the session record beside it.
LoadedParticipant loadParticipant(const DataFileInput &file);

struct StudyCheck {
    bool ok = true;              // every file could be read
    bool settingsNeeded = false; // some finished game's rate must come from config.ini
};

// Reads every file once, before a table is written, so that none is written
// with a participant missing; each problem goes to `report`.
StudyCheck checkStudy(const std::vector<DataFileInput> &files, const std::function<void(const QString &)> &report);

// Why the file at `path` cannot be read as `what` (a data file, ...) when
// something other than a regular file stands there (a named pipe, a folder, a
// device), which a read could wait on forever; empty otherwise.
QString notAFileProblem(const QString &path, const QString &what);
QString notAFileProblem(const std::filesystem::path &path, const QString &what);

// Orders participants as numbers where their names are numbers (2 before 10).
bool participantBefore(const QString &a, const QString &b);

} // namespace ct
