#include "rtf/tokenizer.h"

#include <algorithm>
#include <limits>

namespace ct::rtf {
namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Bytes that end a run of text.
bool endsText(char c)
{
    return c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n';
}

} // namespace

Token Tokenizer::next()
{
    while (m_pos < m_input.size()) {
        const std::size_t start = m_pos;
        const char c = m_input[m_pos];
        switch (c) {
        case '{':
            ++m_pos;
            return {TokenKind::GroupStart, {}, false, 0, start};
        case '}':
            ++m_pos;
            return {TokenKind::GroupEnd, {}, false, 0, start};
        case '\r':
        case '\n':
            // Bare line ends are only there to keep lines short.
            ++m_pos;
            continue;
        case '\\':
            return readControl(start);
        default:
            return readText(start);
        }
    }
    return {TokenKind::End, {}, false, 0, m_input.size()};
}

Token Tokenizer::readText(std::size_t start)
{
    std::size_t end = start;
    while (end < m_input.size() && !endsText(m_input[end]))
        ++end;
    m_pos = end;
    return {TokenKind::Text, m_input.substr(start, end - start), false, 0, start};
}

Token Tokenizer::readControl(std::size_t start)
{
    const std::size_t size = m_input.size();
    std::size_t pos = start + 1;
    if (pos >= size) {
        // A backslash at the very end means nothing.
        m_pos = size;
        return {TokenKind::ControlSymbol, {}, false, 0, start};
    }
    const char first = m_input[pos];
    if (!isLetter(first)) {
        if (first == '\'') {
            int value = 0;
            int digits = 0;
            pos += 1;
            while (digits < 2 && pos < size) {
                const int v = hexDigitValue(m_input[pos]);
                if (v < 0)
                    break;
                value = value * 16 + v;
                ++digits;
                ++pos;
            }
            m_pos = pos;
            if (digits < 2)
                return {TokenKind::ControlSymbol, m_input.substr(start + 1, 1), false, 0, start};
            return {TokenKind::HexByte, m_input.substr(start + 1, 1), true, value, start};
        }
        m_pos = pos + 1;
        return {TokenKind::ControlSymbol, m_input.substr(pos, 1), false, 0, start};
    }

    const std::size_t wordStart = pos;
    while (pos < size && isLetter(m_input[pos]))
        ++pos;
    std::size_t wordLength = pos - wordStart;
    if (wordLength > kMaxWordLength)
        wordLength = kMaxWordLength;

    Token token{TokenKind::ControlWord, m_input.substr(wordStart, wordLength), false, 0, start};
    bool negative = false;
    if (pos < size && m_input[pos] == '-') {
        negative = true;
        token.hasParameter = true; // "-" alone is a parameter of 0
        ++pos;
    }
    if (pos < size && isDigit(m_input[pos])) {
        token.hasParameter = true;
        // Accumulate as a negative number so that INT32_MIN fits, and saturate.
        constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
        std::int64_t magnitude = 0;
        while (pos < size && isDigit(m_input[pos])) {
            if (magnitude <= limit)
                magnitude = magnitude * 10 + (m_input[pos] - '0');
            ++pos;
        }
        if (negative)
            token.parameter = static_cast<std::int32_t>(-std::min(magnitude, limit));
        else
            token.parameter = static_cast<std::int32_t>(std::min(magnitude, limit - 1));
    }
    if (pos < size && m_input[pos] == ' ')
        ++pos; // the space that ends a control word belongs to it

    if (token.text == "bin") {
        const std::size_t left = size - pos;
        std::size_t count = token.parameter > 0 ? static_cast<std::size_t>(token.parameter) : 0;
        if (count > left)
            count = left;
        token.kind = TokenKind::Binary;
        token.text = m_input.substr(pos, count);
        pos += count;
    }
    m_pos = pos;
    return token;
}

} // namespace ct::rtf
