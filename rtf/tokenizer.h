#pragma once

#include <cstdint>
#include <string_view>

namespace ct::rtf {

// The value of a hex digit, or -1.
constexpr int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One lexical unit of an RTF file.
enum class TokenKind {
    GroupStart,    // {
    GroupEnd,      // }
    ControlWord,   // \letters with an optional signed number
    ControlSymbol, // \ and one other character; \'hh arrives as HexByte
    HexByte,       // \'hh; `parameter` holds the byte
    Text,          // a run of plain bytes (line ends removed)
    Binary,        // the raw bytes after \binN
    End,
};

struct Token {
    TokenKind kind = TokenKind::End;
    // ControlWord: its letters (at most kMaxWordLength of them); ControlSymbol: the one
    // character; Text and Binary: the bytes.
    std::string_view text;
    bool hasParameter = false;
    std::int32_t parameter = 0;
    // Offset of the token's first byte in the input.
    std::size_t position = 0;
};

// Splits RTF bytes into tokens without ever looking back, so a file is read in one
// pass. It never fails: whatever bytes come in, tokens come out, and it is up to the
// reader to decide what they mean.
//
// Hostile input is bounded here: control words keep at most kMaxWordLength letters
// (the rest are read and dropped), numbers saturate at the 32-bit limits, \binN takes
// at most the bytes that are left, and a \'h with a missing or bad digit is dropped.
class Tokenizer {
public:
    static constexpr std::size_t kMaxWordLength = 32;

    explicit Tokenizer(std::string_view input) : m_input(input) {}

    Token next();
    std::size_t position() const { return m_pos; }
    std::size_t size() const { return m_input.size(); }

private:
    Token readControl(std::size_t start);
    Token readText(std::size_t start);

    std::string_view m_input;
    std::size_t m_pos = 0;
};

} // namespace ct::rtf
