// choicetask-report: the earnings of participants, read from their data files,
// for the experimenter who did not see the final screen.
#include "feedback/earnings_report.h"
#include "feedback/settings_file.h"
#include "game/data_file.h"
#include "platform/files.h"
#include "tools/report_inputs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

constexpr char kUsage[] =
    "usage: choicetask-report [--settings FOLDER] [--locale NAME] FILE.csv|FOLDER...\n"
    "\n"
    "Prints each game's points and money and the total for every data file named\n"
    "(or every <ID>.csv in a FOLDER named), as the program's feedback window\n"
    "computes them. A malformed data file is refused with its line number.\n"
    "\n"
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

    const QString settingsFolder = arguments.settingsFolder.value_or(QCoreApplication::applicationDirPath());
    const QString folderRole = arguments.settingsFolder ? QStringLiteral("the settings folder named on the command line")
                                                        : ct::kProgramFolderRole;
    const ct::SettingsRead settings = ct::ReadSettingsFile(settingsFolder, arguments.locale, folderRole);
    if (!settings.ok()) {
        printError(settings.error + QStringLiteral("\n\n") + ct::localeNote(arguments));
        return 1;
    }

    int status = 0;
    bool first = true;
    for (const ct::DataFileInput &input : inputs.files) {
        const ct::ReadResult bytes = ct::readWholeFile(QFile::encodeName(input.path).toStdString(), ct::kMaxDataFileBytes);
        if (!bytes.ok) {
            printError(QString::fromStdString(bytes.error));
            status = 1;
            continue;
        }
        const ct::DataFileResult data = ct::readDataFile(bytes.bytes);
        if (!data.ok) {
            printError(QStringLiteral("%1, line %2: %3").arg(input.path).arg(data.errorLine).arg(QString::fromStdString(data.error)));
            status = 1;
            continue;
        }
        if (!first)
            std::fputs("\n", stdout);
        first = false;
        std::fputs(qPrintable(ct::earningsReport(QFileInfo(input.path).fileName(), data.file, settings.settings,
                                                 arguments.locale)),
                   stdout);
    }
    return status;
}
