// choicetask-report: the earnings of participants, read from their data files,
// for the experimenter who did not see the final screen; and the tables of a
// whole study for the analysis and the payments.
#include "platform/files.h"
#include "rules/experiment.h"
#include "rules/feedback/earnings_report.h"
#include "rules/feedback/settings_file.h"
#include "rules/quoted_text.h"
#include "tools/dataset.h"
#include "tools/report_inputs.h"
#include "tools/study_tables.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

namespace {

constexpr char kUsage[] = "usage: choicetask-report [--csv | --payments | --dataset OUT] [--settings FOLDER]\n"
                          "                         [--locale NAME] FILE.csv|FOLDER...\n"
                          "\n"
                          "Prints each game's points and money and the total for every data file named\n"
                          "(or every <ID>.csv in a FOLDER named), as the program's feedback window\n"
                          "computes them. A malformed data file is refused with its line number. The\n"
                          "session record <ID>.session.csv beside a data file is read with it.\n"
                          "\n"
                          "  --csv              instead, write one CSV table of every trial of every\n"
                          "                     participant\n"
                          "  --payments         instead, write one CSV row per participant: games\n"
                          "                     finished, points, money and what needs a look\n"
                          "  --dataset OUT      instead, write a psych-DS dataset into the new folder OUT:\n"
                          "                     both tables, each participant's files and a codebook\n"
                          "  --settings FOLDER  read the exchange rate from config.ini in FOLDER; by\n"
                          "                     default from the folder of this command (where the\n"
                          "                     installed program keeps it)\n"
                          "  --locale NAME      read the rate's number as the lab computer did, in the\n"
                          "                     locale NAME (for example de_DE, where 12,5 is twelve and\n"
                          "                     a half); by default in this computer's locale\n";

// Everything printed comes partly from files: their control characters are
// written out, so that none reaches the terminal.
void print(std::FILE *stream, const QString &text)
{
    std::fputs(qPrintable(QString::fromStdString(ct::visibleText(text.toStdString(), true))), stream);
}

int usage(const QString &problem)
{
    print(stderr, QStringLiteral("choicetask-report: %1\n\n").arg(problem));
    std::fputs(kUsage, stderr);
    return 2;
}

void printError(const QString &message)
{
    print(stderr, QStringLiteral("choicetask-report: %1\n").arg(message));
}

// The settings file, read once and only when a participant needs it.
class LazySettings {
public:
    explicit LazySettings(const ct::ReportArguments &arguments) : m_arguments(arguments) {}

    // Null after printing why the settings file cannot be used.
    const ct::Settings *get()
    {
        if (!m_read) {
            m_read = true;
            m_ok = read();
        }
        return m_ok ? &m_settings : nullptr;
    }

private:
    bool read()
    {
        // The settings folder as the system names it (a QString may not hold
        // a name that is not UTF-8).
        const auto [folder, folderRole] = ct::commandSettingsFolder(
            m_arguments.settingsFolder ? std::optional(QDir(*m_arguments.settingsFolder).filesystemPath())
                                       : std::nullopt);
        if (const QString problem = ct::notAFileProblem(folder / ct::kSettingsFileName,
                                                        QStringLiteral("the settings file"));
            !problem.isEmpty()) {
            printError(problem);
            return false;
        }
        const ct::SettingsRead settings = ct::ReadSettingsFile(folder, m_arguments.locale, folderRole);
        if (!settings.ok()) {
            printError(QString::fromStdString(settings.error.message) + QStringLiteral("\n\n")
                       + ct::localeNote(m_arguments));
            return false;
        }
        m_settings = settings.settings;
        return true;
    }

    const ct::ReportArguments &m_arguments;
    bool m_read = false;
    bool m_ok = false;
    ct::Settings m_settings;
};

// Standard output in large pieces; false once a write failed.
class Output {
public:
    std::string buffer;

