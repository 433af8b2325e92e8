// The document builder's tables: rows laid out by their cells' boundaries, merged
// cells, and the borders and shading the file gives.
#include "rtf/document_builder.h"
#include "rtf/formats.h"

#include "rtf/units.h"

#include <QTextTable>

#include <algorithm>

namespace ct::rtf {
namespace {

// Cell padding in pixels, about what writers leave between a cell's edge and text.
constexpr double kCellPadding = 3;
// A table's whole width in the units of a table sized in percent.
constexpr double kPercentUnits = 65535;

} // namespace

void DocumentBuilder::startTable()
{
    // A table directly follows the paragraph before it; Qt adds the block boundary.
    m_breakPending = false;
    m_boundaries.clear();
    m_aligned = true;
    addBoundaries();
    const int columns = std::max(static_cast<int>(m_boundaries.size()) - 1, 1);
    QTextTableFormat format;
    // Cells draw the borders the file gives them; a table draws none of its own.
    format.setBorder(0);
    format.setBorderCollapse(true);
    format.setCellPadding(kCellPadding);
    format.setCellSpacing(0);
    m_table = m_cursor.insertTable(1, columns, format);
    m_columnTops.fill(-1, columns);
    cursorMoved();
    m_row = 0;
    m_rowPending = false;
    m_cellPending = false;
    placeRow();
}

void DocumentBuilder::startRow()
{
    m_rowPending = false;
    m_cellPending = false;
    if (m_row + 1 >= kMaxRows) {
        leaveTable();
        startTable();
        return;
    }
    addBoundaries();
    m_table->appendRows(1);
    ++m_row;
    placeRow();
}

void DocumentBuilder::addBoundaries()
{
    if (!m_aligned || m_rowDefinition.cells.isEmpty())
        return;
    addBoundary(m_rowDefinition.left);
    for (const CellDefinition &cell : std::as_const(m_rowDefinition.cells))
        addBoundary(cell.right);
}

void DocumentBuilder::addBoundary(int twips)
{
    const auto it = std::lower_bound(m_boundaries.begin(), m_boundaries.end(), twips);
    if ((it != m_boundaries.end() && *it == twips) || m_boundaries.size() > kMaxColumns)
        return;
    const int index = static_cast<int>(it - m_boundaries.begin());
    m_boundaries.insert(index, twips);
    if (!m_table || m_boundaries.size() < 2)
        return;
    if (m_boundaries.size() == 2) {
        // The table's single column was waiting for its boundaries.
        return;
    }
    if (index == 0) {
        m_table->insertColumns(0, 1);
        m_columnTops.insert(0, -1);
    } else if (index == m_boundaries.size() - 1) {
        m_table->appendColumns(1);
        m_columnTops.append(-1);
    } else {
        // A column splits in two. Qt widens the cells that cross the split; the cells
        // that ended at it widen too, so that every row keeps its cells' extent.
        m_table->insertColumns(index, 1);
        m_columnTops.insert(index, -1);
        for (int row = 0; row < m_table->rows();) {
            const QTextTableCell cell = m_table->cellAt(row, index - 1);
            if (cell.column() + cell.columnSpan() == index)
                m_table->mergeCells(cell.row(), cell.column(), cell.rowSpan(), cell.columnSpan() + 1);
            row = cell.row() + cell.rowSpan();
        }
    }
}

void DocumentBuilder::placeRow()
{
    m_cellPlaces.clear();
    m_cell = 0;
    const int columns = m_table->columns();
    if (m_aligned && !m_rowDefinition.cells.isEmpty() && m_boundaries.size() == columns + 1) {
        const auto columnOf = [&](int twips) {
            const auto it = std::lower_bound(m_boundaries.begin(), m_boundaries.end(), twips);
            return static_cast<int>(std::min<qsizetype>(it - m_boundaries.begin(), columns));
        };
        struct Span {
            int first;
            int last; // one past the cell's last column
            const CellDefinition *cell;
        };
        QList<Span> spans;
        int left = m_rowDefinition.left;
        for (const CellDefinition &cell : std::as_const(m_rowDefinition.cells)) {
            const int first = std::min(columnOf(left), columns - 1);
            const int last = std::max(columnOf(cell.right), first + 1);
            left = std::max(left, cell.right);
            if (cell.mergedWithPrevious && !spans.isEmpty()) {
                spans.last().last = std::max(spans.last().last, last);
                m_cellPlaces.append({spans.last().first, true});
                continue;
            }
            if (!spans.isEmpty() && first < spans.last().last)
                break; // boundaries out of order: the rest of the row goes on in sequence
            spans.append({first, last, &cell});
            m_cellPlaces.append({first, false});
        }
        for (const Span &span : std::as_const(spans)) {
            const int width = span.last - span.first;
            const int top = m_columnTops[span.first];
            if (span.cell->mergedWithAbove && top >= 0 && m_table->cellAt(top, span.first).columnSpan() == width
                && m_table->cellAt(top, span.first).column() == span.first) {
                m_table->mergeCells(top, span.first, m_row - top + 1, width);
                for (CellPlace &place : m_cellPlaces) {
                    if (place.column == span.first)
                        place.merged = true;
                }
                continue;
            }
            if (width > 1)
                m_table->mergeCells(m_row, span.first, 1, width);
            m_columnTops[span.first] = m_row;
            m_table->cellAt(m_row, span.first)
                .setFormat(cellFormat(*span.cell, m_rowDefinition, m_row == 0, span.first == 0,
                                      span.last == m_table->columns()));
        }
    }
    if (m_cellPlaces.isEmpty())
        moveToCell(m_row, 0);
    else
        moveToCell(m_row, m_cellPlaces.first().column, m_cellPlaces.first().merged);
}

QTextTableCellFormat DocumentBuilder::cellFormat(const CellDefinition &cell, const RowDefinition &row, bool firstRow,
                                                 bool firstColumn, bool lastColumn)
{
    QTextTableCellFormat format;
    if (cell.shading.isValid())
        format.setBackground(cell.shading);
    // A side the cell leaves open takes the row's border: its outer one at the
    // table's edge, its inner one between cells.
    const bool outer[] = {firstRow, firstColumn, true, lastColumn};
    const Side rowSides[] = {Top, Left, Bottom, Right};
    const Side innerSides[] = {Horizontal, Vertical, Horizontal, Vertical};
    Border borders[4];
    for (int side = 0; side < 4; ++side) {
        if (cell.bordersGiven[side])
            borders[side] = cell.borders[side];
        else if (row.bordersGiven[outer[side] ? rowSides[side] : innerSides[side]])
            borders[side] = row.borders[outer[side] ? rowSides[side] : innerSides[side]];
    }
    const auto brush = [](const Border &border) { return QBrush(border.color.isValid() ? border.color : Qt::black); };
    format.setTopBorder(borderPixels(borders[Top]));
    format.setTopBorderStyle(borderStyle(borders[Top].style));
    format.setTopBorderBrush(brush(borders[Top]));
    format.setLeftBorder(borderPixels(borders[Left]));
    format.setLeftBorderStyle(borderStyle(borders[Left].style));
    format.setLeftBorderBrush(brush(borders[Left]));
    format.setBottomBorder(borderPixels(borders[Bottom]));
    format.setBottomBorderStyle(borderStyle(borders[Bottom].style));
    format.setBottomBorderBrush(brush(borders[Bottom]));
    format.setRightBorder(borderPixels(borders[Right]));
    format.setRightBorderStyle(borderStyle(borders[Right].style));
    format.setRightBorderBrush(brush(borders[Right]));
    return format;
}

void DocumentBuilder::leaveTable()
{
    if (m_nested)
        leaveNested();
    finishTable();
    m_table = nullptr;
    m_rowPending = false;
    m_cellPending = false;
    m_breakPending = false;
    m_cursor.movePosition(QTextCursor::End);
    cursorMoved();
}

void DocumentBuilder::finishTable()
{
    if (!m_table || !m_aligned || m_boundaries.size() != m_table->columns() + 1)
        return;
    QList<QTextLength> widths;
    QTextTableFormat format = m_table->format();
    const int left = m_boundaries.front();
    const int right = m_boundaries.back();
    if (right > m_paperWidth && right > left) {
        // No table reaches beyond the paper: this one is sized in percent of the
        // width, which Writer saves in 1/65535 of it (every HTML page's table).
        const double share = std::min(1.0, (right - std::max(left, 0)) / kPercentUnits);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100 * share));
        for (qsizetype i = 1; i < m_boundaries.size(); ++i)
            widths.append(QTextLength(QTextLength::PercentageLength,
                                      100.0 * (m_boundaries[i] - m_boundaries[i - 1]) / (right - left)));
    } else {
        for (qsizetype i = 1; i < m_boundaries.size(); ++i)
            widths.append(QTextLength(QTextLength::FixedLength, twipsToPixels(m_boundaries[i] - m_boundaries[i - 1])));
    }
    format.setColumnWidthConstraints(widths);
    m_table->setFormat(format);
}

