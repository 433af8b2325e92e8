// choicetask-report: the earnings of participants, read from their data files,
// for the experimenter who did not see the final screen; and the tables of a
// whole study for the analysis and the payments.
#include "rules/experiment.h"
#include "rules/feedback/earnings_report.h"
#include "rules/feedback/settings_file.h"
#include "tools/report_inputs.h"
#include "tools/study_tables.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

constexpr char kUsage[] = "usage: choicetask-report [--csv | --payments] [--settings FOLDER] [--locale NAME]\n"
                          "                         FILE.csv|FOLDER...\n"
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
                          "  --settings FOLDER  read the exchange rate from config.ini in FOLDER; by\n"
                          "                     default from the folder of this command (where the\n"
                          "                     installed program keeps it)\n"
                          "  --locale NAME      read the rate's number as the lab computer did, in the\n"
                          "                     locale NAME (for example de_DE, where 12,5 is twelve and\n"
                          "                     a half); by default in this computer's locale\n";

int usage(const QString &problem)
{
    std::fprintf(stderr, "choicetask-report: %s\n\n%s", qPrintable(problem), kUsage);
    return 2;
}

void printError(const QString &message)
{
    std::fprintf(stderr, "choicetask-report: %s\n", qPrintable(message));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
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

    const ct::LoadedStudy study = ct::loadStudy(inputs.files);
    for (const QString &error : study.errors)
        printError(error);
    // A table with a participant missing would look complete: nothing is
    // written unless every file was read.
    if (arguments.mode == ct::ReportMode::Trials) {
        if (!study.errors.isEmpty())
            return 1;
        const std::string table = ct::tidyTrialTable(study.participants);
        std::fwrite(table.data(), 1, table.size(), stdout);
        return 0;
    }

    // The rate in force comes from the session record; config.ini is read
    // only for what the session records do not say.
    ct::SettingsRead settings;
    if (ct::needsSettings(study.participants)) {
        const QString settingsFolder = arguments.settingsFolder.value_or(QCoreApplication::applicationDirPath());
        const QString folderRole = arguments.settingsFolder
                                       ? QStringLiteral("the settings folder named on the command line")
                                       : ct::kProgramFolderRole;
        const QString settingsPath = QDir(settingsFolder).filePath(QString::fromLatin1(ct::kSettingsFileName));
        if (const QString problem = ct::notAFileProblem(settingsPath, QStringLiteral("the settings file"));
            !problem.isEmpty()) {
            printError(problem);
            return 1;
        }
        settings = ct::ReadSettingsFile(settingsFolder, arguments.locale, folderRole);
        if (!settings.ok()) {
            printError(QString::fromStdString(settings.error.message) + QStringLiteral("\n\n")
                       + ct::localeNote(arguments));
            return 1;
        }
    }
    if (arguments.mode == ct::ReportMode::Payments) {
        if (!study.errors.isEmpty())
            return 1;
        const std::string table = ct::paymentsTable(study.participants, settings.settings);
        std::fwrite(table.data(), 1, table.size(), stdout);
        return 0;
    }
    bool first = true;
    for (const ct::ParticipantData &participant : study.participants) {
        if (!first)
            std::fputs("\n", stdout);
        first = false;
        std::fputs(
            qPrintable(ct::earningsReport(participant.fileName, participant.data, settings.settings, arguments.locale,
                                          participant.session ? &*participant.session : nullptr)),
            stdout);
    }
    return study.errors.isEmpty() ? 0 : 1;
}
