#include "tools/report_inputs.h"

#include "platform/files.h"
#include "rules/experiment.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <filesystem>

namespace ct {
namespace {

const QString kDataSuffix = QStringLiteral(".csv");
const QString kSessionSuffix = QStringLiteral(".session.csv");

std::optional<QLocale> localeNamed(const QString &name)
{
    const QLocale locale(name);
    const bool isC = name == QLatin1String("C") || name == QLatin1String("POSIX");
    if (locale.language() == QLocale::C && !isC)
        return std::nullopt;
    return locale;
}

QString participantOf(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    return name.endsWith(kDataSuffix) ? name.chopped(kDataSuffix.size()) : name;
}

// "<file>, line <n>: <what is wrong>", or without the line when it is not about one.
QString refusal(const QString &path, const Error &error)
{
    const QString message = QString::fromStdString(error.message);
    return error.line > 0 ? QStringLiteral("%1, line %2: %3").arg(path, QString::number(error.line), message)
                          : QStringLiteral("%1: %2").arg(path, message);
}

} // namespace

ReportArguments parseReportArguments(const QStringList &arguments)
{
    ReportArguments parsed;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (optionsEnded || !argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-")) {
            parsed.inputs << argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            parsed.help = true;
        } else if (argument == QLatin1String("--csv") || argument == QLatin1String("--payments")
                   || argument == QLatin1String("--dataset")) {
            const ReportMode mode = argument == QLatin1String("--csv")        ? ReportMode::Trials
                                    : argument == QLatin1String("--payments") ? ReportMode::Payments
                                                                              : ReportMode::Dataset;
            if (parsed.mode != ReportMode::Earnings && parsed.mode != mode) {
                parsed.problem = QStringLiteral("--csv, --payments and --dataset write different things: give one "
                                                "of them");
                return parsed;
            }
            parsed.mode = mode;
            if (mode == ReportMode::Dataset) {
                if (i + 1 == arguments.size()) {
                    parsed.problem = argument + QStringLiteral(" needs a value");
                    return parsed;
                }
                parsed.datasetFolder = arguments[++i];
            }
        } else if (argument == QLatin1String("--settings") || argument == QLatin1String("--locale")) {
            if (i + 1 == arguments.size()) {
                parsed.problem = argument + QStringLiteral(" needs a value");
                return parsed;
            }
            const QString &value = arguments[++i];
            if (argument == QLatin1String("--settings")) {
                parsed.settingsFolder = value;
                continue;
            }
            const auto locale = localeNamed(value);
            if (!locale) {
                parsed.problem = QStringLiteral(
                                     "unknown locale \"%1\" (write it as language_COUNTRY, for example de_DE)")
                                     .arg(value);
                return parsed;
            }
            parsed.locale = *locale;
            parsed.localeNamed = true;
        } else {
            parsed.problem = QStringLiteral("unknown option \"%1\"").arg(argument);
            return parsed;
        }
    }
    if (!parsed.help && parsed.inputs.isEmpty())
        parsed.problem = QStringLiteral("name at least one data file or folder");
    return parsed;
}

QString localeNote(const ReportArguments &arguments)
{
    const QString locale = QStringLiteral("locale %1 (decimal separator \"%2\")")
                               .arg(arguments.locale.name(), arguments.locale.decimalPoint());
    if (arguments.localeNamed)
        return QStringLiteral("The exchange rate was read in the %1 named with --locale.").arg(locale);
    return QStringLiteral("The exchange rate was read in this computer's %1. If the lab computer uses another, name it "
                          "with --locale, for example --locale de_DE.")
        .arg(locale);
}

QString notAFileProblem(const std::filesystem::path &path, const QString &what)
{
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status) || std::filesystem::is_regular_file(status))
        return {};
    QString kind = QStringLiteral("not a regular file");
    if (std::filesystem::is_directory(status))
        kind = QStringLiteral("a folder");
    else if (std::filesystem::is_fifo(status))
        kind = QStringLiteral("a named pipe");
    return QStringLiteral("\"%1\" cannot be %2: it is %3. Nothing was read from it.")
        .arg(QString::fromStdString(displayPath(path)), what, kind);
}

QString notAFileProblem(const QString &path, const QString &what)
{
    return notAFileProblem(QFileInfo(path).filesystemFilePath(), what);
}

