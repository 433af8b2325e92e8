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

void rememberFileWidths(QTextFrame &frame);

} // namespace

Error read(const QByteArray &bytes, QTextDocument &document, const std::atomic_bool *stop)
{
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    QString reason;
    bool ok = false;
    {
        Interpreter interpreter(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), document,
                                stop);
        ok = interpreter.run(reason);
    }
    Error error;
    if (!ok) {
        document.clear();
        error.message = reason.toStdString();
    } else {
        rememberFileWidths(*document.rootFrame());
    }
    document.setUndoRedoEnabled(undo);
    return error;
}

namespace {

// The column widths a table's file gives, kept beside the widths it is shown with.
constexpr int kFileColumnWidths = QTextFormat::UserProperty + 1;

// Padding and the borders between and around the cells take room besides the
// columns: as much as the thickest border a cell of the first row draws.
double roomBesidesColumns(const QTextTable &table, qsizetype columns)
{
    const QTextTableFormat format = table.format();
    double border = 1;
    for (int column = 0; column < table.columns(); ++column) {
        const QTextTableCellFormat cell = table.cellAt(0, column).format().toTableCellFormat();
        border = std::max({border, cell.leftBorder(), cell.rightBorder()});
    }
    return static_cast<double>(columns) * 2 * format.cellPadding() + static_cast<double>(columns + 1) * border
           + 2 * (format.margin() + format.border());
}

// The column widths of every table as its file gives them, kept before the
// document is scaled or fitted to a box.
void rememberFileWidths(QTextFrame &frame)
{
    for (QTextFrame *child : frame.childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(child)) {
            QTextTableFormat format = table->format();
            format.setProperty(kFileColumnWidths, QVariant::fromValue(format.columnWidthConstraints()));
            table->setFormat(format);
        }
        rememberFileWidths(*child);
    }
}

void fitTable(QTextTable &table, double width, double scale)
{
    QTextTableFormat format = table.format();
    QList<QTextLength> fileWidths;
    if (format.hasProperty(kFileColumnWidths))
        fileWidths = format.property(kFileColumnWidths).value<QList<QTextLength>>();
    else
        fileWidths = format.columnWidthConstraints();
    double columns = 0;
    for (const QTextLength &length : std::as_const(fileWidths)) {
        if (length.type() != QTextLength::FixedLength)
            return; // sized in percent, or by its content
        columns += length.rawValue();
    }
    if (columns <= 0)
        return;
    const double besides = roomBesidesColumns(table, fileWidths.size());
    columns *= scale;
    const double fit = columns + besides <= width ? 1.0 : std::max(width - besides, 0.0) / columns;
    QList<QTextLength> shown = fileWidths;
    for (QTextLength &length : shown)
        length = QTextLength(QTextLength::FixedLength, length.rawValue() * scale * fit);
    if (shown == format.columnWidthConstraints())
        return; // laying the table out again would change nothing
    if (!format.hasProperty(kFileColumnWidths))
        format.setProperty(kFileColumnWidths, QVariant::fromValue(fileWidths));
    format.setColumnWidthConstraints(shown);
    table.setFormat(format);
}

// The tables of `frame` and of the boxes in it; tables inside cells are sized in
// percent of their cell.
void fitTablesIn(QTextFrame &frame, double width, double scale)
{
    for (QTextFrame *child : frame.childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(child)) {
            fitTable(*table, width, scale);
            continue;
        }
        const QTextFrameFormat format = child->frameFormat();
        double inner = width - 2 * (format.border() + format.padding()) - format.leftMargin() - format.rightMargin();
        if (format.width().type() == QTextLength::FixedLength)
            inner = std::min(inner, format.width().rawValue() - 2 * (format.border() + format.padding()));
        fitTablesIn(*child, inner, scale);
    }
}

} // namespace

void fitTables(QTextDocument &document, double width, double scale)
{
    fitTablesIn(*document.rootFrame(), width, scale);
}

namespace {

// A file's full path for messages, worked out from the system's own names: a
// relative name finds the file in a working folder that a QString cannot name
// (one named in Latin-1 on a UTF-8 system).
QString shownPath(const QString &path)
{
    return QString::fromStdString(absolutePath(QFileInfo(path).filesystemFilePath()));
}

} // namespace

Error readFileBytes(const QString &path, QByteArray &bytes)
{
    // Memory follows the file's actual size; a named pipe or a device is
    // refused, never waited on.
    const ReadResult file = readWholeFile(QFileInfo(path).filesystemFilePath(), std::size_t{kMaxFileBytes});
    if (!file.ok()) {
        bytes.clear();
        if (file.problem == FileProblem::TooLarge)
            return {QStringLiteral("The file \"%1\" is too large to be instructions (more than %2 bytes).")
                        .arg(shownPath(path))
                        .arg(kMaxFileBytes)
                        .toStdString()};
        return {QStringLiteral("The file \"%1\" could not be %2: %3")
                    .arg(shownPath(path),
                         file.problem == FileProblem::Other ? QStringLiteral("read") : QStringLiteral("opened"),
                         QString::fromStdString(file.reason))
                    .toStdString()};
    }
    bytes = QByteArray(file.bytes.data(), qsizetype(file.bytes.size()));
    return {};
}

Error readFileContent(const QByteArray &bytes, const QString &path, QTextDocument &document,
                      const std::atomic_bool *stop)
{
    Error error = read(bytes, document, stop);
    if (!error.empty())
        error.message = "The file \"" + shownPath(path).toStdString()
                        + "\" could not be read as rich text: " + error.message;
    return error;
}

Error readFile(const QString &path, QTextDocument &document)
{
    QByteArray bytes;
    if (Error error = readFileBytes(path, bytes); !error.empty()) {
        document.clear();
        return error;
    }
    return readFileContent(bytes, path, document);
}

} // namespace ct::rtf
