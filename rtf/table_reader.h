#pragma once

#include "rtf/control_words.h"
#include "rtf/reader_state.h"
#include "rtf/tokenizer.h"

#include <QColor>
#include <QList>

#include <array>

namespace ct::rtf {

class ReaderContext;

// One cell of a row definition: its right edge and what it looks like.
struct CellDefinition {
    int right = 0;                   // \cellx, twips from the margin
    bool mergedWithPrevious = false; // \clmrg
    bool mergedWithAbove = false;    // \clvmrg
    QColor shading;                  // \clcbpat
    std::array<Border, 4> borders;   // \clbrdrt, \clbrdrl, \clbrdrb, \clbrdrr
    std::array<bool, 4> bordersGiven{};
};

// \trowd ... \cellx: the cells of the rows that follow.
struct RowDefinition {
    int left = 0; // \trleft
    QList<CellDefinition> cells;
    std::array<Border, 6> borders; // \trbrdrt, l, b, r, h, v
    std::array<bool, 6> bordersGiven{};
};

// Reads the control words of row definitions, and the border words that follow a
// cell's, a row's or a paragraph's border side.
class TableReader {
public:
    explicit TableReader(ReaderContext &context) : m_context(context) {}

    // True when `word` was a row definition or border word.
    bool word(Word word, const Token &token, RowDefinition &row);
    // The next border words describe `border` (a paragraph's), until the next side.
    void describe(Border *border) { m_border = border; }

private:
    ReaderContext &m_context;
    CellDefinition m_cell; // properties of the cell whose \cellx is next
    Border *m_border = nullptr;
};

} // namespace ct::rtf
