#include "app/study_folder.h"

#include "rules/experiment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace ct {
namespace {

// Creates `folder` if it is missing and copies the compiled-in sample file
// `name` into it when it holds nothing of that name.
QString putSample(const QString &folder, const QString &name, const QString &what)
{
    const QString shown = QDir::toNativeSeparators(folder);
    if (!QDir().mkpath(folder))
        return QStringLiteral("The %1 %2 could not be created.").arg(what, shown);
    const QString target = QDir(folder).absoluteFilePath(name);
    // A file of the lab's, or a link or folder of that name, stays as it is.
    if (QFileInfo(target).exists() || QFileInfo(target).isSymLink())
        return {};
    // QFile::copy never replaces a file that appeared meanwhile.
    if (!QFile::copy(QStringLiteral(":/sample/") + name, target))
        return QStringLiteral("The sample file \"%1\" could not be copied into the %2 %3.").arg(name, what, shown);
    // Copies of compiled-in files are read-only; the lab edits this one.
    QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner | QFile::WriteUser);
    return {};
}

} // namespace

QString defaultStudyFolder()
{
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        documents = QDir::home().absoluteFilePath(QStringLiteral("Documents"));
    return QDir(documents).absoluteFilePath(QStringLiteral("choicetask data"));
}

QString prepareStudyFolder(const QString &folder)
{
    return putSample(folder, QString::fromLatin1(kInstructionFileName.data(), kInstructionFileName.size()),
                     QStringLiteral("study folder"));
}

QString prepareSettingsFolder(const QString &folder)
{
    return putSample(folder, QString::fromLatin1(kSettingsFileName.data(), kSettingsFileName.size()),
                     QStringLiteral("settings folder"));
}

} // namespace ct
