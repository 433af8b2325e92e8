#include "rtf/table_reader.h"

#include "rtf/reader_context.h"
#include "rtf/units.h"

#include <algorithm>

namespace ct::rtf {
namespace {

// More cells than this in one row are not a table anyone reads.
constexpr qsizetype kMaxCells = 64;
// Cell edges reach 65535 in tables sized in percent of the width (1/65535 of it);
// the proportions of such a table are kept to well beyond.
constexpr int kMaxCellEdge = 16 * 65535;

} // namespace

bool TableReader::word(Word word, const Token &token, RowDefinition &row)
{
    const int value = token.parameter;
    switch (word) {
    case Word::RowDefaults:
        row = RowDefinition();
        m_cell = CellDefinition();
        m_border = nullptr;
        return true;
    case Word::RowLeft:
        row.left = std::clamp(value, -kMaxTwips, kMaxTwips);
        return true;
    case Word::CellRight:
        m_cell.right = std::clamp(value, -kMaxTwips, kMaxCellEdge);
        if (row.cells.size() < kMaxCells)
            row.cells.append(m_cell);
        m_cell = CellDefinition();
        m_border = nullptr;
        return true;
    case Word::CellMergeFirst:
    case Word::CellVerticalMergeFirst:
        return true;
    case Word::CellMerge:
        m_cell.mergedWithPrevious = true;
        return true;
    case Word::CellVerticalMerge:
        m_cell.mergedWithAbove = true;
        return true;
    case Word::CellShading:
        m_cell.shading = m_context.color(value);
        return true;
    case Word::CellBorderTop:
    case Word::CellBorderLeft:
    case Word::CellBorderBottom:
    case Word::CellBorderRight: {
        const int side = static_cast<int>(word) - static_cast<int>(Word::CellBorderTop);
        m_cell.borders[side] = Border();
        m_cell.bordersGiven[side] = true;
        m_border = &m_cell.borders[side];
        return true;
    }
    case Word::RowBorderTop:
    case Word::RowBorderLeft:
    case Word::RowBorderBottom:
    case Word::RowBorderRight:
    case Word::RowBorderHorizontal:
    case Word::RowBorderVertical: {
        const int side = static_cast<int>(word) - static_cast<int>(Word::RowBorderTop);
        row.borders[side] = Border();
        row.bordersGiven[side] = true;
        m_border = &row.borders[side];
        return true;
    }
    case Word::BorderSingle:
    case Word::BorderDouble:
    case Word::BorderDotted:
    case Word::BorderDashed:
    case Word::BorderNone:
        if (m_border) {
            static constexpr Border::Style kStyles[] = {Border::Style::Single, Border::Style::Double,
                                                        Border::Style::Dotted, Border::Style::Dashed,
                                                        Border::Style::None};
            m_border->style = kStyles[static_cast<int>(word) - static_cast<int>(Word::BorderSingle)];
        }
        return true;
    case Word::BorderWidth:
        if (m_border)
            m_border->width = std::clamp(value, 0, 255);
        return true;
    case Word::BorderColor:
        if (m_border)
            m_border->color = m_context.color(value);
        return true;
    default:
        return false;
    }
}

} // namespace ct::rtf