LoadedParticipant loadParticipant(const DataFileInput &input)
{
    LoadedParticipant loaded;
    if (const QString problem = notAFileProblem(input.path, QStringLiteral("a data file")); !problem.isEmpty()) {
        loaded.error = problem;
        return loaded;
    }
    const ReadResult bytes = readWholeFile(QFileInfo(input.path).filesystemFilePath(), kMaxDataFileBytes);
    if (!bytes.ok()) {
        loaded.error = QString::fromStdString(bytes.error.message);
        return loaded;
    }
    DataFileResult data = readDataFile(bytes.bytes);
    if (!data.ok()) {
        loaded.error = refusal(input.path, data.error);
        return loaded;
    }
    ParticipantData participant{input.participant, QFileInfo(input.path).fileName(), std::move(data.file), {}};
    // The session record beside the data file, when there is one. A data
    // file started again mid-game (deleted while the program ran) cannot be
    // matched with it.
    const bool restarted = !participant.data.registrations.empty()
                           && participant.data.registrations.front().restartedAtTrial > 1;
    if (input.path.endsWith(kDataSuffix) && !restarted) {
        const QString recordPath = input.path.chopped(kDataSuffix.size()) + kSessionSuffix;
        const std::filesystem::path record = QFileInfo(recordPath).filesystemFilePath();
        std::error_code ignored;
        if (std::filesystem::exists(std::filesystem::symlink_status(record, ignored))) {
            if (const QString problem = notAFileProblem(recordPath, QStringLiteral("a session record"));
                !problem.isEmpty()) {
                loaded.error = problem;
                return loaded;
            }
            const ReadResult recordBytes = readWholeFile(record, kMaxDataFileBytes);
            if (!recordBytes.ok()) {
                loaded.error = QString::fromStdString(recordBytes.error.message);
                return loaded;
            }
            SessionFactsResult facts = readSessionFacts(recordBytes.bytes);
            if (!facts.facts) {
                loaded.error = refusal(recordPath, facts.error);
                return loaded;
            }
            participant.session = std::move(facts.facts);
        }
    }
    loaded.participant = std::move(participant);
    return loaded;
}

bool participantBefore(const QString &a, const QString &b)
{
    bool aIsNumber = false;
    bool bIsNumber = false;
    const long long aNumber = a.toLongLong(&aIsNumber);
    const long long bNumber = b.toLongLong(&bIsNumber);
    if (aIsNumber != bIsNumber)
        return aIsNumber;
    if (aIsNumber && aNumber != bNumber)
        return aNumber < bNumber;
    return a < b;
}

StudyCheck checkStudy(const std::vector<DataFileInput> &files, const std::function<void(const QString &)> &report)
{
    StudyCheck check;
    for (const DataFileInput &file : files) {
        const LoadedParticipant loaded = loadParticipant(file);
        if (!loaded.participant) {
            report(loaded.error);
            check.ok = false;
        } else {
            check.settingsNeeded = check.settingsNeeded || needsSettings(*loaded.participant);
        }
    }
    return check;
}

bool isDataFileName(const QString &name)
{
    if (!name.endsWith(kDataSuffix))
        return false;
    const QString id = name.chopped(kDataSuffix.size());
    bool isNumber = false;
    const int value = id.toInt(&isNumber);
    return isNumber && value != 0 && value >= -32768 && value <= 32767 && QString::number(value) == id;
}

DataFileList collectDataFiles(const QStringList &inputs, bool settingsFolderNamed)
{
    DataFileList list;
    QStringList sessionRecords;
    QSet<QString> seen;
    const auto add = [&](const QString &path) {
        const QFileInfo info(path);
        const QString key = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
        if (!seen.contains(key)) {
            seen.insert(key);
            list.files.push_back({path, participantOf(path)});
        }
    };
    for (const QString &input : inputs) {
        const QFileInfo info(input);
        if (!info.isDir()) {
            if (input.endsWith(kSessionSuffix))
                sessionRecords << input;
            else
                add(input);
            continue;
        }
        const QDir folder(input);
        if (!settingsFolderNamed && folder.exists(QStringLiteral("config.ini"))) {
            list.problem = QStringLiteral("the folder \"%1\" holds a config.ini. A folder named here is read for its "
                                          "data files; to read the exchange rate from it, write --settings %1")
                               .arg(input);
            return list;
        }
        const QStringList names = folder.entryList(QDir::Files | QDir::System, QDir::Name);
        const QSet<QString> nameSet(names.begin(), names.end());
        QStringList skipped;
        int found = 0;
        for (const QString &name : names) {
            if (isDataFileName(name)) {
                add(folder.filePath(name));
                ++found;
            } else if (name.endsWith(kSessionSuffix)
                       && isDataFileName(name.chopped(kSessionSuffix.size()) + kDataSuffix)) {
                const QString dataFile = name.chopped(kSessionSuffix.size()) + kDataSuffix;
                if (!nameSet.contains(dataFile))
                    skipped << QStringLiteral("%1 (no data file %2 beside it)").arg(name, dataFile);
            } else if (name != QLatin1String(kInstructionFileName.data(), qsizetype(kInstructionFileName.size()))
                       && !(settingsFolderNamed && name == QLatin1String("config.ini"))) {
                skipped << QStringLiteral("%1 (not named as the program names its files)").arg(name);
            }
        }
        for (const QString &name : skipped)
            list.skipped << folder.filePath(name);
        if (found == 0) {
            list.problem = QStringLiteral("the folder \"%1\" holds no data files (<ID>.csv)").arg(input);
            return list;
        }
    }
    for (const QString &record : sessionRecords) {
        const QString dataFile = record.chopped(kSessionSuffix.size()) + kDataSuffix;
        const QFileInfo info(dataFile);
        if (!seen.contains(info.exists() ? info.canonicalFilePath() : info.absoluteFilePath())) {
            list.problem = QStringLiteral("\"%1\" is a session record; name its data file \"%2\" instead (the session "
                                          "record beside it is read with it)")
                               .arg(record, dataFile);
            return list;
        }
    }
    std::stable_sort(list.files.begin(), list.files.end(), [](const DataFileInput &a, const DataFileInput &b) {
        return participantBefore(a.participant, b.participant);
    });
    return list;
}

} // namespace ct
