// The reading loop: groups, \* and \uc, and the dispatch of tokens to destinations.
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
    case Word::ShapeInstance:
    case Word::Footnote:
    case Word::NestedTableProperties:
        return true;
    default:
        return false;
    }
}

// \uN is a signed 16-bit number, though some writers give code points above 32767
// as they are.
char32_t unicodeCharacter(std::int32_t value)
{
    if (value < 0 && value >= -32768)
        return static_cast<char32_t>(value + 65536);
    if (value >= 0 && value <= 0x10FFFF)
        return static_cast<char32_t>(value);
    return 0xFFFD;
}

} // namespace

Interpreter::Interpreter(std::string_view input, QTextDocument &document, const std::atomic_bool *stop)
    : m_tokens(input), m_stop(stop), m_text(m_context, document), m_listText(m_text), m_fontTable(m_context),
      m_colorTable(m_context), m_listTable(m_context), m_listOverrides(m_context), m_numbering(m_context),
      m_picture(m_context), m_unicodePair(m_context), m_shape(m_context, m_text), m_note(m_text), m_nestedRow(m_text)
{
    m_context.destinations = {&m_skip,      &m_text,          &m_listText,  &m_fontTable, &m_colorTable,
                              &m_listTable, &m_listOverrides, &m_numbering, &m_picture,   &m_unicodePair,
                              &m_shape,     &m_note,          &m_nestedRow};
    m_context.state.destination = &m_text;
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
    m_saved.push_back(m_context.state); // the state outside the outermost group
    return true;
}

bool Interpreter::mayEnd() const
{
    return m_skippedDepth == 0
           && std::all_of(m_saved.begin() + 1, m_saved.end(),
                          [](const GroupState &s) { return s.destination->showsText(); })
           && m_context.inText();
}

bool Interpreter::run(QString &error)
{
    if (!readHeader(error))
        return false;

    for (std::uint32_t count = 1;; ++count) {
        if (m_stop && count % 4096 == 0 && m_stop->load(std::memory_order_relaxed)) {
            error = QStringLiteral("stopped");
            return false;
        }
        const Token token = m_tokens.next();
        if (m_text.hasLeadByte() && token.kind != TokenKind::HexByte && token.kind != TokenKind::Text)
            m_text.dropLeadByte();

        if (m_context.state.destination == &m_skip) {
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

        Destination &destination = *m_context.state.destination;
        switch (token.kind) {
        case TokenKind::End:
            if (!mayEnd()) {
                // The file stops inside a font table, picture or other hidden part:
                // it was cut short.
                error = QStringLiteral("unexpected end of file at byte %1").arg(token.position);
                return false;
            }
            // A missing final } is common and harmless.
            m_text.finishDocument();
            return true;
        case TokenKind::GroupStart:
            if (!groupStart(token, error))
                return false;
            break;
        case TokenKind::GroupEnd:
            if (!groupEnd()) {
                // The outermost group has closed; whatever follows is not the document's.
                m_text.finishDocument();
                return true;
            }
            break;
        case TokenKind::ControlWord:
            controlWord(token);
            break;
        case TokenKind::ControlSymbol:
            controlSymbol(token.text.empty() ? '\0' : token.text.front());
            break;
        case TokenKind::HexByte: {
            m_starPending = false;
            if (consumeFallback())
                break;
            const char byte = static_cast<char>(token.parameter);
            destination.bytes(std::string_view(&byte, 1), true);
            break;
        }
        case TokenKind::Text: {
            m_starPending = false;
            std::string_view bytes = token.text;
            if (m_fallbackLeft > 0) {
                const auto skipped = std::min(bytes.size(), static_cast<std::size_t>(m_fallbackLeft));
                bytes.remove_prefix(skipped);
                m_fallbackLeft -= static_cast<int>(skipped);
            }
            if (!bytes.empty())
                destination.bytes(bytes, false);
            break;
        }
        case TokenKind::Binary:
            m_starPending = false;
            if (!consumeFallback())
                destination.binary(token.text);
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
    m_saved.push_back(m_context.state);
    return true;
}

bool Interpreter::groupEnd()
{
    m_fallbackLeft = 0;
    m_starPending = false;
    Destination *closing = m_context.state.destination;
    closing->groupEnd();
    if (m_saved.size() == 1) {
        // The outermost group: its state stays for the last paragraph.
        return false;
    }
    m_context.state = m_saved.back();
    m_saved.pop_back();
    if (m_context.state.destination != closing)
        closing->finish();
    return true;
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
            m_context.skipGroup();
            return;
        }
    }
    if (word == Word::Unicode) {
        // \u is read in every destination; its fallback follows it.
        if (consumeFallback())
            return;
        m_context.state.destination->unicode(unicodeCharacter(token.parameter));
        m_fallbackLeft = m_context.state.unicodeSkip;
        return;
    }
    if (consumeFallback())
        return;
    if (word == Word::SkippedDestination) {
        m_context.skipGroup();
        return;
    }
    if (word == Word::UnicodeSkip) {
        m_context.state.unicodeSkip = std::clamp(token.parameter, 0, 255);
        return;
    }
    m_context.state.destination->word(word, token);
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
    m_context.state.destination->symbol(symbol == '\r' ? '\n' : symbol);
}

} // namespace ct::rtf
