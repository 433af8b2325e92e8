// The tokenizer on its own: where words, numbers and escapes begin and end.
#include "rtf/tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using ct::rtf::Token;
using ct::rtf::Tokenizer;
using ct::rtf::TokenKind;

namespace {

// A token written as text: "{", "}", "\word", "\word-12", "\sym:x", "'hh", "t:text",
// "bin:bytes".
std::string describe(const Token &token)
{
    switch (token.kind) {
    case TokenKind::GroupStart:
        return "{";
    case TokenKind::GroupEnd:
        return "}";
    case TokenKind::ControlWord:
        return "\\" + std::string(token.text) + (token.hasParameter ? std::to_string(token.parameter) : "");
    case TokenKind::ControlSymbol:
        return "\\sym:" + std::string(token.text);
    case TokenKind::HexByte: {
        char hex[8];
        std::snprintf(hex, sizeof hex, "'%02x", token.parameter);
        return hex;
    }
    case TokenKind::Text:
        return "t:" + std::string(token.text);
    case TokenKind::Binary:
        return "bin:" + std::string(token.text);
    case TokenKind::End:
        return "end";
    }
    return "?";
}

std::vector<std::string> tokensOf(const std::string &input)
{
    Tokenizer tokenizer(input);
    std::vector<std::string> tokens;
    for (Token token = tokenizer.next(); token.kind != TokenKind::End; token = tokenizer.next())
        tokens.push_back(describe(token));
    return tokens;
}

struct TokenCase {
    const char *name;
    std::string input;
    std::vector<std::string> tokens;
};

void PrintTo(const TokenCase &c, std::ostream *out)
{
    *out << c.name;
}

class Tokens : public ::testing::TestWithParam<TokenCase> {};

TEST_P(Tokens, AreSplitAsRtfSays)
{
    EXPECT_EQ(tokensOf(GetParam().input), GetParam().tokens);
}

const std::string kLongWord(40, 'a');

const TokenCase kTokenCases[] = {
    {"Groups", "{a}", {"{", "t:a", "}"}},
    {"WordWithoutParameter", "\\par x", {"\\par", "t:x"}},
    {"OneSpaceBelongsToTheWord", "\\b  x", {"\\b", "t: x"}},
    {"WordEndsAtNonLetter", "\\b;x", {"\\b", "t:;x"}},
    {"Parameter", "\\fs24 x", {"\\fs24", "t:x"}},
    {"NegativeParameter", "\\fi-360\\li720", {"\\fi-360", "\\li720"}},
    {"DashAloneIsZero", "\\li- x", {"\\li0", "t:x"}},
    {"LargestParameter", "\\x2147483647 ", {"\\x2147483647"}},
    {"SaturatesHigh", "\\x2147483648 ", {"\\x2147483647"}},
    {"SaturatesLow", "\\x-99999999999999999999 ", {"\\x-2147483648"}},
    {"SmallestParameter", "\\x-2147483648 ", {"\\x-2147483648"}},
    {"WordCappedAt32Letters", "\\" + kLongWord + "5 x", {"\\" + std::string(32, 'a') + "5", "t:x"}},
    {"Symbols", "\\~\\{\\}\\\\\\*", {"\\sym:~", "\\sym:{", "\\sym:}", "\\sym:\\", "\\sym:*"}},
    {"HexByte", "\\'e9\\'E9", {"'e9", "'e9"}},
    {"HexByteThenText", "\\'e9t", {"'e9", "t:t"}},
    {"BadHexDropped", "\\'g1", {"\\sym:'", "t:g1"}},
    {"HalfHexDropped", "\\'4", {"\\sym:'"}},
    {"LineEndsSkipped", "a\r\nb", {"t:a", "t:b"}},
    {"BackslashLineEnd", "a\\\nb", {"t:a", "\\sym:\n", "t:b"}},
    {"BinaryTakesRawBytes", "\\bin3 {}\\x", {"bin:{}\\", "t:x"}},
    {"BinaryClampedToWhatIsLeft", "\\bin99 ab", {"bin:ab"}},
    {"BinaryNegativeIsEmpty", "\\bin-4 ab", {"bin:", "t:ab"}},
    {"BinaryWithoutParameterIsEmpty", "\\bin ab", {"bin:", "t:ab"}},
    {"BackslashAtEnd", "a\\", {"t:a", "\\sym:"}},
};
INSTANTIATE_TEST_SUITE_P(Cases, Tokens, ::testing::ValuesIn(kTokenCases),
                         [](const ::testing::TestParamInfo<TokenCase> &param) {
                             return std::string(param.param.name);
                         });

TEST(Tokenizer, PositionsAreByteOffsets)
{
    Tokenizer tokenizer("{\\rtf1 ab}");
    EXPECT_EQ(tokenizer.next().position, 0u);
    EXPECT_EQ(tokenizer.next().position, 1u);
    EXPECT_EQ(tokenizer.next().position, 7u);
    EXPECT_EQ(tokenizer.next().position, 9u);
    const Token end = tokenizer.next();
    EXPECT_EQ(end.kind, TokenKind::End);
    EXPECT_EQ(end.position, 10u);
}

} // namespace
