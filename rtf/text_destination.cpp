// The document's text: its control words.
#include "rtf/text_destination.h"

#include "rtf/reader_context.h"
#include "rtf/units.h"

#include <algorithm>

namespace ct::rtf {
namespace {

constexpr int kMaxTabStops = 64;
// \fs: Word allows 1 to 1638 points.
constexpr int kMinHalfPoints = 2;
constexpr int kMaxHalfPoints = 3276;
// \expnd: Word allows -1584 to 1584 quarter points.
constexpr int kMaxSpacing = 1584;

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

TextDestination::TextDestination(ReaderContext &context, QTextDocument &document)
    : m_context(context), m_document(document), m_body(document), m_formats(context), m_markers(context),
      m_table(context)
{
}

void UnicodePairReader::word(Word word, const Token &)
{
    if (word == Word::UnicodeText)
        m_context.state.destination = m_return;
}

void TextDestination::word(Word word, const Token &token)
{
    CharacterState &character = m_context.state.character;
    ParagraphState &paragraph = m_context.state.paragraph;
    Destinations &destinations = m_context.destinations;
    if (m_table.word(word, token, m_nestedRow ? m_builder->nestedRowDefinition() : m_builder->rowDefinition()))
        return;
    const int value = token.parameter;
    switch (word) {
    // Document
    case Word::Ansi:
    case Word::Mac:
    case Word::Pc:
    case Word::Pca:
    case Word::AnsiCodePage:
        m_context.ansiCodePage = word == Word::Ansi  ? 1252
                                 : word == Word::Mac ? 10000
                                 : word == Word::Pc  ? 437
                                 : word == Word::Pca ? 850
                                                     : value;
        m_context.tablesChanged();
        break;
    case Word::DefaultFont:
        m_context.defaultFont = value;
        m_context.tablesChanged();
        break;
    case Word::PaperWidth:
        m_body.setPaperWidth(value);
        break;

    // Destinations
    case Word::FontTable:
        m_context.open(destinations.fontTable);
        break;
    case Word::ColorTable:
        m_context.open(destinations.colorTable);
        break;
    case Word::ListText:
        m_context.open(destinations.listText);
        break;
    case Word::ListTable:
        m_context.open(destinations.listTable);
        break;
    case Word::ListOverrideTable:
        m_context.open(destinations.listOverrides);
        break;
    case Word::Numbering:
        m_context.open(destinations.numbering);
        break;
    case Word::Picture:
        m_context.open(destinations.picture);
        break;
    case Word::UnicodePair:
        destinations.unicodePair->returnTo(m_context.state.destination);
        m_context.open(destinations.unicodePair);
        break;
    case Word::Shape:
        m_context.open(destinations.shape);
        break;
    case Word::Footnote:
        if (m_inNote)
            m_context.skipGroup(); // a note in a note
        else
            m_context.open(destinations.note);
        break;
    case Word::NoteMark:
        if (m_inNote) {
            emitString(m_noteLabel);
        } else {
            // Numbered once its note says whether it is a footnote or an endnote.
            flushPendingMark();
            m_markPending = true;
            m_markCharacter = character;
            m_markDepth = tableDepth(paragraph);
        }
        break;
    case Word::NoteNumbering: {
        const std::string_view name = token.text;
        Notes &notes = m_notes[name.front() == 'a' ? Endnotes : Footnotes];
        // \ftnnar, \ftnnalc, \ftnnauc, \ftnnrlc, \ftnnruc, \ftnnchi, and \aftnn...
        const std::string_view style = name.substr(name.find("ftnn") + 4);
        notes.numbering = QString::fromLatin1(style.data(), static_cast<qsizetype>(style.size()));
        break;
    }
    case Word::NoteStart:
        m_notes[token.text.front() == 'a' ? Endnotes : Footnotes].start = std::clamp(value, 0, 100000);
        break;
    case Word::FontAltName:
    case Word::ShapeInstance: // outside a shape
        m_context.skipGroup();
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
    case Word::UnderlineDotted:
        character.underline = toggle(token) ? Underline::Dotted : Underline::None;
        break;
    case Word::UnderlineDashed:
        character.underline = toggle(token) ? Underline::Dashed : Underline::None;
        break;
    case Word::UnderlineNone:
        character.underline = Underline::None;
        break;
    case Word::Raise:
    case Word::Lower: {
        // Without a number, 3 points.
        const int halfPoints = token.hasParameter ? std::clamp(value, -kMaxHalfPoints, kMaxHalfPoints) : 6;
        character.raise = word == Word::Raise ? halfPoints : -halfPoints;
        break;
    }
    case Word::Expand:
        character.spacing = std::clamp(value, -kMaxSpacing, kMaxSpacing) * 5; // quarter points
        break;
    case Word::ExpandTwips:
        character.spacing = std::clamp(value, -kMaxSpacing * 5, kMaxSpacing * 5);
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
    case Word::CharacterShading:
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
    case Word::RightToLeftRun:
        character.rtlRun = true;
        break;
    case Word::LeftToRightRun:
        character.rtlRun = false;
        break;
    case Word::RtlBold:
        character.rtlBold = toggle(token) ? 1 : 0;
        break;
    case Word::RtlItalic:
        character.rtlItalic = toggle(token) ? 1 : 0;
        break;
    case Word::RtlFontSize:
        character.rtlHalfPoints = token.hasParameter && value > 0 ? std::clamp(value, kMinHalfPoints, kMaxHalfPoints)
                                                                  : 0;
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
    case Word::RightToLeftParagraph:
        paragraph.rightToLeft = true;
        break;
    case Word::LeftToRightParagraph:
        paragraph.rightToLeft = false;
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
    case Word::TabLeaderDots:
        paragraph.nextTabLeader = Underline::Dotted;
        break;
    case Word::TabLeaderHyphens:
        paragraph.nextTabLeader = Underline::Dashed;
        break;
    case Word::TabLeaderLine:
        paragraph.nextTabLeader = Underline::Single;
        break;
    case Word::DefaultTab:
        m_defaultTab = std::clamp(value, 0, kMaxTwips);
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
            paragraph.tabLeaders.append(paragraph.nextTabLeader);
        }
        paragraph.nextTabType = QTextOption::LeftTab;
        paragraph.nextTabLeader = Underline::None;
        break;
    case Word::InTable:
        paragraph.inTable = toggle(token);
        break;
    case Word::TableDepth:
        paragraph.inTable = value > 0;
        paragraph.nesting = std::clamp(value, 0, 100);
        break;
    case Word::ListOverride:
        paragraph.listOverride = std::max(value, 0);
        break;
    case Word::ParagraphBorderTop:
    case Word::ParagraphBorderLeft:
    case Word::ParagraphBorderBottom:
    case Word::ParagraphBorderRight: {
        Border &border = paragraph.borders[static_cast<int>(word) - static_cast<int>(Word::ParagraphBorderTop)];
        border = Border();
        m_table.describe(&border);
        break;
    }
    case Word::ParagraphBox:
        // Read into the top border and copied to the others when the paragraph ends.
        paragraph.box = true;
        paragraph.borders[Top] = Border();
        m_table.describe(&paragraph.borders[Top]);
        break;
    case Word::ParagraphShading:
        paragraph.shading = std::max(value, 0);
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
        emitTab();
        break;
    case Word::Cell:
        flushSurrogate();
        endParagraphLists();
        m_builder->endCell(m_formats.block(paragraph).format);
        break;
    case Word::Row:
        flushSurrogate();
        m_builder->endRow();
        break;
    case Word::NestedCell:
        flushSurrogate();
        if (tableDepth(paragraph) == 2) {
            endParagraphLists();
            m_builder->endNestedCell(m_formats.block(paragraph).format);
        } else {
            emitCharacter(U'\t'); // deeper tables are read as text in reading order
        }
        break;
    case Word::NestedRow:
        flushSurrogate();
        if (tableDepth(paragraph) <= 2)
            m_builder->endNestedRow();
        else
            emitCharacter(QChar::LineSeparator);
        break;
    case Word::NestedTableProperties:
        m_context.open(destinations.nestedRow);
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

} // namespace ct::rtf
