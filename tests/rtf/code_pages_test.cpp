// Code pages and symbol fonts on their own.
#include "rtf/code_pages.h"

#include <gtest/gtest.h>

using namespace ct::rtf;

namespace {

struct ByteCase {
    int codePage;
    unsigned char byte;
    char32_t expected;
};

void PrintTo(const ByteCase &c, std::ostream *out)
{
    *out << "cp" << c.codePage << " byte " << int(c.byte);
}

class SingleByte : public ::testing::TestWithParam<ByteCase> {};

TEST_P(SingleByte, DecodesAsWindowsDoes)
{
    const ByteCase &c = GetParam();
    EXPECT_EQ(CodePage::forNumber(c.codePage).byte(c.byte), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    CodePages, SingleByte,
    ::testing::Values(ByteCase{1252, 0x41, U'A'}, ByteCase{1252, 0x80, 0x20AC}, ByteCase{1252, 0x9F, 0x0178},
                      ByteCase{1252, 0x81, 0x0081}, ByteCase{1252, 0xE9, 0x00E9}, ByteCase{1250, 0x9A, 0x0161},
                      ByteCase{1251, 0xC0, 0x0410}, ByteCase{1253, 0xE1, 0x03B1}, ByteCase{1253, 0xF9, 0x03C9},
                      ByteCase{1254, 0xF0, 0x011F}, ByteCase{1255, 0xE0, 0x05D0}, ByteCase{1256, 0xC7, 0x0627},
                      ByteCase{1257, 0xE0, 0x0105}, ByteCase{874, 0xA1, 0x0E01}, ByteCase{10000, 0x8E, 0x00E9},
                      ByteCase{437, 0x82, 0x00E9}, ByteCase{850, 0x82, 0x00E9},
                      // Not a code page Windows writers use: cp1252 stands in.
                      ByteCase{12345, 0x80, 0x20AC}, ByteCase{-1, 0xE9, 0x00E9}));

TEST(DoubleByte, LeadBytesAndPairs)
{
    const CodePage &shiftJis = CodePage::forNumber(932);
    ASSERT_TRUE(shiftJis.isDoubleByte());
    EXPECT_TRUE(shiftJis.isLeadByte(0x82));
    EXPECT_FALSE(shiftJis.isLeadByte(0xA0));
    EXPECT_EQ(shiftJis.byte(0xB1), 0xFF71u); // half-width katakana is one byte
    EXPECT_EQ(shiftJis.pair(0x82, 0xA0), 0x3042u);
    EXPECT_EQ(shiftJis.pair(0x82, 0xA0), 0x3042u); // cached
    EXPECT_EQ(shiftJis.pair(0x41, 0x41), 0xFFFDu); // not a lead byte
    EXPECT_EQ(CodePage::forNumber(936).pair(0xC4, 0xE3), 0x4F60u);
    EXPECT_EQ(CodePage::forNumber(949).pair(0xB0, 0xA1), 0xAC00u);
    EXPECT_EQ(CodePage::forNumber(950).pair(0xA7, 0x41), 0x4F60u);
    EXPECT_FALSE(CodePage::forNumber(1252).isDoubleByte());
}

TEST(Charsets, MapToCodePages)
{
    EXPECT_EQ(codePageOfCharset(0), 1252);
    EXPECT_EQ(codePageOfCharset(1), 0);
    EXPECT_EQ(codePageOfCharset(2), 0);
    EXPECT_EQ(codePageOfCharset(128), 932);
    EXPECT_EQ(codePageOfCharset(134), 936);
    EXPECT_EQ(codePageOfCharset(204), 1251);
    EXPECT_EQ(codePageOfCharset(238), 1250);
    EXPECT_EQ(codePageOfCharset(999), 0);
}

TEST(SymbolFonts, RecognisedByCharsetOrName)
{
    EXPECT_EQ(symbolFontOf("Symbol", 0), SymbolFont::Symbol);
    EXPECT_EQ(symbolFontOf("Whatever", 2), SymbolFont::Symbol);
    EXPECT_EQ(symbolFontOf("Wingdings", 2), SymbolFont::Wingdings);
    EXPECT_EQ(symbolFontOf("Wingdings 2", 0), SymbolFont::Wingdings);
    EXPECT_EQ(symbolFontOf("Arial", 0), SymbolFont::None);
}

TEST(SymbolFonts, CharactersInUnicode)
{
    EXPECT_EQ(symbolCharacter(SymbolFont::Symbol, 0xB7), 0x2022u);
    EXPECT_EQ(symbolCharacter(SymbolFont::Symbol, 'a'), 0x03B1u);
    EXPECT_EQ(symbolCharacter(SymbolFont::Symbol, '5'), U'5');
    EXPECT_EQ(symbolCharacter(SymbolFont::Symbol, 0xFF), 0xF0FFu); // unmapped
    EXPECT_EQ(symbolCharacter(SymbolFont::Wingdings, 0xA7), 0x25AAu);
    EXPECT_EQ(symbolCharacter(SymbolFont::Wingdings, 'A'), 0x270Cu);
    // The signs a participant must read as such, not as unrelated pictograms.
    const QString wingdings = QStringLiteral("\u2717\u2713\u2794\u263A\u2639\u2706\u2709\u261C");
    const unsigned char bytes[] = {0xFB, 0xFC, 0xE8, 0x4A, 0x4C, 0x29, 0x2A, 0x45};
    for (std::size_t i = 0; i < std::size(bytes); ++i)
        EXPECT_EQ(symbolCharacter(SymbolFont::Wingdings, bytes[i]), wingdings.at(qsizetype(i)).unicode()) << i;
    EXPECT_EQ(symbolFontOf("Webdings", 2), SymbolFont::Webdings);
    EXPECT_EQ(symbolCharacter(SymbolFont::Webdings, 'a'), 0x2714u);
    EXPECT_EQ(symbolCharacter(SymbolFont::Webdings, 'r'), 0x2717u);
    EXPECT_EQ(symbolCharacter(SymbolFont::Webdings, 'A'), 0xF041u); // unmapped
}

TEST(Decode, WholeStrings)
{
    EXPECT_EQ(decode(CodePage::forNumber(1252), "caf\xe9"), QString::fromUtf8("café"));
    EXPECT_EQ(decode(CodePage::forNumber(932), "\x93\xfa\x96\x7b"), QString::fromUtf8("日本"));
    EXPECT_EQ(decode(CodePage::forNumber(932), "a\x93"), QString::fromUtf8("a\uFFFD"));
}

} // namespace
