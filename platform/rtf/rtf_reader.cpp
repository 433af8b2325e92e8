#include "platform/rtf/rtf_reader.h"

#include "platform/files.h"
#include "platform/rtf/interpreter.h"

#include <QFileInfo>
#include <QTextDocument>

namespace ct::rtf {
namespace {

void setError(QString *error, const QString &message)
{
    if (error)
        *error = message;
}

} // namespace

bool read(const QByteArray &bytes, QTextDocument &document, QString *error)
{
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    QString reason;
    bool ok = false;
    {
        Interpreter interpreter(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                                document);
        ok = interpreter.run(reason);
    }
    if (!ok) {
        document.clear();
        setError(error, reason);
    }
    document.setUndoRedoEnabled(undo);
    return ok;
}

bool readFile(const QString &path, QTextDocument &document, QString *error)
{
    // Memory follows the file's actual size; a named pipe or a device is
    // refused, never waited on.
    const ReadResult file = readWholeFile(QFileInfo(path).filesystemFilePath(), std::size_t{kMaxFileBytes});
    if (!file.ok) {
        document.clear();
        if (file.problem == FileProblem::TooLarge)
            setError(error, QStringLiteral("The file \"%1\" is too large to be instructions (more than %2 bytes).")
                                .arg(path)
                                .arg(kMaxFileBytes));
        else
            setError(error, QStringLiteral("The file \"%1\" could not be %2: %3")
                                .arg(path,
                                     file.problem == FileProblem::Other ? QStringLiteral("read")
                                                                        : QStringLiteral("opened"),
                                     QString::fromStdString(file.reason)));
        return false;
    }
    const QByteArray bytes = QByteArray::fromRawData(file.bytes.data(), qsizetype(file.bytes.size()));
    QString reason;
    if (!read(bytes, document, &reason)) {
        setError(error, QStringLiteral("The file \"%1\" could not be read as rich text: %2").arg(path, reason));
        return false;
    }
    return true;
}

} // namespace ct::rtf
