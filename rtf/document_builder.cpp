#include "rtf/document_builder.h"

#include "rtf/units.h"

#include <QImage>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

namespace ct::rtf {

DocumentBuilder::DocumentBuilder(QTextDocument &document) : m_document(document), m_cursor(&document)
{
    m_cursor.beginEditBlock();
}

DocumentBuilder::~DocumentBuilder()
{
    m_cursor.endEditBlock();
}

void DocumentBuilder::flushRun()
{
    if (m_run.isEmpty())
        return;
    m_cursor.insertText(m_run, m_runFormat);
    m_run.clear();
}

void DocumentBuilder::addCellRightEdge(int twips)
{
    if (m_cellRightEdges.size() < kMaxColumns)
        m_cellRightEdges.append(twips);
}

void DocumentBuilder::placeContent(bool inTable)
{
    if (inTable && !m_table) {
        flushRun();
        startTable();
    } else if (!inTable && m_table) {
        flushRun();
        leaveTable();
    }
    if (m_table && m_rowPending) {
        flushRun();
        m_rowPending = false;
        m_cellPending = false;
        if (m_row + 1 >= kMaxRows) {
            leaveTable();
            startTable();
        } else {
            m_table->appendRows(1);
            moveToCell(m_row + 1, 0);
        }
    }
    if (m_table && m_cellPending) {
        flushRun();
        m_cellPending = false;
        nextCell();
    }
    if (m_breakPending) {
        flushRun();
        m_cursor.insertBlock(m_blockFormat, m_runFormat);
        m_breakPending = false;
    }
}

void DocumentBuilder::setBlockFormat(const QTextBlockFormat &format, quint64 formatId)
{
    if (formatId != 0 && formatId == m_blockFormatId)
        return;
    m_cursor.setBlockFormat(format);
    m_blockFormat = format;
    m_blockFormatId = formatId;
}

void DocumentBuilder::startTable()
{
    const QList<int> &cellRightEdges = m_cellRightEdges;
    // A table directly follows the paragraph before it; Qt adds the block boundary.
    m_breakPending = false;
    const int columns = std::clamp(static_cast<int>(cellRightEdges.size()), 1, kMaxColumns);
    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setCellPadding(3);
    format.setCellSpacing(0);
    if (cellRightEdges.size() == columns) {
        QList<QTextLength> widths;
        int left = 0;
        for (const int right : cellRightEdges) {
            widths.append(QTextLength(QTextLength::FixedLength, twipsToPixels(std::max(right - left, 0))));
            left = right;
        }
        format.setColumnWidthConstraints(widths);
    }
    m_table = m_cursor.insertTable(1, columns, format);
    m_blockFormatId = 0;
    m_row = 0;
    m_column = 0;
    m_rowPending = false;
    m_cellPending = false;
}

void DocumentBuilder::leaveTable()
{
    m_table = nullptr;
    m_rowPending = false;
    m_cellPending = false;
    m_breakPending = false;
    m_cursor.movePosition(QTextCursor::End);
    m_blockFormatId = 0;
}

void DocumentBuilder::moveToCell(int row, int column)
{
    m_row = row;
    m_column = column;
    m_cursor = m_table->cellAt(row, column).firstCursorPosition();
    m_blockFormatId = 0;
}

void DocumentBuilder::appendText(QStringView text, const QTextCharFormat &format, quint64 formatId, bool inTable)
{
    placeContent(inTable);
    if (formatId != m_runFormatId || m_run.isEmpty()) {
        flushRun();
        m_runFormat = format;
        m_runFormatId = formatId;
    }
    m_run.append(text);
}

void DocumentBuilder::appendImage(const QImage &image, double width, double height, bool inTable)
{
    placeContent(inTable);
    flushRun();
    const QString name = QStringLiteral("rtf-picture:%1").arg(++m_images);
    m_document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(width);
    format.setHeight(height);
    m_cursor.insertImage(format);
}

void DocumentBuilder::startFrame(const QTextFrameFormat &format, bool inTable)
{
    if (m_frameDepth++ > 0)
        return; // a text box in a text box shares its frame
    // A frame directly follows the paragraph before it; Qt adds the block boundary.
    m_breakPending = false;
    placeContent(inTable);
    flushRun();
    m_frame = m_cursor.insertFrame(format);
    m_blockFormatId = 0;
}

void DocumentBuilder::endFrame()
{
    if (m_frameDepth == 0 || --m_frameDepth > 0)
        return;
    flushRun();
    // What follows goes on after the frame, in the paragraph it was anchored in.
    m_breakPending = false;
    m_cursor.setPosition(m_frame->lastPosition() + 1);
    m_frame = nullptr;
    m_blockFormatId = 0;
}

void DocumentBuilder::endParagraph(const QTextBlockFormat &format, quint64 formatId, bool inTable)
{
    placeContent(inTable);
    flushRun();
    setBlockFormat(format, formatId);
    m_breakPending = true;
}

void DocumentBuilder::endCell(const QTextBlockFormat &format)
{
    placeContent(true);
    flushRun();
    setBlockFormat(format, 0);
    m_cellPending = true;
}

void DocumentBuilder::nextCell()
{
    if (m_column + 1 < m_table->columns()) {
        moveToCell(m_row, m_column + 1);
    } else if (m_table->columns() < kMaxColumns) {
        // Some rows have more cells than the first.
        m_table->appendColumns(1);
        moveToCell(m_row, m_column + 1);
    } else {
        // Past the last column the cells share the last one, a tab apart.
        m_cursor.insertText(QStringLiteral("\t"));
    }
}

void DocumentBuilder::endRow()
{
    if (!m_table)
        return;
    flushRun();
    m_breakPending = false;
    m_cellPending = false;
    m_rowPending = true;
}

void DocumentBuilder::setDefaultTabDistance(double pixels)
{
    QTextOption option = m_document.defaultTextOption();
    option.setTabStopDistance(pixels);
    m_document.setDefaultTextOption(option);
}

void DocumentBuilder::finish(const QTextBlockFormat &format, quint64 formatId)
{
    flushRun();
    if (!m_breakPending)
        setBlockFormat(format, formatId);
}

} // namespace ct::rtf
