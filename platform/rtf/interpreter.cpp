#include "platform/rtf/interpreter.h"

#include "platform/rtf/control_words.h"
#include "platform/rtf/units.h"

#include <QBrush>
#include <QFont>
#include <QTextDocument>

#include <algorithm>

namespace ct::rtf {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kBullet = 0x2022;
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

bool isHighSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool isLowSurrogate(char32_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// What a character shows as in the document: 0 for nothing. Characters that Qt
// reads as block or frame boundaries, or as a picture's place, must not reach it
// as text, and control characters other than tab show nothing.
char32_t showable(char32_t c)
{
    if (c < 0x20)
        return c == U'\t' ? c : 0;
    switch (c) {
    case 0x2029: // paragraph separator: stays inside the paragraph
        return QChar::LineSeparator;
    case 0xFDD0: // Qt's frame markers
    case 0xFDD1:
    case 0xFFFC: // Qt's object placeholder
        return 0;
    default:
        return c;
    }
}

// Words that name a destination this reader knows; any other word after \* starts a
// destination to skip.
bool isKnownDestination(Word word)
{
    switch (word) {
    case Word::FontTable:
    case Word::ColorTable:
    case Word::FontAltName:
    case Word::FieldResult:
    case Word::ShapePicture:
    case Word::ListText:
    case Word::Picture:
    case Word::UnicodePair:
    case Word::UnicodeText:
    case Word::SkippedDestination:
    case Word::ListTable:
    case Word::LevelText:
    case Word::ListOverrideTable:
    case Word::Numbering:
    case Word::NumberingTextBefore:
    case Word::NumberingTextAfter:
        return true;
    default:
        return false;
    }
}

} // namespace

Interpreter::Interpreter(std::string_view input, QTextDocument &document)
    : m_tokens(input), m_builder(document)
{
    m_saved.reserve(64);
}

bool Interpreter::readHeader(QString &error)
{
    // Leading white space and a UTF-8 byte-order mark are tolerated; then the file
    // must open with {\rtf.
    if (m_tokens.size() == 0) {
        error = QStringLiteral("empty file");
        return false;
    }
    Token first = m_tokens.next();
    if (first.kind == TokenKind::Text) {
        std::string_view lead = first.text;
        if (lead.substr(0, 3) == "\xEF\xBB\xBF")
            lead.remove_prefix(3);
        const bool blank = std::all_of(lead.begin(), lead.end(),
                                       [](char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v'; });
        if (!blank) {
            error = QStringLiteral("not an RTF file");
            return false;
        }
        first = m_tokens.next();
    }
    const Token second = m_tokens.next();
    if (first.kind != TokenKind::GroupStart || second.kind != TokenKind::ControlWord || second.text != "rtf") {
        error = QStringLiteral("not an RTF file");
        return false;
    }
    m_saved.push_back(m_state); // the state outside the outermost group
    return true;
}

bool Interpreter::run(QString &error)
{
    if (!readHeader(error))
        return false;

    for (;;) {
        const Token token = m_tokens.next();
        if (m_leadByte && token.kind != TokenKind::HexByte && token.kind != TokenKind::Text)
            dropLeadByte();

        if (m_state.destination == Destination::Skip) {
            // Only braces matter inside a skipped destination.
            if (token.kind == TokenKind::GroupStart) {
                ++m_skippedDepth;
                continue;
            }
            if (token.kind == TokenKind::GroupEnd && m_skippedDepth > 0) {
                --m_skippedDepth;
                continue;
            }
            if (token.kind != TokenKind::GroupEnd && token.kind != TokenKind::End)
                continue;
        }

        switch (token.kind) {
        case TokenKind::End: {
            const bool inText = m_skippedDepth == 0
                                && std::all_of(m_saved.begin() + 1, m_saved.end(),
                                               [](const GroupState &s) {
                                                   return s.destination == Destination::Text
                                                          || s.destination == Destination::ListText;
                                               })
                                && isTextDestination();
            if (!inText) {
                // The file stops inside a font table, picture or other hidden part:
                // it was cut short.
                error = QStringLiteral("unexpected end of file at byte %1").arg(token.position);
                return false;
            }
            // A missing final } is common and harmless.
            flushSurrogate();
            m_builder.finish(blockFormat().format, blockFormat().id);
            return true;
        }
        case TokenKind::GroupStart:
            if (!groupStart(token, error))
                return false;
            break;
        case TokenKind::GroupEnd:
            if (!groupEnd()) {
                // The outermost group has closed; whatever follows is not the document's.
                flushSurrogate();
                m_builder.finish(blockFormat().format, blockFormat().id);
                return true;
            }
            break;
        case TokenKind::ControlWord:
            controlWord(token);
            break;
        case TokenKind::ControlSymbol:
            controlSymbol(token.text.empty() ? '\0' : token.text.front());
            break;
        case TokenKind::HexByte:
            hexByte(static_cast<unsigned char>(token.parameter));
            break;
        case TokenKind::Text:
            text(token.text);
            break;
        case TokenKind::Binary:
            binary(token.text);
            break;
        }
    }
}

bool Interpreter::groupStart(const Token &token, QString &error)
{
    m_fallbackLeft = 0;
    m_starPending = false;
    if (m_saved.size() >= kMaxDepth) {
        error = QStringLiteral("groups nested more than %1 deep at byte %2").arg(kMaxDepth).arg(token.position);
        return false;
    }
    m_saved.push_back(m_state);
    return true;
}

bool Interpreter::groupEnd()
{
    m_fallbackLeft = 0;
    m_starPending = false;
    const Destination closing = m_state.destination;
    if (closing == Destination::FontTable && (!m_fontName.isEmpty() || !m_fontNameBytes.isEmpty()))
        commitFontName();
    if (closing == Destination::FontAltName) {
        const QString name = decode(codePageOf(m_fonts.find(m_fontBeingRead)), m_altNameBytes).trimmed();
        if (!name.isEmpty())
            m_fonts.entry(m_fontBeingRead).alternative = name;
        m_altNameBytes.clear();
    }
    if (m_saved.size() == 1) {
        // The outermost group: its state stays for the last paragraph.
        return false;
    }
    m_state = m_saved.back();
    m_saved.pop_back();
    if (closing == Destination::Picture && m_state.destination != Destination::Picture)
        finishPicture();
    if (closing == Destination::Numbering && m_state.destination != Destination::Numbering)
        m_state.paragraph.numbering = m_numberingBeingRead; // \pn describes the paragraph it is in
    if (closing == Destination::ListTable && m_state.destination != Destination::ListTable)
        commitList();
    return true;
}

bool Interpreter::isTextDestination() const
{
    return m_state.destination == Destination::Text || m_state.destination == Destination::ListText;
}

// While the fallback of a \u is being skipped, every byte, escape or control word
// counts as one character and is dropped.
bool Interpreter::consumeFallback()
{
    if (m_fallbackLeft <= 0)
        return false;
    --m_fallbackLeft;
    return true;
}

void Interpreter::controlWord(const Token &token)
{
    const Word word = lookUpWord(token.text);
    if (m_starPending) {
        m_starPending = false;
        if (!isKnownDestination(word)) {
            m_state.destination = Destination::Skip;
            return;
        }
    }
    if (word == Word::Unicode) {
        // \u is read in every destination; its fallback follows it.
        if (consumeFallback())
            return;
        emitUnicode(token.parameter);
        m_fallbackLeft = m_state.unicodeSkip;
        return;
    }
    if (consumeFallback())
        return;
    if (word == Word::SkippedDestination) {
        m_state.destination = Destination::Skip;
        return;
    }
    if (word == Word::UnicodeSkip) {
        m_state.unicodeSkip = std::clamp(token.parameter, 0, 255);
        return;
    }
    switch (m_state.destination) {
    case Destination::Text:
    case Destination::ListText:
        textWord(word, token);
        break;
    case Destination::FontTable:
        fontTableWord(word, token);
        break;
    case Destination::ColorTable:
        colorTableWord(word, token);
        break;
    case Destination::Picture:
        pictureWord(word, token);
        break;
    case Destination::UnicodeAnsi:
        if (word == Word::UnicodeText)
            m_state.destination = m_state.beforeUnicodePair;
        break;
    case Destination::ListTable:
    case Destination::ListLevelText:
    case Destination::ListOverrideTable:
    case Destination::Numbering:
    case Destination::NumberingText:
        listWord(word, token);
        break;
    case Destination::FontAltName:
    case Destination::Skip:
        break;
    }
}

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
        emitCharacter(kBullet);
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

void Interpreter::controlSymbol(char symbol)
{
    if (symbol == '*') {
        m_starPending = true;
        return;
    }
    m_starPending = false;
    if (consumeFallback())
        return;
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        if (isTextDestination())
            emitCharacter(static_cast<char32_t>(symbol));
        else if (m_state.destination == Destination::FontTable)
            m_fontNameBytes.append(symbol);
        break;
    case '~':
        emitCharacter(0x00A0);
        break;
    case '-':
        emitCharacter(0x00AD);
        break;
    case '_':
        emitCharacter(0x2011);
        break;
    case '\n':
    case '\r':
        if (isTextDestination())
            endParagraph();
        break;
    default:
        break;
    }
}

void Interpreter::hexByte(unsigned char byte)
{
    m_starPending = false;
    if (consumeFallback())
        return;
    switch (m_state.destination) {
    case Destination::Text:
    case Destination::ListText:
        emitBytes(std::string_view(reinterpret_cast<const char *>(&byte), 1));
        break;
    case Destination::FontTable:
        m_fontNameBytes.append(static_cast<char>(byte));
        break;
    case Destination::FontAltName:
        m_altNameBytes.append(static_cast<char>(byte));
        break;
    case Destination::ListLevelText:
    case Destination::NumberingText:
        addTemplateUnit({byte, false});
        break;
    default:
        break;
    }
}

void Interpreter::text(std::string_view bytes)
{
    m_starPending = false;
    if (m_fallbackLeft > 0) {
        const auto skipped = std::min(bytes.size(), static_cast<std::size_t>(m_fallbackLeft));
        bytes.remove_prefix(skipped);
        m_fallbackLeft -= static_cast<int>(skipped);
        if (bytes.empty())
            return;
    }
    switch (m_state.destination) {
    case Destination::Text:
    case Destination::ListText:
        emitBytes(bytes);
        break;
    case Destination::FontTable:
        for (const char c : bytes) {
            if (c == ';')
                commitFontName();
            else
                m_fontNameBytes.append(c);
        }
        break;
    case Destination::FontAltName:
        m_altNameBytes.append(bytes.data(), static_cast<qsizetype>(bytes.size()));
        break;
    case Destination::ColorTable:
        for (const char c : bytes) {
            if (c == ';')
                commitColor();
        }
        break;
    case Destination::Picture:
        m_picture.addHex(bytes);
        break;
    case Destination::ListLevelText:
    case Destination::NumberingText:
        for (const char c : bytes) {
            if (c == ';' && m_state.destination == Destination::ListLevelText) {
                m_state.destination = Destination::Skip; // a level's text ends at ';'
                break;
            }
            addTemplateUnit({static_cast<unsigned char>(c), false});
        }
        break;
    case Destination::Skip:
    case Destination::UnicodeAnsi:
    case Destination::ListTable:
    case Destination::ListOverrideTable:
    case Destination::Numbering:
        break;
    }
}

void Interpreter::binary(std::string_view bytes)
{
    m_starPending = false;
    if (consumeFallback())
        return;
    if (m_state.destination == Destination::Picture)
        m_picture.addBinary(bytes);
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

const CodePage &Interpreter::codePageOf(const FontEntry *entry) const
{
    int codePage = 0;
    if (entry) {
        codePage = entry->codePage;
        if (codePage == 0 && entry->charset >= 0)
            codePage = codePageOfCharset(entry->charset);
    }
    if (codePage <= 0)
        codePage = m_ansiCodePage;
    return CodePage::forNumber(codePage);
}

const FontInfo &Interpreter::fontInfo()
{
    const int number = m_state.character.font >= 0 ? m_state.character.font : m_defaultFont;
    if (m_fontInfoValid && number == m_fontInfoFor)
        return m_fontInfo;
    m_fontInfoFor = number;
    m_fontInfoValid = true;
    const FontEntry *entry = m_fonts.find(number);
    m_fontInfo.codePage = &codePageOf(entry);
    m_fontInfo.symbol = entry ? symbolFontOf(entry->family, entry->charset) : SymbolFont::None;
    m_fontInfo.families.clear();
    if (entry && m_fontInfo.symbol == SymbolFont::None && !entry->family.isEmpty()) {
        m_fontInfo.families.append(entry->family);
        if (!entry->alternative.isEmpty() && entry->alternative != entry->family)
            m_fontInfo.families.append(entry->alternative);
    }
    return m_fontInfo;
}

void Interpreter::forgetFormats()
{
    m_fontInfoValid = false;
    m_formatValid = false;
    m_charFormats.clear();
}

const Interpreter::Cached<QTextCharFormat> &Interpreter::charFormat()
{
    const CharacterState &state = m_state.character;
    if (m_formatValid && state == m_formatState)
        return m_format;
    auto it = m_charFormats.find(state);
    if (it == m_charFormats.end()) {
        if (m_charFormats.size() >= kMaxCachedFormats)
            m_charFormats.clear();
        it = m_charFormats.insert(state, {makeCharFormat(state), m_nextFormatId++});
    }
    m_format = it.value();
    m_formatState = state;
    m_formatValid = true;
    return m_format;
}

QTextCharFormat Interpreter::makeCharFormat(const CharacterState &state)
{
    const FontInfo &font = fontInfo();
    QTextCharFormat format;
    if (!font.families.isEmpty())
        format.setFontFamilies(font.families);
    format.setFontPointSize(state.halfPoints / 2.0);
    if (state.bold)
        format.setFontWeight(QFont::Bold);
    if (state.italic)
        format.setFontItalic(true);
    if (state.underline != Underline::None)
        format.setFontUnderline(true);
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
    if (state.foreground > 0 && state.foreground < m_colors.size() && m_colors.at(state.foreground).isValid())
        format.setForeground(QBrush(m_colors.at(state.foreground)));
    if (state.background > 0 && state.background < m_colors.size() && m_colors.at(state.background).isValid())
        format.setBackground(QBrush(m_colors.at(state.background)));
    return format;
}

const Interpreter::Cached<QTextBlockFormat> &Interpreter::blockFormat()
{
    const ParagraphState &state = m_state.paragraph;
    if (m_blockValid && state == m_blockState)
        return m_block;
    auto it = m_blockFormats.find(state);
    if (it == m_blockFormats.end()) {
        if (m_blockFormats.size() >= kMaxCachedFormats)
            m_blockFormats.clear();
        it = m_blockFormats.insert(state, {makeBlockFormat(state), m_nextFormatId++});
    }
    m_block = it.value();
    m_blockState = state;
    m_blockValid = true;
    return m_block;
}

QTextBlockFormat Interpreter::makeBlockFormat(const ParagraphState &state) const
{
    QTextBlockFormat format;
    switch (state.alignment) {
    case Alignment::Left:
        format.setAlignment(Qt::AlignLeft);
        break;
    case Alignment::Right:
        format.setAlignment(Qt::AlignRight);
        break;
    case Alignment::Center:
        format.setAlignment(Qt::AlignHCenter);
        break;
    case Alignment::Justify:
        format.setAlignment(Qt::AlignJustify);
        break;
    }
    format.setLeftMargin(twipsToPixels(state.leftIndent));
    format.setRightMargin(twipsToPixels(state.rightIndent));
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
    if (!tabs.isEmpty())
        format.setTabPositions(tabs);
    return format;
}

void Interpreter::emitBytes(std::string_view bytes)
{
    if (m_state.character.hidden)
        return;
    flushSurrogate();
    const FontInfo &font = fontInfo();
    m_scratch.clear();
    const bool plain = !m_leadByte && font.symbol == SymbolFont::None
                       && std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 || c == '\t'; });
    if (plain) {
        m_scratch.append(QLatin1StringView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    } else {
        const CodePage &codePage = *font.codePage;
        for (const char c : bytes) {
            const auto byte = static_cast<unsigned char>(c);
            char32_t character = 0;
            if (font.symbol != SymbolFont::None) {
                character = symbolCharacter(font.symbol, byte);
            } else if (m_leadByte) {
                character = codePage.pair(m_leadByte, byte);
                m_leadByte = 0;
            } else if (codePage.isLeadByte(byte)) {
                m_leadByte = byte;
                continue;
            } else {
                character = codePage.byte(byte);
            }
            character = showable(character);
            if (character)
                m_scratch.append(QChar::fromUcs4(character));
        }
    }
    if (!m_scratch.isEmpty())
        emitString(m_scratch);
}

void Interpreter::emitUnicode(std::int32_t value)
{
    char32_t character = kReplacement;
    if (value < 0 && value >= -32768)
        character = static_cast<char32_t>(value + 65536);
    else if (value >= 0 && value <= 0x10FFFF)
        character = static_cast<char32_t>(value);

    if (m_state.destination == Destination::FontTable) {
        m_fontName += decode(codePageOf(&m_fonts.entry(m_fontBeingRead)), m_fontNameBytes);
        m_fontNameBytes.clear();
        if (!isHighSurrogate(character) && !isLowSurrogate(character))
            m_fontName.append(QChar::fromUcs4(character));
        return;
    }
    if (m_state.destination == Destination::ListLevelText || m_state.destination == Destination::NumberingText) {
        addTemplateUnit({character, true});
        return;
    }
    if (!isTextDestination() || m_state.character.hidden)
        return;

    if (isHighSurrogate(character)) {
        flushSurrogate();
        m_highSurrogate = character;
        return;
    }
    if (isLowSurrogate(character)) {
        if (m_highSurrogate) {
            const char32_t joined = 0x10000 + ((m_highSurrogate - 0xD800) << 10) + (character - 0xDC00);
            m_highSurrogate = 0;
            emitCharacter(joined);
        } else {
            emitCharacter(kReplacement);
        }
        return;
    }
    const SymbolFont symbol = fontInfo().symbol;
    if (character >= 0xF020 && character <= 0xF0FF && symbol != SymbolFont::None)
        character = symbolCharacter(symbol, static_cast<unsigned char>(character - 0xF000));
    else if (character == 0xF0B7)
        character = kBullet; // Word's Symbol bullet, whatever font it claims
    emitCharacter(character);
}

void Interpreter::emitCharacter(char32_t character)
{
    if (!isTextDestination() || m_state.character.hidden)
        return;
    flushSurrogate();
    character = showable(character);
    if (character)
        emitString(QChar::fromUcs4(character));
}

void Interpreter::emitString(QStringView text)
{
    startParagraphContent();
    const Cached<QTextCharFormat> &format = charFormat();
    m_builder.appendText(text, format.format, format.id, m_state.paragraph.inTable);
}

void Interpreter::flushSurrogate()
{
    if (!m_highSurrogate)
        return;
    // A first half with no second half.
    m_highSurrogate = 0;
    if (isTextDestination())
        emitString(u"\uFFFD");
}

void Interpreter::dropLeadByte()
{
    // A double-byte character cut in two by markup: show that something was lost.
    m_leadByte = 0;
    if (isTextDestination() && !m_state.character.hidden)
        emitString(u"\uFFFD");
}

void Interpreter::endParagraph()
{
    flushSurrogate();
    endParagraphLists();
    const Cached<QTextBlockFormat> &format = blockFormat();
    m_builder.endParagraph(format.format, format.id, m_state.paragraph.inTable);
}

void Interpreter::finishPicture()
{
    if (!isTextDestination() || m_state.character.hidden)
        return;
    const QImage image = m_picture.decode();
    const QSizeF size = m_picture.displaySize(image);
    m_picture = Picture();
    if (image.isNull())
        return;
    flushSurrogate();
    startParagraphContent();
    m_builder.appendImage(image, size.width(), size.height(), m_state.paragraph.inTable);
}

} // namespace ct::rtf
