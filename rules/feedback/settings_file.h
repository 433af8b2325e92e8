#pragma once

#include "platform/error.h"
#include "platform/files.h"

#include <QByteArrayView>
#include <QLocale>
#include <QString>

#include <filesystem>
#include <optional>

namespace ct {

// What the settings file "config.ini" in the program's folder holds. They are
// read again at every feedback window and live only for that window.
struct Settings {
    // Money paid per 10000 points; 0 switches every money text off.
    double exchangeRate = 0.0;
    // Written directly in front of every money amount (for example "$").
    QString currencySymbol;

    friend bool operator==(const Settings &, const Settings &) = default;
};

// The largest exchange rate accepted. Even the best possible experiment (eight
// games of 760 points) then earns less than a billion, so every amount keeps
// its cents within the 15 significant digits the money texts are read with. A
// larger rate can only be a typing error.
inline constexpr double kMaxExchangeRate = 1e9;

// Settings files are a few bytes; anything beyond this is not a settings file.
inline constexpr qsizetype kMaxSettingsFileBytes = 64 * 1024;

// Why line 1 cannot be used as the exchange rate.
enum class RateFault {
    Empty,      // the line is empty or blank
    NotANumber, // not a number in the user's number format
    Negative,
    NotFinite, // infinity or not-a-number
    TooLarge,  // above kMaxExchangeRate
};

struct SettingsProblem {
    int line = 1;
    // The line as read, for the message.
    QString text;
    RateFault fault = RateFault::NotANumber;
};

struct ParsedSettings {
    Settings settings;
    std::optional<SettingsProblem> problem;
    bool ok() const { return !problem.has_value(); }
};

// Reads the contents of a settings file.
// - Lines end at LF, CR LF or a lone CR; the line ends are not part of the values. A last
//   line without a line end counts. A UTF-8 byte order mark at the start is
//   dropped.
// - Each line is decoded as UTF-8 when its bytes are valid UTF-8, otherwise as
//   code page 1252.
// - Line 1: the exchange rate written in `locale`'s number format, blanks
//   around it allowed, no thousands separators. A "." where the locale writes
//   "," (or the other way round) is refused rather than guessed at, because
//   "1.250" means 1250 in one format and 1.25 in the other.
// - Line 2: the currency text exactly as written, blanks included.
// - Further lines are ignored.
// - No content at all gives a rate of 0 and no currency text.
ParsedSettings parseSettings(QByteArrayView bytes, const QLocale &locale);

// How messages name the folder the settings file was read from.
inline const QString kProgramFolderRole = QStringLiteral("the program's folder");
inline const QString kSettingsFolderRole = QStringLiteral("the settings folder");
inline QString folderRoleOf(const SettingsFolder &folder)
{
    return folder.besideProgram ? kProgramFolderRole : kSettingsFolderRole;
}

// Where a command reads the settings file: the folder named on its command
// line (by the bytes of its name), or else the program's settings folder;
// with how messages name it.
struct CommandSettingsFolder {
    std::filesystem::path path;
    QString role;
};
inline CommandSettingsFolder commandSettingsFolder(const std::optional<std::filesystem::path> &named)
{
    if (named)
        return {*named, QStringLiteral("the settings folder named on the command line")};
    const SettingsFolder own = settingsFolder();
    return {own.path, folderRoleOf(own)};
}

// The message for the experimenter about a line that cannot be used.
QString describeSettingsProblem(const SettingsProblem &problem, const QString &filePath, const QLocale &locale,
                                const QString &folderRole = kProgramFolderRole);

struct SettingsRead {
    Settings settings;
    // Empty when the settings were read; otherwise the message for the
    // experimenter, naming the file, its folder and the line.
    Error error;
    bool ok() const { return error.empty(); }
};

// Reads "config.ini" from the program's folder (or another folder, named in
// messages as `folderRole`); the file is only read, never created or written.
SettingsRead ReadSettingsFile(const std::filesystem::path &programFolder, const QLocale &locale = QLocale(),
                              const QString &folderRole = kProgramFolderRole);

} // namespace ct
