#include "rules/setup/preflight.h"

#include "rules/experiment.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

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

} // namespace

QString missingInputProblem(const QString &programFolder)
{
    QStringList problems;
    const QString instructions =
        problemWith(QString::fromLatin1(kInstructionFileName), QDir::currentPath(), QStringLiteral("the folder the program is started in"));
    if (!instructions.isEmpty())
        problems << instructions;
    const QString settings = problemWith(QString::fromLatin1(kSettingsFileName), programFolder, QStringLiteral("the program's folder"));
    if (!settings.isEmpty())
        problems << settings;
    if (problems.isEmpty())
        return {};
    return problems.join(QStringLiteral("\n\n")) + QStringLiteral("\n\nNo participant has been registered.");
}

} // namespace ct
