// choicetask-report: the earnings of a participant, read from the data file,
// for the experimenter who did not see the final screen.
#include "platform/files.h"
#include "rules/feedback/earnings_report.h"
#include "rules/feedback/settings_file.h"
#include "rules/game/data_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <string_view>

namespace {

constexpr char kUsage[] =
    "usage: choicetask-report FILE.csv [SETTINGS_FOLDER]\n"
    "\n"
    "Prints each game's points and money and the total, as the program's feedback\n"
    "window computes them. The exchange rate comes from config.ini in\n"
    "SETTINGS_FOLDER, by default the folder of this command (where the installed\n"
    "program keeps it). A malformed data file is refused with its line number.\n";

// Data files are a few hundred kilobytes at most.
constexpr std::size_t kMaxDataFileBytes = 256u * 1024u * 1024u;

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() == 1 && (arguments[0] == QLatin1String("--help") || arguments[0] == QLatin1String("-h"))) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (arguments.isEmpty() || arguments.size() > 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const QString dataPath = arguments[0];
    const QString settingsFolder = arguments.size() == 2 ? arguments[1] : QCoreApplication::applicationDirPath();

    const ct::ReadResult bytes = ct::readWholeFile(QFile::encodeName(dataPath).toStdString(), kMaxDataFileBytes);
    if (!bytes.ok) {
        std::fprintf(stderr, "choicetask-report: %s\n", bytes.error.c_str());
        return 1;
    }
    const ct::DataFileResult data = ct::readDataFile(bytes.bytes);
    if (!data.ok) {
        std::fprintf(stderr, "choicetask-report: %s, line %d: %s\n", qPrintable(dataPath), data.errorLine,
                     data.error.c_str());
        return 1;
    }
    const ct::SettingsRead settings = ct::ReadSettingsFile(settingsFolder);
    if (!settings.ok()) {
        std::fprintf(stderr, "choicetask-report: %s\n", qPrintable(settings.error));
        return 1;
    }
    std::fputs(qPrintable(ct::earningsReport(QFileInfo(dataPath).fileName(), data.file, settings.settings)), stdout);
    return 0;
}