    bool flush(bool force)
    {
        if (m_failed || (buffer.size() < (1u << 20) && !force))
            return !m_failed;
        m_failed = std::fwrite(buffer.data(), 1, buffer.size(), stdout) != buffer.size();
        buffer.clear();
        m_failed = m_failed || (force && std::fflush(stdout) != 0);
        return !m_failed;
    }

private:
    bool m_failed = false;
};

int earningsReports(const ct::ReportArguments &arguments, const ct::DataFileList &inputs)
{
    LazySettings settings(arguments);
    bool failed = false;
    bool first = true;
    for (const ct::DataFileInput &file : inputs.files) {
        const ct::LoadedParticipant loaded = ct::loadParticipant(file);
        if (!loaded.participant) {
            printError(loaded.error);
            failed = true;
            continue;
        }
        const ct::ParticipantData &p = *loaded.participant;
        const ct::Settings *used = nullptr;
        if (!p.session || ct::needsSettings(p)) {
            used = settings.get();
            if (!used)
                return 1;
        }
        if (!first)
            std::fputs("\n", stdout);
        first = false;
        print(stdout, ct::earningsReport(p.fileName, p.data, used ? *used : ct::Settings{}, arguments.locale,
                                         p.session ? &*p.session : nullptr));
    }
    return failed ? 1 : 0;
}

// A table to standard output. A table with a participant missing would look
// complete: every file is read once to check it, and the table is written
// only when all could be read, in a second pass that holds one participant at
// a time.
int studyTable(const ct::ReportArguments &arguments, const ct::DataFileList &inputs)
{
    const ct::StudyCheck check = ct::checkStudy(inputs.files, printError);
    if (!check.ok)
        return 1;
    // The trial table has no money in it.
    const bool trials = arguments.mode == ct::ReportMode::Trials;
    const bool settingsNeeded = check.settingsNeeded && !trials;
    LazySettings settings(arguments);
    if (settingsNeeded && !settings.get())
        return 1;

    Output out;
    out.buffer = trials ? ct::trialTableHeader() : ct::paymentsHeader();
    for (const ct::DataFileInput &file : inputs.files) {
        const ct::LoadedParticipant loaded = ct::loadParticipant(file);
        if (!loaded.participant) {
            // Changed since it was checked (a session still running?).
            printError(loaded.error
                       + QStringLiteral("\nThe file changed while the table was written: the table is "
                                        "incomplete. Run the command again."));
            return 1;
        }
        const ct::ParticipantData &p = *loaded.participant;
        if (trials) {
            ct::appendTrialRows(out.buffer, p);
        } else {
            const ct::Settings *used = ct::needsSettings(p) ? settings.get() : nullptr;
            if (ct::needsSettings(p) && !used)
                return 1;
            ct::appendPaymentRow(out.buffer, p, used);
        }
        if (!out.flush(false))
            break;
    }
    if (!out.flush(true)) {
        printError(QStringLiteral("the table could not be written to standard output: %1")
                       .arg(QString::fromLocal8Bit(std::strerror(errno))));
        return 1;
    }
    return 0;
}

int report(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
#ifndef _WIN32
    // An argument whose bytes are not text in this system's encoding (a folder
    // named in Latin-1 on a UTF-8 system) would name another file once decoded:
    // it is refused, and nothing is read from a folder that was not meant.
    for (int i = 1; i < argc; ++i) {
        const QByteArray given(argv[i]);
        if (QString::fromLocal8Bit(given).toLocal8Bit() != given)
            return usage(QStringLiteral("\"%1\" is not a name in this system's encoding; run the command inside that "
                                        "folder and name the files in it, or rename the folder")
                             .arg(QString::fromStdString(ct::displayPath(std::filesystem::path(given.toStdString())))));
    }
#endif
    const ct::ReportArguments arguments = ct::parseReportArguments(QCoreApplication::arguments().mid(1));
    if (arguments.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!arguments.problem.isEmpty())
        return usage(arguments.problem);

    const ct::DataFileList inputs = ct::collectDataFiles(arguments.inputs, arguments.settingsFolder.has_value());
    if (!inputs.problem.isEmpty())
        return usage(inputs.problem);
    if (!inputs.skipped.isEmpty())
        printError(QStringLiteral("skipped, not read: %1").arg(inputs.skipped.join(QStringLiteral(", "))));

    switch (arguments.mode) {
    case ct::ReportMode::Earnings:
        return earningsReports(arguments, inputs);
    case ct::ReportMode::Trials:
    case ct::ReportMode::Payments:
        return studyTable(arguments, inputs);
    case ct::ReportMode::Dataset:
        break;
    }
    LazySettings settings(arguments);
    return ct::writeDataset(
        arguments.datasetFolder, inputs.files, [&settings] { return settings.get(); },
        [](const QString &message) { printError(message); });
}

} // namespace

int main(int argc, char *argv[])
{
    // What the system cannot give (memory, a name it cannot hold) ends the
    // command with a message, never an abort.
    try {
        return report(argc, argv);
    } catch (const std::exception &error) {
        printError(QStringLiteral("stopped: %1").arg(QString::fromLocal8Bit(error.what())));
        return 1;
    }
}
