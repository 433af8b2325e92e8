#include "rules/feedback/settings_file.h"

#include "platform/files.h"
#include "rules/experiment.h"
#include "rules/feedback/text_decoding.h"
#include "rules/quoted_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <string>

namespace ct {
namespace {

// The bytes of line `number` (1-based) without its line end, or nothing when
// the content has fewer lines. CR LF, LF and a lone CR each end a line.
std::optional<QByteArrayView> lineOf(QByteArrayView bytes, int number)
{
    qsizetype start = 0;
    for (int line = 1; start < bytes.size(); ++line) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        if (line == number)
            return bytes.sliced(start, end - start);
        start = end + (bytes.sliced(end).startsWith("\r\n") ? 2 : 1);
    }
    return std::nullopt;
}

std::optional<RateFault> rateFault(const QString &text, const QLocale &locale, double &rate)
{
    const QString number = text.trimmed();
    if (number.isEmpty())
        return RateFault::Empty;
    QLocale strict = locale;
    strict.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = strict.toDouble(number, &ok);
    if (!ok)
        return std::isinf(value) ? RateFault::TooLarge : RateFault::NotANumber;
    if (std::isnan(value) || std::isinf(value))
        return RateFault::NotFinite;
    if (value < 0)
        return RateFault::Negative;
    if (value > kMaxExchangeRate)
        return RateFault::TooLarge;
    rate = value + 0.0; // -0 becomes 0
    return std::nullopt;
}

QString folderOf(const QString &filePath)
{
    return QDir::toNativeSeparators(QFileInfo(filePath).absolutePath());
}

} // namespace

ParsedSettings parseSettings(QByteArrayView bytes, const QLocale &locale)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    ParsedSettings parsed;
    const std::optional<QByteArrayView> rateLine = lineOf(bytes, 1);
    if (!rateLine)
        return parsed;
    const QString rateText = decodeUtf8OrWindows1252(*rateLine);
    if (const auto fault = rateFault(rateText, locale, parsed.settings.exchangeRate)) {
        parsed.settings = {};
        parsed.problem = SettingsProblem{1, rateText, *fault};
        return parsed;
    }
    if (const std::optional<QByteArrayView> currencyLine = lineOf(bytes, 2))
        parsed.settings.currencySymbol = decodeUtf8OrWindows1252(*currencyLine);
    return parsed;
}

QString describeSettingsProblem(const SettingsProblem &problem, const QString &filePath, const QLocale &locale,
                                const QString &folderRole)
{
    QString where = QStringLiteral("Line %1 of the settings file \"%2\" in %3 %4")
                        .arg(QString::number(problem.line), QFileInfo(filePath).fileName(), folderRole,
                             folderOf(filePath));
    const QString point = locale.decimalPoint();
    const QString expected =
        QStringLiteral("It must hold the exchange rate, the money paid per 10000 points, as a number written with "
                       "this computer's decimal separator \"")
        + point + QStringLiteral("\" and no thousands separators, for example 50 or 12") + point
        + QStringLiteral("5 (0 shows no money amounts).");
    const QString quoted = QString::fromStdString(quotedForMessage(problem.text.toStdString()));
    switch (problem.fault) {
    case RateFault::Empty:
        return QStringLiteral("%1 is empty. %2").arg(where, expected);
    case RateFault::NotANumber:
        return QStringLiteral("%1 is not a number: %2. %3").arg(where, quoted, expected);
    case RateFault::Negative:
        return QStringLiteral("%1 holds a negative exchange rate: %2. The exchange rate must be 0 or more.")
            .arg(where, quoted);
    case RateFault::NotFinite:
        return QStringLiteral("%1 does not hold a finite number: %2. %3").arg(where, quoted, expected);
    case RateFault::TooLarge:
        return QStringLiteral("%1 holds an exchange rate that is too large: %2. The largest accepted is %3 "
                              "(money per 10000 points).")
            .arg(where, quoted, QString::number(kMaxExchangeRate, 'f', 0));
    }
    return where;
}

SettingsRead ReadSettingsFile(const std::filesystem::path &programFolder, const QLocale &locale,
                              const QString &folderRole)
{
    // The folder's name as the system has it: a name that is not UTF-8 (an
    // old USB stick's Latin-1) must not turn into another folder's.
    const std::filesystem::path file = programFolder / kSettingsFileName;
    // For messages only.
    const QString path = QString::fromStdString(absolutePath(file));
    SettingsRead read;
    const ReadResult bytes = readWholeFile(file, static_cast<std::size_t>(kMaxSettingsFileBytes));
    if (!bytes.ok()) {
        read.error.message = QStringLiteral("The settings file \"%1\" could not be read from %2 %3.\n\n%4")
                                 .arg(QString::fromLatin1(kSettingsFileName), folderRole, folderOf(path),
                                      QString::fromStdString(bytes.error.message))
                                 .toStdString();
        return read;
    }
    const ParsedSettings parsed = parseSettings(QByteArrayView(bytes.bytes.data(), qsizetype(bytes.bytes.size())),
                                                locale);
    if (parsed.problem) {
        read.error = {describeSettingsProblem(*parsed.problem, path, locale, folderRole).toStdString(),
                      parsed.problem->line};
        return read;
    }
    read.settings = parsed.settings;
    return read;
}

} // namespace ct
