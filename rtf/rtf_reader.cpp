#include "rtf/rtf_reader.h"

#include "platform/files.h"
#include "rtf/interpreter.h"

#include <QFileInfo>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>

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
        Interpreter interpreter(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), document);
        ok = interpreter.run(reason);
    }
    if (!ok) {
        document.clear();
        setError(error, reason);
    }
    document.setUndoRedoEnabled(undo);
    return ok;
}

void fitTables(QTextDocument &document, double width)
{
    for (QTextFrame *frame : document.rootFrame()->childFrames()) {
        auto *table = qobject_cast<QTextTable *>(frame);
        if (!table)
            continue;
        QTextTableFormat format = table->format();
        QList<QTextLength> widths = format.columnWidthConstraints();
        double columns = 0;
        for (const QTextLength &length : std::as_const(widths)) {
            if (length.type() != QTextLength::FixedLength)
                columns = -1e9;
            columns += length.rawValue();
        }
        // Padding and the thickest borders a cell draws take room besides the columns.
        const double besides = widths.size() * (2 * format.cellPadding() + 3) + 2 * format.margin();
        if (columns <= 0 || columns + besides <= width)
            continue;
        const double scale = std::max(width - besides, 0.0) / columns;
        for (QTextLength &length : widths)
            length = QTextLength(QTextLength::FixedLength, length.rawValue() * scale);
        format.setColumnWidthConstraints(widths);
        table->setFormat(format);
    }
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
            setError(error,
                     QStringLiteral("The file \"%1\" could not be %2: %3")
                         .arg(path,
                              file.problem == FileProblem::Other ? QStringLiteral("read") : QStringLiteral("opened"),
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
