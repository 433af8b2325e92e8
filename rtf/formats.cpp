#include "rtf/formats.h"

#include "rtf/reader_context.h"
#include "rtf/units.h"

#include <QBrush>
#include <QFont>
#include <QTextFrameFormat>

#include <algorithm>
#include <cmath>

namespace ct::rtf {
namespace {

// Pixels between a box's border and its text, about what writers leave.
constexpr double kBoxPadding = 3;

} // namespace

double borderPixels(const Border &border)
{
    if (border.style == Border::Style::None)
        return 0;
    const double width = std::max(1.0, std::round(twipsToPixels(border.width)));
    return border.style == Border::Style::Double ? std::max(3.0, width) : width;
}

QTextFrameFormat::BorderStyle borderStyle(Border::Style style)
{
    switch (style) {
    case Border::Style::Double:
        return QTextFrameFormat::BorderStyle_Double;
    case Border::Style::Dotted:
        return QTextFrameFormat::BorderStyle_Dotted;
    case Border::Style::Dashed:
        return QTextFrameFormat::BorderStyle_Dashed;
    default:
        return QTextFrameFormat::BorderStyle_Solid;
    }
}

std::optional<QTextFrameFormat> boxFormat(const ParagraphState &paragraph)
{
    const auto &sides = paragraph.borders;
    if (!paragraph.box && std::any_of(sides.begin(), sides.end(), [](const Border &border) {
            return border.style == Border::Style::None;
        }))
        return std::nullopt;
    if (paragraph.box && sides[Top].style == Border::Style::None)
        return std::nullopt;
    // A frame has one border all round: the widest side's.
    const Border &border = paragraph.box
                               ? sides[Top]
                               : *std::max_element(sides.begin(), sides.end(), [](const Border &a, const Border &b) {
                                     return borderPixels(a) < borderPixels(b);
                                 });
    QTextFrameFormat format;
    format.setBorder(borderPixels(border));
    format.setBorderStyle(borderStyle(border.style));
    format.setBorderBrush(border.color.isValid() ? border.color : QColor(Qt::black));
    format.setPadding(kBoxPadding);
    return format;
}

void Formats::checkTables()
{
    if (m_tablesVersion == m_context.tablesVersion())
        return;
    m_tablesVersion = m_context.tablesVersion();
    m_fontInfoValid = false;
    m_charFormats.clear();
    m_blockFormats.clear();
}

const FontInfo &Formats::fontInfo(int number)
{
    checkTables();
    if (number < 0)
        number = m_context.defaultFont;
    if (m_fontInfoValid && number == m_fontInfoFor)
        return m_fontInfo;
    m_fontInfoFor = number;
    m_fontInfoValid = true;
    const FontEntry *entry = m_context.fonts.find(number);
    m_fontInfo.codePage = &m_context.codePageOf(entry);
    m_fontInfo.symbol = entry ? symbolFontOf(entry->family, entry->charset) : SymbolFont::None;
    m_fontInfo.families.clear();
    if (entry && m_fontInfo.symbol == SymbolFont::None && !entry->family.isEmpty()) {
        m_fontInfo.families.append(entry->family);
        if (!entry->alternative.isEmpty() && entry->alternative != entry->family)
            m_fontInfo.families.append(entry->alternative);
    }
    return m_fontInfo;
}

const Formats::CharFormats::Entry &Formats::character(const CharacterState &state)
{
    checkTables();
    return m_charFormats.get(state, m_nextFormatId, [this](const CharacterState &s) { return makeCharFormat(s); });
}

QTextCharFormat Formats::makeCharFormat(const CharacterState &state)
{
    const FontInfo &font = fontInfo(state.font);
    QTextCharFormat format;
    if (!font.families.isEmpty())
        format.setFontFamilies(font.families);
    format.setFontPointSize(state.halfPoints / 2.0);
    if (state.bold)
        format.setFontWeight(QFont::Bold);
    if (state.italic)
        format.setFontItalic(true);
    switch (state.underline) {
    case Underline::None:
        break;
    case Underline::Single:
    case Underline::Double:
        format.setUnderlineStyle(QTextCharFormat::SingleUnderline);
        break;
    case Underline::Dotted:
        format.setUnderlineStyle(QTextCharFormat::DotLine);
        break;
    case Underline::Dashed:
        format.setUnderlineStyle(QTextCharFormat::DashUnderline);
        break;
    }
    if (state.raise != 0)
        format.setBaselineOffset(state.raise * 100.0 / state.halfPoints); // a share of the font's height
    if (state.spacing != 0) {
        format.setFontLetterSpacingType(QFont::AbsoluteSpacing);
        format.setFontLetterSpacing(twipsToPixels(state.spacing));
    }
    if (state.strike)
        format.setFontStrikeOut(true);
    if (state.vertical == VerticalPosition::Superscript)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (state.vertical == VerticalPosition::Subscript)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (state.caps)
        format.setFontCapitalization(QFont::AllUppercase);
    else if (state.smallCaps)
        format.setFontCapitalization(QFont::SmallCaps);
    // Index 0, an index past the table and an empty entry all mean "automatic".
    if (const QColor color = m_context.color(state.foreground); color.isValid())
        format.setForeground(QBrush(color));
    if (const QColor color = m_context.color(state.background); color.isValid())
        format.setBackground(QBrush(color));
    return format;
}

const Formats::BlockFormats::Entry &Formats::block(const ParagraphState &state)
{
    checkTables();
    return m_blockFormats.get(state, m_nextFormatId, [this](const ParagraphState &s) { return makeBlockFormat(s); });
}

QTextBlockFormat Formats::makeBlockFormat(const ParagraphState &state) const
{
    QTextBlockFormat format;
    // The file's direction, never one guessed from the first letter. \ql and
    // \qr mean the left and the right edge in either direction, as Word and
    // Writer read them; indents are measured from where lines start (\li) and
    // end (\ri), on the right and the left of a right-to-left paragraph.
    format.setLayoutDirection(state.rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    switch (state.alignment) {
    case Alignment::Left:
        format.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
        break;
    case Alignment::Right:
        format.setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
        break;
    case Alignment::Center:
        format.setAlignment(Qt::AlignHCenter);
        break;
    case Alignment::Justify:
        format.setAlignment(Qt::AlignJustify);
        break;
    }
    format.setLeftMargin(twipsToPixels(state.rightToLeft ? state.rightIndent : state.leftIndent));
    format.setRightMargin(twipsToPixels(state.rightToLeft ? state.leftIndent : state.rightIndent));
    format.setTextIndent(twipsToPixels(state.firstIndent));
    format.setTopMargin(twipsToPixels(state.spaceBefore));
    format.setBottomMargin(twipsToPixels(state.spaceAfter));
    if (state.lineSpacing != 0) {
        if (state.lineMultiple && state.lineSpacing > 0)
            format.setLineHeight(state.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
        else if (state.lineSpacing > 0)
            format.setLineHeight(twipsToPixels(state.lineSpacing), QTextBlockFormat::MinimumHeight);
        else
            format.setLineHeight(twipsToPixels(-state.lineSpacing), QTextBlockFormat::FixedHeight);
    }
    // RTF measures tab stops from the paragraph's left edge, Qt from where the first
    // line starts (after the first-line indent).
    const int lineStart = state.leftIndent + state.firstIndent;
    QList<QTextOption::Tab> tabs;
    for (QTextOption::Tab tab : state.tabs) {
        const int position = static_cast<int>(tab.position) - lineStart;
        if (position <= 0)
            continue;
        tab.position = twipsToPixels(position);
        tabs.append(tab);
    }
    // A hanging first line has an implicit tab stop at the left indent, where the
    // text after a list marker lines up.
    if (state.firstIndent < 0 && state.leftIndent > 0
        && std::none_of(state.tabs.begin(), state.tabs.end(), [&](const QTextOption::Tab &tab) {
               return tab.position > lineStart && tab.position <= state.leftIndent;
           }))
        tabs.prepend(QTextOption::Tab(twipsToPixels(-state.firstIndent), QTextOption::LeftTab));
    // Qt turns a left stop into a right one in a right-to-left paragraph (and the
    // other way round), which would push the text after a list marker back
    // against it: the file's stops are measured from where its lines start.
    if (state.rightToLeft) {
        for (QTextOption::Tab &tab : tabs) {
            if (tab.type == QTextOption::LeftTab)
                tab.type = QTextOption::RightTab;
            else if (tab.type == QTextOption::RightTab)
                tab.type = QTextOption::LeftTab;
        }
    }
    if (!tabs.isEmpty())
        format.setTabPositions(tabs);
    if (const QColor color = m_context.color(state.shading); color.isValid())
        format.setBackground(color);
    // A bottom border alone is a horizontal rule, as Writer saves one.
    const auto drawn = [&](Side side) { return state.borders[side].style != Border::Style::None; };
    if (!state.box && drawn(Bottom) && !drawn(Top) && !drawn(Left) && !drawn(Right))
        format.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth,
                           QTextLength(QTextLength::PercentageLength, 100));
    return format;
}

} // namespace ct::rtf
