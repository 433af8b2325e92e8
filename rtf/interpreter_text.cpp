// The interpreter's output of text: bytes through code pages and symbol fonts, \u
// with surrogate pairs, and what reaches the document builder.
#include "rtf/interpreter.h"

#include <QImage>

#include <algorithm>

namespace ct::rtf {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kBullet = 0x2022;

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

} // namespace

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
    const CharFormats::Entry &format = charFormat();
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
    const BlockFormats::Entry &format = blockFormat();
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
