// The interpreter's handling of control words: document, character and paragraph
// properties, breaks, tables, special characters, and the font, colour and picture
// destinations.
#include "rtf/control_words.h"
#include "rtf/interpreter.h"

#include <algorithm>

namespace ct::rtf {
namespace {

// Lengths beyond a 22-inch page are nonsense; clamping them keeps the layout sane.
constexpr int kMaxTwips = 31680;
constexpr int kMaxTabStops = 64;
// \fs: Word allows 1 to 1638 points.
constexpr int kMinHalfPoints = 2;
constexpr int kMaxHalfPoints = 3276;

int twips(const Token &token)
{
    return std::clamp(token.parameter, -kMaxTwips, kMaxTwips);
}

// A toggle such as \b is on without a parameter or with any parameter but 0.
bool toggle(const Token &token)
{
    return !token.hasParameter || token.parameter != 0;
}

} // namespace

void Interpreter::textWord(Word word, const Token &token)
{
    CharacterState &character = m_state.character;
    ParagraphState &paragraph = m_state.paragraph;
    const int value = token.parameter;
    switch (word) {
    // Document
    case Word::Ansi:
        m_ansiCodePage = 1252;
        break;
    case Word::Mac:
        m_ansiCodePage = 10000;
        break;
    case Word::Pc:
        m_ansiCodePage = 437;
        break;
    case Word::Pca:
        m_ansiCodePage = 850;
        break;
    case Word::AnsiCodePage:
        m_ansiCodePage = value;
        forgetFormats();
        break;
    case Word::DefaultFont:
        m_defaultFont = value;
        forgetFormats();
        break;

    // Destinations
    case Word::FontTable:
        m_state.destination = Destination::FontTable;
        m_fontName.clear();
        m_fontNameBytes.clear();
        break;
    case Word::ColorTable:
        m_state.destination = Destination::ColorTable;
        m_colors.clear();
        m_red = m_green = m_blue = -1;
        break;
    case Word::ListText:
        m_state.destination = Destination::ListText;
        m_paragraphHasListText = true;
        break;
    case Word::ListTable:
        m_state.destination = Destination::ListTable;
        m_listPending = false;
        break;
    case Word::ListOverrideTable:
        m_state.destination = Destination::ListOverrideTable;
        m_overrideListId = -1;
        break;
    case Word::Numbering:
        m_state.destination = Destination::Numbering;
        m_numberingBeingRead = ParagraphNumbering();
        break;
    case Word::Picture:
        m_state.destination = Destination::Picture;
        m_picture = Picture();
        break;
    case Word::UnicodePair:
        m_state.beforeUnicodePair = m_state.destination;
        m_state.destination = Destination::UnicodeAnsi;
        break;
    case Word::FontAltName:
        m_state.destination = Destination::Skip;
        break;

    // Character formatting
    case Word::Plain:
        character = CharacterState();
        break;
    case Word::Font:
        character.font = value;
        break;
    case Word::FontSize:
        character.halfPoints = token.hasParameter && value > 0 ? std::clamp(value, kMinHalfPoints, kMaxHalfPoints) : 24;
        break;
    case Word::Bold:
        character.bold = toggle(token);
        break;
    case Word::Italic:
        character.italic = toggle(token);
        break;
    case Word::Underline:
        character.underline = toggle(token) ? Underline::Single : Underline::None;
        break;
    case Word::UnderlineDouble:
        character.underline = toggle(token) ? Underline::Double : Underline::None;
        break;
    case Word::UnderlineNone:
        character.underline = Underline::None;
        break;
    case Word::Strike:
    case Word::StrikeDouble:
        character.strike = toggle(token);
        break;
    case Word::Superscript:
        character.vertical = VerticalPosition::Superscript;
        break;
    case Word::Subscript:
        character.vertical = VerticalPosition::Subscript;
        break;
    case Word::NoSuperSub:
        character.vertical = VerticalPosition::Normal;
        break;
    case Word::Foreground:
        character.foreground = std::max(value, 0);
        break;
    case Word::Background:
    case Word::Highlight:
        character.background = std::max(value, 0);
        break;
    case Word::Hidden:
        character.hidden = toggle(token);
        break;
    case Word::Caps:
        character.caps = toggle(token);
        break;
    case Word::SmallCaps:
        character.smallCaps = toggle(token);
        break;

    // Paragraph formatting
    case Word::Pard:
        paragraph = ParagraphState();
        break;
    case Word::AlignLeft:
        paragraph.alignment = Alignment::Left;
        break;
    case Word::AlignRight:
        paragraph.alignment = Alignment::Right;
        break;
    case Word::AlignCenter:
        paragraph.alignment = Alignment::Center;
        break;
    case Word::AlignJustify:
        paragraph.alignment = Alignment::Justify;
        break;
    case Word::LeftIndent:
        paragraph.leftIndent = twips(token);
        break;
    case Word::RightIndent:
        paragraph.rightIndent = twips(token);
        break;
    case Word::FirstIndent:
        paragraph.firstIndent = twips(token);
        break;
    case Word::SpaceBefore:
        paragraph.spaceBefore = std::max(twips(token), 0);
        break;
    case Word::SpaceAfter:
        paragraph.spaceAfter = std::max(twips(token), 0);
        break;
    case Word::LineSpacing:
        paragraph.lineSpacing = twips(token);
        break;
    case Word::LineMultiple:
        paragraph.lineMultiple = toggle(token);
        break;
    case Word::TabRight:
        paragraph.nextTabType = QTextOption::RightTab;
        break;
    case Word::TabCenter:
        paragraph.nextTabType = QTextOption::CenterTab;
        break;
    case Word::TabDecimal:
        paragraph.nextTabType = QTextOption::DelimiterTab;
        break;
    case Word::TabStop:
    case Word::TabBar:
        if (paragraph.tabs.size() < kMaxTabStops) {
            QTextOption::Tab tab;
            tab.position = std::clamp(value, 0, kMaxTwips);
            tab.type = paragraph.nextTabType;
            if (tab.type == QTextOption::DelimiterTab)
                tab.delimiter = QLatin1Char('.');
            paragraph.tabs.append(tab);
        }
        paragraph.nextTabType = QTextOption::LeftTab;
        break;
    case Word::InTable:
        paragraph.inTable = toggle(token);
        break;
    case Word::TableDepth:
        paragraph.inTable = value > 0;
        break;
    case Word::ListOverride:
        paragraph.listOverride = std::max(value, 0);
        break;
    case Word::ListLevelIndex:
        paragraph.listLevel = std::clamp(value, 0, ListTable::kMaxLevels - 1);
        break;

    // Breaks and tables
    case Word::Par:
    case Word::Section:
    case Word::Page:
        endParagraph();
        break;
    case Word::Line:
        emitCharacter(QChar::LineSeparator);
        break;
    case Word::Tab:
        emitCharacter(U'\t');
        break;
    case Word::Cell:
        flushSurrogate();
        endParagraphLists();
        m_builder.endCell(blockFormat().format);
        break;
    case Word::Row:
        flushSurrogate();
        m_builder.endRow();
        break;
    case Word::NestedCell:
        // Tables inside tables are read as text in reading order.
        emitCharacter(U'\t');
        break;
    case Word::NestedRow:
        emitCharacter(QChar::LineSeparator);
        break;
    case Word::RowDefaults:
        m_builder.clearRowDefinition();
        break;
    case Word::CellRight:
        m_builder.addCellRightEdge(std::clamp(value, 0, kMaxTwips));
        break;

    // Special characters
    case Word::EmDash:
        emitCharacter(0x2014);
        break;
    case Word::EnDash:
        emitCharacter(0x2013);
        break;
    case Word::EmSpace:
        emitCharacter(0x2003);
        break;
    case Word::EnSpace:
        emitCharacter(0x2002);
        break;
    case Word::QuarterEmSpace:
        emitCharacter(0x2005);
        break;
    case Word::Bullet:
        emitCharacter(0x2022);
        break;
    case Word::LeftQuote:
        emitCharacter(0x2018);
        break;
    case Word::RightQuote:
        emitCharacter(0x2019);
        break;
    case Word::LeftDoubleQuote:
        emitCharacter(0x201C);
        break;
    case Word::RightDoubleQuote:
        emitCharacter(0x201D);
        break;
    case Word::ZeroWidthJoiner:
        emitCharacter(0x200D);
        break;
    case Word::ZeroWidthNonJoiner:
        emitCharacter(0x200C);
        break;
    case Word::ZeroWidthBreak:
        emitCharacter(0x200B);
        break;
    case Word::LeftToRightMark:
        emitCharacter(0x200E);
        break;
    case Word::RightToLeftMark:
        emitCharacter(0x200F);
        break;
    default:
        break;
    }
}

void Interpreter::fontTableWord(Word word, const Token &token)
{
    switch (word) {
    case Word::Font:
        if (!m_fontName.isEmpty() || !m_fontNameBytes.isEmpty())
            commitFontName();
        m_fontBeingRead = token.parameter;
        m_fonts.entry(m_fontBeingRead);
        forgetFormats();
        break;
    case Word::FontCharset:
        m_fonts.entry(m_fontBeingRead).charset = token.parameter;
        break;
    case Word::FontCodePage:
        m_fonts.entry(m_fontBeingRead).codePage = token.parameter;
        break;
    case Word::FontAltName:
        m_state.destination = Destination::FontAltName;
        m_altNameBytes.clear();
        break;
    default:
        break;
    }
}

void Interpreter::colorTableWord(Word word, const Token &token)
{
    const int value = std::clamp(token.parameter, 0, 255);
    switch (word) {
    case Word::Red:
        m_red = value;
        break;
    case Word::Green:
        m_green = value;
        break;
    case Word::Blue:
        m_blue = value;
        break;
    default:
        break;
    }
}

void Interpreter::pictureWord(Word word, const Token &token)
{
    switch (word) {
    case Word::PngBlip:
        m_picture.setKind(Picture::Kind::Png);
        break;
    case Word::JpegBlip:
        m_picture.setKind(Picture::Kind::Jpeg);
        break;
    case Word::OtherBlip:
        m_picture.setKind(Picture::Kind::Other);
        break;
    case Word::PictureGoalWidth:
        m_picture.setGoalWidth(token.parameter);
        break;
    case Word::PictureGoalHeight:
        m_picture.setGoalHeight(token.parameter);
        break;
    case Word::PictureScaleX:
        m_picture.setScaleX(token.parameter);
        break;
    case Word::PictureScaleY:
        m_picture.setScaleY(token.parameter);
        break;
    default:
        break;
    }
}

void Interpreter::commitFontName()
{
    FontEntry &entry = m_fonts.entry(m_fontBeingRead);
    m_fontName += decode(codePageOf(&entry), m_fontNameBytes);
    entry.family = m_fontName.trimmed();
    m_fontName.clear();
    m_fontNameBytes.clear();
    forgetFormats();
}

void Interpreter::commitColor()
{
    // An entry with no colour given (normally the first) means "automatic".
    if (m_red < 0 && m_green < 0 && m_blue < 0)
        m_colors.append(QColor());
    else
        m_colors.append(QColor(std::max(m_red, 0), std::max(m_green, 0), std::max(m_blue, 0)));
    m_red = m_green = m_blue = -1;
    forgetFormats();
}

} // namespace ct::rtf
