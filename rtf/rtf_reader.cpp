#include "rtf/rtf_reader.h"

#include "platform/files.h"
#include "rtf/interpreter.h"

#include <QFileInfo>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>

namespace ct::rtf {

Error read(const QByteArray &bytes, QTextDocument &document)
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
    Error error;
    if (!ok) {
        document.clear();
        error.message = reason.toStdString();
    }
    document.setUndoRedoEnabled(undo);
    return error;
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

Error readFile(const QString &path, QTextDocument &document)
{
    const std::filesystem::path file = QFileInfo(path).filesystemFilePath();
    // Messages name the file by its full path, worked out from the system's
    // own names: a relative name finds the file in a working folder that a
    // QString cannot name (one named in Latin-1 on a UTF-8 system).
    const QString shown = QString::fromStdString(absolutePath(file));
    // Memory follows the file's actual size; a named pipe or a device is
    // refused, never waited on.
    const ReadResult loaded = readWholeFile(file, std::size_t{kMaxFileBytes});
    if (!loaded.ok()) {
        document.clear();
        if (loaded.problem == FileProblem::TooLarge)
            return {QStringLiteral("The file \"%1\" is too large to be instructions (more than %2 bytes).")
                        .arg(shown)
                        .arg(kMaxFileBytes)
                        .toStdString()};
        return {QStringLiteral("The file \"%1\" could not be %2: %3")
                    .arg(shown,
                         loaded.problem == FileProblem::Other ? QStringLiteral("read") : QStringLiteral("opened"),
                         QString::fromStdString(loaded.reason))
                    .toStdString()};
    }
    const QByteArray bytes = QByteArray::fromRawData(loaded.bytes.data(), qsizetype(loaded.bytes.size()));
    Error error = read(bytes, document);
    if (!error.empty())
        error.message = "The file \"" + shown.toStdString() + "\" could not be read as rich text: " + error.message;
    return error;
}

} // namespace ct::rtf
