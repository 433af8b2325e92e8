#include "rules/setup/preflight.h"

#include "platform/files.h"
#include "rules/experiment.h"

#include <QDir>
#include <QStringList>

#include <system_error>

namespace ct {
namespace {

// Paths are the system's own from here to the disk (a folder named in
// Latin-1 on a UTF-8 system stays that folder); QString only for messages.
QString shown(const std::filesystem::path &path)
{
    return QDir::toNativeSeparators(QString::fromStdString(absolutePath(path)));
}

// What stands at `path` when it is neither a regular file (or a link to one)
// nor a folder, in words; empty otherwise.
QString specialFileKind(std::filesystem::file_status status)
{
    if (std::filesystem::is_regular_file(status) || std::filesystem::is_directory(status))
        return {};
    if (std::filesystem::is_fifo(status))
        return QStringLiteral("a named pipe");
    if (std::filesystem::is_socket(status))
        return QStringLiteral("a socket");
    if (std::filesystem::is_block_file(status) || std::filesystem::is_character_file(status))
        return QStringLiteral("a device");
    return QStringLiteral("something other than a file");
}

QString problemWith(std::string_view fileName, const std::filesystem::path &folder, const QString &folderRole)
{
    const std::filesystem::path path = folder / fileName;
    const QString name = QString::fromLatin1(fileName.data(), qsizetype(fileName.size()));
    const QString where = shown(path);
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status))
        return QStringLiteral("The file \"%1\" is missing. It is expected in %2: %3").arg(name, folderRole, where);
    if (std::filesystem::is_directory(status))
        return QStringLiteral("\"%1\" is a folder, not a file: %2").arg(name, where);
    // A named pipe would make the program wait for a writer before any window
    // appears; it is never opened.
    if (const QString kind = specialFileKind(status); !kind.isEmpty())
        return QStringLiteral("\"%1\" is %2, not a file: %3").arg(name, kind, where);
    if (!checkReadable(path).ok())
        return QStringLiteral("The file \"%1\" cannot be read (check its permissions): %2").arg(name, where);
    return {};
}

// The data file goes into the working folder: a probe file is created there,
// written and removed again, so that a folder that cannot take the data file
// is found before a participant sits down.
QString unwritableFolderProblem()
{
    const FileResult probe = probeFolder(".");
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    if (!probe.ok())
        return QStringLiteral("The folder the program is started in cannot be written to, so the data file could not "
                              "be saved there: %1 (%2). Start the program in a folder where files can be written.")
            .arg(shown(error ? std::filesystem::path(".") : current), QString::fromStdString(probe.reason));
    return {};
}

} // namespace

Error missingInputProblem(const std::filesystem::path &settingsFolder, const QString &folderRole)
{
    QStringList problems;
    // The instruction file by its name alone: the system finds it in the
    // working folder, whatever that folder's name is.
    const QString instructions = problemWith(kInstructionFileName, std::filesystem::path(),
                                             QStringLiteral("the folder the program is started in"));
    if (!instructions.isEmpty())
        problems << instructions;
    const QString settings = problemWith(kSettingsFileName, settingsFolder, folderRole);
    if (!settings.isEmpty())
        problems << settings;
    const QString folder = unwritableFolderProblem();
    if (!folder.isEmpty())
        problems << folder;
    if (problems.isEmpty())
        return {};
    return {(problems.join(QStringLiteral("\n\n")) + QStringLiteral("\n\nNo participant has been registered."))
                .toStdString()};
}

} // namespace ct
