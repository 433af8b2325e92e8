#include "setup/preflight.h"

#include "setup/app_context.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryFile>

namespace ct {
namespace {

QString problemWith(const QString &name, const QString &folder, const QString &folderRole)
{
    const QFileInfo file(QDir(folder).absoluteFilePath(name));
    const QString where = QDir::toNativeSeparators(file.absoluteFilePath());
    if (!file.exists())
        return QStringLiteral("The file \"%1\" is missing. It is expected in %2: %3").arg(name, folderRole, where);
    if (file.isDir())
        return QStringLiteral("\"%1\" is a folder, not a file: %2").arg(name, where);
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

QString missingInputProblem(const QString &programFolder)
{
    QStringList problems;
    const QString instructions =
        problemWith(kInstructionFileName, QDir::currentPath(), QStringLiteral("the folder the program is started in"));
    if (!instructions.isEmpty())
        problems << instructions;
    const QString settings = problemWith(kSettingsFileName, programFolder, QStringLiteral("the program's folder"));
    if (!settings.isEmpty())
        problems << settings;
    const QString folder = unwritableFolderProblem();
    if (!folder.isEmpty())
        problems << folder;
    if (problems.isEmpty())
        return {};
    return problems.join(QStringLiteral("\n\n")) + QStringLiteral("\n\nNo participant has been registered.");
}

} // namespace ct
