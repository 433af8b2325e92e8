#include "app/study_folder.h"

#include "rules/experiment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace ct {
namespace {

// The sample instruction file, compiled in.
const QString kSample = QStringLiteral(":/sample/instructions_condition_1.rtf");

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
    const QString shown = QDir::toNativeSeparators(folder);
    if (!QDir().mkpath(folder))
        return QStringLiteral("The study folder %1 could not be created.").arg(shown);
    const QString instructions = QDir(folder).absoluteFilePath(
        QString::fromLatin1(kInstructionFileName.data(), kInstructionFileName.size()));
    // An instruction file of the lab's, or a link or folder of that name, stays
    // as it is.
    if (QFileInfo(instructions).exists() || QFileInfo(instructions).isSymLink())
        return {};
    // QFile::copy never replaces a file that appeared meanwhile.
    if (!QFile::copy(kSample, instructions))
        return QStringLiteral("The sample instruction file could not be copied into the study folder %1.").arg(shown);
    // Copies of compiled-in files are read-only; the lab edits this one.
    QFile::setPermissions(instructions, QFile::permissions(instructions) | QFile::WriteOwner | QFile::WriteUser);
    return {};
}

} // namespace ct
