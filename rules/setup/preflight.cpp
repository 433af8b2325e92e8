#include "rules/setup/preflight.h"

#include "rules/experiment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryFile>

#include <filesystem>

namespace ct {
namespace {

// What stands at `path` when it is neither a regular file (or a link to one)
// nor a folder, in words; empty otherwise.
QString specialFileKind(const QString &path)
{
    std::error_code error;
    const auto status = std::filesystem::status(QFile::encodeName(path).toStdString(), error);
    if (error || std::filesystem::is_regular_file(status) || std::filesystem::is_directory(status))
        return {};
    if (std::filesystem::is_fifo(status))
        return QStringLiteral("a named pipe");
    if (std::filesystem::is_socket(status))
        return QStringLiteral("a socket");
    if (std::filesystem::is_block_file(status) || std::filesystem::is_character_file(status))
        return QStringLiteral("a device");
    return QStringLiteral("something other than a file");
}

QString problemWith(const QString &name, const QString &folder, const QString &folderRole)
{
    const QFileInfo file(QDir(folder).absoluteFilePath(name));
    const QString where = QDir::toNativeSeparators(file.absoluteFilePath());
    if (!file.exists())
        return QStringLiteral("The file \"%1\" is missing. It is expected in %2: %3").arg(name, folderRole, where);
    if (file.isDir())
        return QStringLiteral("\"%1\" is a folder, not a file: %2").arg(name, where);
    // A named pipe would make the program wait for a writer before any window
    // appears; it is never opened.
    if (const QString kind = specialFileKind(file.absoluteFilePath()); !kind.isEmpty())
        return QStringLiteral("\"%1\" is %2, not a file: %3").arg(name, kind, where);
    if (!file.isReadable())
        return QStringLiteral("The file \"%1\" cannot be read (check its permissions): %2").arg(name, where);
    return {};
}

// The data file goes into the working folder: a probe file is created there,
// written and removed again, so that a folder that cannot take the data file
// is found before a participant sits down.
QString unwritableFolderProblem()
{
    const QString folder = QDir::toNativeSeparators(QDir::currentPath());
    QTemporaryFile probe(QDir::current().filePath(QStringLiteral("choicetask-write-test-XXXXXX")));
    if (!probe.open() || probe.write("\r\n", 2) != 2 || !probe.flush())
        return QStringLiteral("The folder the program is started in cannot be written to, so the data file could not "
                              "be saved there: %1 (%2). Start the program in a folder where files can be written.")
            .arg(folder, probe.errorString());
    return {};
}

} // namespace

Error missingInputProblem(const QString &programFolder)
{
    QStringList problems;
    const QString instructions = problemWith(QString::fromLatin1(kInstructionFileName), QDir::currentPath(),
                                             QStringLiteral("the folder the program is started in"));
    if (!instructions.isEmpty())
        problems << instructions;
    const QString settings = problemWith(QString::fromLatin1(kSettingsFileName), programFolder,
                                         QStringLiteral("the program's folder"));
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
