// The interpreter's reading loop: groups, destinations and the dispatch of tokens.
#include "rtf/interpreter.h"

#include "rtf/control_words.h"

#include <algorithm>

namespace ct::rtf {
namespace {

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

} // namespace ct::rtf
