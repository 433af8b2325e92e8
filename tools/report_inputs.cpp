#include "tools/report_inputs.h"

#include "platform/files.h"

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
        } else if (argument == QLatin1String("--csv") || argument == QLatin1String("--payments")) {
            const ReportMode mode = argument == QLatin1String("--csv") ? ReportMode::Trials : ReportMode::Payments;
            if (parsed.mode != ReportMode::Earnings && parsed.mode != mode) {
                parsed.problem = QStringLiteral("--csv and --payments write different tables: give one of them");
                return parsed;
            }
            parsed.mode = mode;
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

QString notAFileProblem(const QString &path, const QString &what)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isFile())
        return {};
    QString kind = QStringLiteral("not a regular file");
    if (info.isDir())
        kind = QStringLiteral("a folder");
    else if (std::filesystem::is_fifo(info.filesystemFilePath()))
        kind = QStringLiteral("a named pipe");
    return QStringLiteral("\"%1\" cannot be %2: it is %3. Nothing was read from it.").arg(path, what, kind);
}

LoadedStudy loadStudy(const std::vector<DataFileInput> &files)
{
    LoadedStudy study;
    study.participants.reserve(files.size());
    for (const DataFileInput &input : files) {
        if (const QString problem = notAFileProblem(input.path, QStringLiteral("a data file")); !problem.isEmpty()) {
            study.errors << problem;
            continue;
        }
        const ReadResult bytes = readWholeFile(QFileInfo(input.path).filesystemFilePath(), kMaxDataFileBytes);
        if (!bytes.ok()) {
            study.errors << QString::fromStdString(bytes.error.message);
            continue;
        }
        DataFileResult data = readDataFile(bytes.bytes);
        if (!data.ok()) {
            study.errors << refusal(input.path, data.error);
            continue;
        }
        ParticipantData participant{input.participant, QFileInfo(input.path).fileName(), std::move(data.file), {}};
        // The session record beside the data file, when there is one. A data
        // file started again mid-game (deleted while the program ran) cannot
        // be matched with it.
        const bool restarted = !participant.data.registrations.empty()
                               && participant.data.registrations.front().restartedAtTrial > 1;
        if (input.path.endsWith(kDataSuffix) && !restarted) {
            const QString recordPath = input.path.chopped(kDataSuffix.size()) + kSessionSuffix;
            const std::filesystem::path record = QFileInfo(recordPath).filesystemFilePath();
            std::error_code ignored;
            if (std::filesystem::exists(std::filesystem::symlink_status(record, ignored))) {
                if (const QString problem = notAFileProblem(recordPath, QStringLiteral("a session record"));
                    !problem.isEmpty()) {
                    study.errors << problem;
                    continue;
                }
                const ReadResult recordBytes = readWholeFile(record, kMaxDataFileBytes);
                if (!recordBytes.ok()) {
                    study.errors << QString::fromStdString(recordBytes.error.message);
                    continue;
                }
                SessionFactsResult facts = readSessionFacts(recordBytes.bytes);
                if (!facts.facts) {
                    study.errors << refusal(recordPath, facts.error);
                    continue;
                }
                participant.session = std::move(facts.facts);
            }
        }
        study.participants.push_back(std::move(participant));
    }
    return study;
}

bool needsSettings(const std::vector<ParticipantData> &participants)
{
    for (const ParticipantData &p : participants) {
        if (!p.session)
            return true;
        int registration = 0;
        for (const Registration &r : p.data.registrations) {
            ++registration;
            for (int game = 1; game <= static_cast<int>(r.games.size()); ++game)
                if (r.games[game - 1].complete && !p.session->rates.contains({registration, game}))
                    return true;
        }
    }
    return false;
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
        const QStringList names = folder.entryList({QStringLiteral("*.csv")}, QDir::Files | QDir::System, QDir::Name);
        int found = 0;
        for (const QString &name : names) {
            if (!name.endsWith(kSessionSuffix)) {
                add(folder.filePath(name));
                ++found;
            }
        }
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
