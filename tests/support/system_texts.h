#pragma once

// What the program's messages hold that differs between systems: paths as
// it shows them, and the system's own words for a missing file.

#include <QDir>
#include <QString>

#include <system_error>

namespace ct::test {

// `path` with the system's separators, as absolute paths appear in messages.
inline QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// What the system says about a file that is not there, without the final
// full stop.
inline QString missingFileReason()
{
#ifdef _WIN32
    // ERROR_FILE_NOT_FOUND, in the system's words.
    QString reason = QString::fromStdString(std::system_category().message(2)).trimmed();
    if (reason.endsWith(QLatin1Char('.')))
        reason.chop(1);
    return reason;
#else
    return QStringLiteral("No such file or directory");
#endif
}

} // namespace ct::test
