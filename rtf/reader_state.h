#pragma once

#include "rtf/list_numbering.h"

#include <QColor>
#include <QHashFunctions>
#include <QList>
#include <QTextOption>

#include <algorithm>
#include <array>
#include <cstdint>

namespace ct::rtf {

class Destination;

// A border line as the file gives it.
struct Border {
    enum class Style : std::uint8_t { None, Single, Double, Dotted, Dashed };
    Style style = Style::None;
    int width = 0; // twips; 0 for the thinnest line
    QColor color;  // invalid for automatic (black)

    bool operator==(const Border &) const = default;
};

enum Side { Top, Left, Bottom, Right, Horizontal, Vertical }; // the last two inside a row

enum class Underline : std::uint8_t { None, Single, Double, Dotted, Dashed };
enum class VerticalPosition : std::uint8_t { Normal, Superscript, Subscript };
enum class Alignment : std::uint8_t { Left, Right, Center, Justify };

// Character properties; \plain resets them, } restores them.
struct CharacterState {
    int font = -1;       // font-table number, -1 for the default
    int halfPoints = 24; // \fs
    int foreground = 0;  // colour-table index, 0 for automatic
    int background = 0;
    Underline underline = Underline::None;
    VerticalPosition vertical = VerticalPosition::Normal;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool hidden = false;
    bool caps = false;
    bool smallCaps = false;
    int raise = 0;   // \up (> 0) and \dn (< 0), half-points
    int spacing = 0; // \expnd, \expndtw: twips between letters
    // Right-to-left text (Arabic, Hebrew...) has properties of its own, which
    // Word and Writer write after \rtlch: \ab, \ai, \afs. Unset (-1, 0), it
    // takes the ones above.
    std::int8_t rtlBold = -1;
    std::int8_t rtlItalic = -1;
    int rtlHalfPoints = 0;
    bool rtlRun = false; // \rtlch rather than \ltrch: neutral characters count as right-to-left

    bool operator==(const CharacterState &) const = default;
    bool hasRtlProperties() const { return rtlBold >= 0 || rtlItalic >= 0 || rtlHalfPoints > 0; }
    // The properties of the run's right-to-left characters.
    CharacterState rightToLeft() const
    {
        CharacterState state = *this;
        if (rtlBold >= 0)
            state.bold = rtlBold != 0;
        if (rtlItalic >= 0)
            state.italic = rtlItalic != 0;
        if (rtlHalfPoints > 0)
            state.halfPoints = rtlHalfPoints;
        return state;
    }
};

inline size_t qHash(const CharacterState &s, size_t seed = 0)
{
    seed = qHashMulti(seed, s.font, s.halfPoints, s.foreground, s.background, int(s.underline), int(s.vertical), s.bold,
                      s.italic, s.strike, s.hidden, s.caps, s.smallCaps, s.raise, s.spacing);
    return qHashMulti(seed, s.rtlBold, s.rtlItalic, s.rtlHalfPoints, s.rtlRun);
}

// Paragraph properties in twips; \pard resets them, } restores them.
struct ParagraphState {
    Alignment alignment = Alignment::Left;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0; // \sl: 0 single, > 0 at least, < 0 exactly
    bool lineMultiple = false;
    bool inTable = false;
    int nesting = 0;               // \itap: 2 for a table in a table's cell
    bool rightToLeft = false;      // \rtlpar, \ltrpar
    int listOverride = 0;          // \ls, 0 for none
    int listLevel = 0;             // \ilvl
    ParagraphNumbering numbering;  // \pn
    int shading = 0;               // \cbpat: colour-table index, 0 for none
    std::array<Border, 4> borders; // \brdrt, \brdrl, \brdrb, \brdrr
    bool box = false;              // \box: borders[Top] on every side
    QTextOption::TabType nextTabType = QTextOption::LeftTab;
    Underline nextTabLeader = Underline::None;
    QList<QTextOption::Tab> tabs; // positions in twips, converted when the format is made
    QList<Underline> tabLeaders;  // what fills the space before each of `tabs`, drawn as an underline

    // Equal when they make the same QTextBlockFormat.
    bool operator==(const ParagraphState &other) const
    {
        return alignment == other.alignment && leftIndent == other.leftIndent && rightIndent == other.rightIndent
               && firstIndent == other.firstIndent && spaceBefore == other.spaceBefore && spaceAfter == other.spaceAfter
               && lineSpacing == other.lineSpacing && lineMultiple == other.lineMultiple && tabs == other.tabs
               && shading == other.shading && borders == other.borders && box == other.box
               && rightToLeft == other.rightToLeft;
    }
};

inline size_t qHash(const ParagraphState &s, size_t seed = 0)
{
    seed = qHashMulti(seed, int(s.alignment), s.leftIndent, s.rightIndent, s.firstIndent, s.spaceBefore, s.spaceAfter,
                      s.lineSpacing, s.lineMultiple, s.tabs.size(), s.shading, int(s.borders[Bottom].style),
                      s.rightToLeft);
    for (const QTextOption::Tab &tab : s.tabs)
        seed = qHashMulti(seed, tab.position, int(tab.type));
    return seed;
}

// How deep in tables a paragraph is: 0 outside, 1 in a table, 2 in a table in a cell.
inline int tableDepth(const ParagraphState &paragraph)
{
    return paragraph.inTable ? std::max(paragraph.nesting, 1) : 0;
}

// Everything a group saves on { and gets back on }.
struct GroupState {
    CharacterState character;
    ParagraphState paragraph;
    Destination *destination = nullptr; // the reader of the group's tokens
    int unicodeSkip = 1;                // \uc
};

} // namespace ct::rtf