void DocumentBuilder::moveToCell(int row, int column, bool atEnd)
{
    const QTextTableCell cell = m_table->cellAt(row, column);
    m_row = row;
    m_column = cell.column();
    m_cursor = atEnd ? cell.lastCursorPosition() : cell.firstCursorPosition();
    cursorMoved();
}

void DocumentBuilder::nextCell()
{
    ++m_cell;
    if (m_cell < m_cellPlaces.size()) {
        moveToCell(m_row, m_cellPlaces[m_cell].column, m_cellPlaces[m_cell].merged);
        return;
    }
    // More cells than the row's definition gives.
    const int next = m_column + m_table->cellAt(m_row, m_column).columnSpan();
    if (next < m_table->columns()) {
        moveToCell(m_row, next);
    } else if (m_table->columns() < kMaxColumns) {
        m_aligned = false;
        m_table->appendColumns(1);
        m_columnTops.append(-1);
        moveToCell(m_row, next);
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
    if (m_nested)
        leaveNested();
    m_breakPending = false;
    m_cellPending = false;
    m_rowPending = true;
}

} // namespace ct::rtf

namespace ct::rtf {

void DocumentBuilder::placeNested()
{
    if (!m_nested) {
        flushRun();
        // The table follows the cell's paragraph before it; Qt adds the block boundary.
        m_breakPending = false;
        QTextTableFormat format;
        format.setBorder(0);
        format.setBorderCollapse(true);
        format.setCellPadding(kCellPadding);
        format.setCellSpacing(0);
        m_nested = m_cursor.insertTable(1, 1, format);
        m_nestedRow = 0;
        m_nestedColumn = 0;
        m_nestedCellPending = false;
        m_nestedRowPending = false;
        cursorMoved();
        return;
    }
    if (m_nestedRowPending) {
        flushRun();
        m_nestedRowPending = false;
        m_nestedCellPending = false;
        m_breakPending = false;
        if (m_nested->rows() < kMaxRows) {
            m_nested->appendRows(1);
            ++m_nestedRow;
        }
        m_nestedColumn = 0;
        m_cursor = m_nested->cellAt(m_nestedRow, 0).firstCursorPosition();
        cursorMoved();
    }
    if (m_nestedCellPending) {
        flushRun();
        m_nestedCellPending = false;
        m_breakPending = false;
        if (m_nestedColumn + 1 >= m_nested->columns() && m_nested->columns() < kMaxColumns)
            m_nested->appendColumns(1);
        if (m_nestedColumn + 1 < m_nested->columns()) {
            ++m_nestedColumn;
            m_cursor = m_nested->cellAt(m_nestedRow, m_nestedColumn).firstCursorPosition();
            cursorMoved();
        } else {
            insertText(QStringLiteral("\t")); // past the last column the cells share it
        }
    }
}

void DocumentBuilder::endNestedCell(const QTextBlockFormat &format)
{
    placeContent(2);
    flushRun();
    setBlockFormat(format, 0);
    m_nestedCellPending = true;
}

void DocumentBuilder::endNestedRow()
{
    if (!m_nested)
        return;
    flushRun();
    m_breakPending = false;
    m_nestedCellPending = false;
    m_nestedRowPending = true;
    // The row's definition came after its cells: their looks, and the columns'
    // widths, in percent of the cell the table is in.
    const QList<CellDefinition> &cells = m_nestedDefinition.cells;
    const int columns = m_nested->columns();
    for (int column = 0; column < columns && column < cells.size(); ++column)
        m_nested->cellAt(m_nestedRow, column)
            .setFormat(
                cellFormat(cells[column], m_nestedDefinition, m_nestedRow == 0, column == 0, column == columns - 1));
    if (cells.size() != columns)
        return;
    const int left = m_nestedDefinition.left;
    const int right = cells.last().right;
    if (right <= left)
        return;
    QList<QTextLength> widths;
    int previous = left;
    for (const CellDefinition &cell : cells) {
        widths.append(
            QTextLength(QTextLength::PercentageLength, 100.0 * std::max(cell.right - previous, 0) / (right - left)));
        previous = std::max(previous, cell.right);
    }
    QTextTableFormat format = m_nested->format();
    format.setColumnWidthConstraints(widths);
    // The cell the table is in, when its width is known.
    double share = 1.0;
    if (m_aligned && m_boundaries.size() == m_table->columns() + 1) {
        const QTextTableCell outer = m_table->cellAt(m_row, m_column);
        const int cellWidth = m_boundaries[outer.column() + outer.columnSpan()] - m_boundaries[outer.column()];
        if (cellWidth > 0)
            share = std::min(1.0, double(right - left) / cellWidth);
    }
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100 * share));
    m_nested->setFormat(format);
}

void DocumentBuilder::leaveNested()
{
    m_cursor.setPosition(m_nested->lastPosition() + 1);
    m_nested = nullptr;
    m_nestedCellPending = false;
    m_nestedRowPending = false;
    m_breakPending = false;
    cursorMoved();
}

} // namespace ct::rtf
