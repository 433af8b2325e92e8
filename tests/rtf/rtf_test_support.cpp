#include "rtf_test_support.h"

#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextTable>

#include <gtest/gtest.h>

namespace ct::rtf::testing {

ReadOutcome readRtf(const QByteArray &rtf)
{
    ReadOutcome outcome;
    outcome.document = std::make_unique<QTextDocument>();
    const Error error = read(rtf, *outcome.document);
    outcome.ok = error.empty();
    outcome.error = QString::fromStdString(error.message);
    return outcome;
}

QString dataPath(const QString &relativePath)
{
    return QStringLiteral(CT_RTF_TEST_DATA "/") + relativePath;
}

QByteArray dataFile(const QString &relativePath)
{
    QFile file(dataPath(relativePath));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QByteArray wrap(const std::string &body)
{
    static const std::string header =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
        "{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\fnil\\fcharset128 MS Mincho;}{\\f3\\fnil\\fcharset204 Arial Cyr;}"
        "{\\f4\\fnil\\fcharset2 Wingdings;}{\\f5\\fnil\\fcharset134 SimSun;}{\\f6\\fnil\\fcharset129 Gulim;}"
        "{\\f7\\fnil\\fcharset136 MingLiU;}{\\f8\\fnil\\cpg1253 Greek;}{\\f9\\fmodern\\fcharset0 Courier New;}}"
        "{\\colortbl;\\red255\\green0\\blue0;\\green0\\blue255;;}\n";
    const std::string document = header + body + "}";
    return QByteArray(document.data(), static_cast<qsizetype>(document.size()));
}

QString textOf(const QTextDocument &document)
{
    QString text = document.toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

QTextCharFormat charFormatOf(const QTextDocument &document, const QString &needle)
{
    const QTextCursor found = document.find(needle);
    if (found.isNull())
        return {};
    QTextCursor cursor(found);
    cursor.setPosition(found.selectionStart() + 1);
    return cursor.charFormat();
}

QTextBlockFormat blockFormatOf(const QTextDocument &document, const QString &needle)
{
    const QTextCursor found = document.find(needle);
    if (found.isNull())
        return {};
    return found.block().blockFormat();
}

QList<QTextTable *> tablesOf(const QTextDocument &document)
{
    QList<QTextTable *> tables;
    for (QTextFrame *frame : document.rootFrame()->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(frame))
            tables.append(table);
    }
    return tables;
}

QString cellText(QTextTable *table, int row, int column)
{
    const QTextTableCell cell = table->cellAt(row, column);
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
    return cursor.selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

QList<ShownImage> imagesOf(const QTextDocument &document)
{
    QList<ShownImage> images;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat()) {
                const QTextImageFormat image = format.toImageFormat();
                images.append({image.name(), image.width(), image.height()});
            }
        }
    }
    return images;
}

namespace {

QString blockOutline(const QTextBlock &block)
{
    QString line;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat format = it.fragment().charFormat();
        if (format.isImageFormat()) {
            const QTextImageFormat image = format.toImageFormat();
            line += QStringLiteral("[picture %1x%2]").arg(qRound(image.width())).arg(qRound(image.height()));
        } else {
            line += it.fragment().text();
        }
    }
    return line.replace(QChar::LineSeparator, QLatin1Char('\n'));
}

void frameOutline(QTextFrame *frame, const QString &indent, QStringList &lines)
{
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        QTextFrame *child = it.currentFrame();
        if (!child) {
            lines.append(indent + blockOutline(it.currentBlock()));
            continue;
        }
        auto *table = qobject_cast<QTextTable *>(child);
        if (!table) {
            const QTextFrameFormat format = child->frameFormat();
            lines.append(indent
                         + QStringLiteral("[frame %1 border %2 %3]")
                               .arg(qRound(format.width().rawValue()))
                               .arg(format.border())
                               .arg(format.borderBrush().color().name()));
            frameOutline(child, indent + QStringLiteral("  "), lines);
            continue;
        }
        QStringList widths;
        for (const QTextLength &width : table->format().columnWidthConstraints())
            widths.append(QString::number(qRound(width.rawValue())));
        lines.append(indent
                     + QStringLiteral("[table %1x%2 columns %3]")
                           .arg(table->rows())
                           .arg(table->columns())
                           .arg(widths.join(',')));
        for (int row = 0; row < table->rows(); ++row) {
            for (int column = 0; column < table->columns(); ++column) {
                const QTextTableCell cell = table->cellAt(row, column);
                if (cell.row() != row || cell.column() != column)
                    continue; // covered by a merged cell
                QString line = indent + QStringLiteral("  (%1,%2").arg(row).arg(column);
                if (cell.rowSpan() > 1 || cell.columnSpan() > 1)
                    line += QStringLiteral(" span %1x%2").arg(cell.rowSpan()).arg(cell.columnSpan());
                lines.append(line + QStringLiteral(") ")
                             + cellText(table, row, column).replace(QLatin1Char('\n'), QLatin1Char('|')));
            }
        }
    }
}

} // namespace

QString outlineOf(const QTextDocument &document)
{
    QStringList lines;
    frameOutline(document.rootFrame(), QString(), lines);
    return lines.join(QLatin1Char('\n'));
}

void expectFormats(const QTextDocument &document, const std::vector<FormatCheck> &checks)
{
    for (const FormatCheck &check : checks) {
        SCOPED_TRACE(std::string(check.needle) + " property " + std::to_string(check.property));
        const QString needle = QString::fromUtf8(check.needle);
        ASSERT_FALSE(document.find(needle).isNull());
        const QVariant actual = check.paragraph ? blockFormatOf(document, needle).property(check.property)
                                                : charFormatOf(document, needle).property(check.property);
        EXPECT_EQ(actual, check.expected);
    }
}

} // namespace ct::rtf::testing
