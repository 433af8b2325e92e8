// What text a document shows: characters, escapes, code pages, Unicode and the
// parts of a file that are not text.
#include "rtf_test_support.h"

#include <gtest/gtest.h>

using namespace ct::rtf::testing;

namespace {

struct TextCase {
    const char *name;
    std::string body; // the document body, or a whole document when it holds "{\rtf"
    const char16_t *expected;
};

void PrintTo(const TextCase &c, std::ostream *out)
{
    *out << c.name;
}

class ShownText : public ::testing::TestWithParam<TextCase> {};

TEST_P(ShownText, IsWhatAWordProcessorShows)
{
    const TextCase &c = GetParam();
    const QByteArray input = c.body.find("{\\rtf") != std::string::npos
                                 ? QByteArray(c.body.data(), static_cast<qsizetype>(c.body.size()))
                                 : wrap(c.body);
    const ReadOutcome outcome = readRtf(input);
    ASSERT_TRUE(outcome.ok) << outcome.error.toStdString();
    EXPECT_EQ(textOf(*outcome.document), QString::fromUtf16(c.expected));
}

using namespace std::string_literals;

std::string caseName(const ::testing::TestParamInfo<TextCase> &param)
{
    return param.param.name;
}

const TextCase kSyntax[] = {
    {"PlainText", "Hello world", u"Hello world"},
    {"SpaceAfterWordBelongsToIt", "\\b bold\\b0  plain", u"bold plain"},
    {"SecondSpaceIsText", "a\\b  b", u"a b"},
    {"BareLineEndsIgnored", "a\r\nb\nc\rd", u"abcd"},
    {"BackslashNewlineIsParagraph", "a\\\nb\\\rc", u"a\nb\nc"},
    {"LiteralBracesAndBackslash", "\\{x\\}\\\\", u"{x}\\"},
    {"NulBytesDropped", "a\0b"s, u"ab"},
    {"ControlCharactersDropped", "a\x01\x1f\\'0a\\'0d\\u13?b", u"ab"},
    {"RawTabKept", "a\tb", u"a\tb"},
    {"QtBoundaryCharactersNeverReachTheDocument", "a\\u64976?\\u64977?\\u65532?b", u"ab"},
    {"ParagraphSeparatorStaysInTheParagraph", "a\\u8233?b", u"a\u2028b"},
    {"UnknownWordIgnoredTextKept", "a\\foo b\\bar7 c", u"abc"},
    {"NegativeParameterEndsWord", "a\\foo-12b", u"ab"},
    {"DashWithoutDigitsIsZero", "a\\foo-b", u"ab"},
    {"WordLongerThan32Letters", "a\\" + std::string(100, 'x') + " b", u"ab"},
    {"HugeNumberSaturates", "a\\fs" + std::string(5000, '9') + " b", u"ab"},
    {"HugeNegativeNumberSaturates", "a\\li-" + std::string(5000, '9') + " b", u"ab"},
    {"BadHexEscapeDropped", "a\\'zzb", u"azzb"},
    {"HalfHexEscapeDropped", "a\\'4zb", u"azb"},
    {"BackslashAtEnd", "{\\rtf1 a\\", u"a"},
    {"TextAfterTheEndIgnored", "{\\rtf1 a}b", u"a"},
    {"StrayCloseBraceEndsDocument", "{\\rtf1 a}}b", u"a"},
    {"MissingFinalBrace", "{\\rtf1 a\\par b", u"a\nb"},
    {"LeadingWhitespaceAndBom", "\xEF\xBB\xBF \n{\\rtf1 a}", u"a"},
};
INSTANTIATE_TEST_SUITE_P(Syntax, ShownText, ::testing::ValuesIn(kSyntax), caseName);

const TextCase kBreaks[] = {
    {"Par", "a\\par b", u"a\nb"},
    {"FinalParLeavesNoEmptyParagraph", "a\\par", u"a"},
    {"TwoFinalParsLeaveOne", "a\\par\\par", u"a\n"},
    {"EmptyParagraphsKept", "a\\par\\par\\par b", u"a\n\n\nb"},
    {"Line", "a\\line b", u"a\u2028b"},
    {"Tab", "a\\tab b", u"a\tb"},
    {"SectionAndPageEndParagraphs", "a\\sect b\\page c", u"a\nb\nc"},
};
INSTANTIATE_TEST_SUITE_P(Breaks, ShownText, ::testing::ValuesIn(kBreaks), caseName);

const TextCase kSpecialCharacters[] = {
    {"Spaces", "\\~\\emspace\\enspace\\qmspace", u"\u00A0\u2003\u2002\u2005"},
    {"Hyphens", "a\\-b\\_c", u"a\u00ADb\u2011c"},
    {"Dashes", "\\emdash\\endash", u"\u2014\u2013"},
    {"Quotes", "\\lquote a\\rquote \\ldblquote b\\rdblquote", u"\u2018a\u2019\u201Cb\u201D"},
    {"Bullet", "\\bullet\\tab x", u"\u2022\tx"},
    {"Marks", "\\zwj\\zwnj\\zwbo\\ltrmark\\rtlmark", u"\u200D\u200C\u200B\u200E\u200F"},
};
INSTANTIATE_TEST_SUITE_P(Special, ShownText, ::testing::ValuesIn(kSpecialCharacters), caseName);

const TextCase kUnicode[] = {
    {"FallbackSkipped", "\\u252?ber", u"\u00FCber"},
    {"FallbackHexSkipped", "\\u252\\'fcber", u"\u00FCber"},
    {"NoFallbackWithUc0", "\\uc0\\u252 ber", u"\u00FCber"},
    {"TwoByteFallback", "\\uc2\\u8364\\'80\\'80 x", u"\u20AC x"},
    {"UcScopedToGroup", "{\\uc2\\u8364 ab}\\u8364 cd", u"\u20AC\u20ACd"},
    {"BraceEndsSkip", "\\uc3\\u8364{x}y", u"\u20ACxy"},
    {"ClosingBraceEndsSkip", "{\\uc3\\u8364}xyz", u"\u20ACxyz"},
    {"ControlWordCountsAsOne", "\\uc1\\u252\\b ber", u"\u00FCber"},
    {"MacWordChangesUcMidText", "\\uc2\\u-32768\\'97\\'73x", u"\u8000x"},
    {"NegativeIsSigned16Bit", "\\u-4064?", u"\uF020"},
    {"UnsignedAbove32767", "\\u44032?", u"\uAC00"},
    {"SurrogatePairJoined", "\\u-10179?\\u-8704?", u"\U0001F600"},
    {"UnsignedSurrogatePair", "\\u55357?\\u56832?", u"\U0001F600"},
    {"LoneHighSurrogate", "\\u55357?x", u"\uFFFDx"},
    {"LoneLowSurrogate", "\\u56832?x", u"\uFFFDx"},
    {"HighSurrogateThenHigh", "\\u55357?\\u55357?\\u56832?", u"\uFFFD\U0001F600"},
    {"HighSurrogateAtParagraphEnd", "\\u55357?\\par x", u"\uFFFD\nx"},
    {"OutOfRange", "\\u1114112?x\\u-40000?y", u"\uFFFDx\uFFFDy"},
    {"SymbolPrivateUseBulletInAnyFont", "\\u-3913?", u"\u2022"},
    {"UnicodePairShowsUnicodeHalf", "{\\upr{a}{\\*\\ud{b}}}", u"b"},
};
INSTANTIATE_TEST_SUITE_P(Unicode, ShownText, ::testing::ValuesIn(kUnicode), caseName);

const TextCase kCodePages[] = {
    {"Cp1252ByDefault", "caf\\'e9 \\'80 \\'93q\\'94", u"caf\u00E9 \u20AC \u201Cq\u201D"},
    {"RawHighBytes", "caf\xe9", u"caf\u00E9"},
    {"FontCharsetCyrillic", "{\\f3\\'cf\\'f0\\'e8}", u"\u041F\u0440\u0438"},
    {"FontCodePage", "{\\f8\\'e1\\'e2}", u"\u03B1\u03B2"},
    {"ShiftJis", "{\\f2\\'82\\'a0\\'93\\'fa}", u"\u3042\u65E5"},
    {"ShiftJisTrailIsBackslash", "{\\f2\\'95\\'5c}", u"\u8868"},
    {"Gbk", "{\\f5\\'c4\\'e3\\'ba\\'c3}", u"\u4F60\u597D"},
    {"Korean", "{\\f6\\'b0\\'a1}", u"\uAC00"},
    {"Big5", "{\\f7\\'a7\\'41}", u"\u4F60"},
    {"DoubleByteCutByMarkup", "{\\f2\\'82\\b x}", u"\uFFFDx"},
    {"DoubleByteAsciiUnaffected", "{\\f2 abc}", u"abc"},
    {"AnsiCodePageForUnspecifiedFont", "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 Arial;}}\\f0\\'c4\\'e0}",
     u"\u0414\u0430"},
    {"AnsiCodePageForUndeclaredFont", "{\\rtf1\\ansi\\ansicpg1250\\f7\\'9a}", u"\u0161"},
    {"UnknownCodePageFallsBackToCp1252", "{\\rtf1\\ansi\\ansicpg99999 \\'e9}", u"\u00E9"},
    {"MacintoshCharset", "{\\rtf1\\mac \\'8e}", u"\u00E9"},
};
INSTANTIATE_TEST_SUITE_P(CodePages, ShownText, ::testing::ValuesIn(kCodePages), caseName);

const TextCase kSymbolFonts[] = {
    {"SymbolBulletByte", "{\\f1\\'b7}", u"\u2022"},
    {"SymbolBulletPrivateUse", "{\\f1\\u-3913?}", u"\u2022"},
    {"SymbolGreek", "{\\f1 abm}", u"\u03B1\u03B2\u03BC"},
    {"WingdingsSquareBullet", "{\\f4\\'a7}", u"\u25AA"},
    {"CourierOIsAnO", "{\\f9 o}", u"o"},
};
INSTANTIATE_TEST_SUITE_P(SymbolFonts, ShownText, ::testing::ValuesIn(kSymbolFonts), caseName);

const TextCase kDestinations[] = {
    {"UnknownStarredDestinationSkippedWhole", "a{\\*\\foo b{c\\par}d}e", u"ae"},
    {"KnownWordAfterStarStillSkipped", "a{\\*\\b b}c", u"ac"},
    {"InfoSkipped", "a{\\info{\\title T}{\\author A}}b", u"ab"},
    {"StylesheetSkipped", "a{\\stylesheet{\\s0 Normal;}}b", u"ab"},
    {"HeadersAndFootersSkipped", "a{\\header H}{\\footerl F}{\\headerf G}b", u"ab"},
    {"FootnoteAfterTheText", "a{\\footnote\\pard F\\par}b", u"ab\n\nF"},
    {"BookmarksSkipped", "a{\\*\\bkmkstart x}b{\\*\\bkmkend x}c", u"abc"},
    {"FieldShowsResult", "{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}}", u"link"},
    {"FieldWithoutStar", "{\\field{\\fldinst PAGE}{\\fldrslt 3}}", u"3"},
    {"HiddenTextDropped", "a{\\v hidden}b\\v c\\v0 d", u"abd"},
    {"BinaryDataNotText", "a\\bin3 x}yb", u"ab"},
    {"BinaryDataHidesBraces", "a{\\*\\foo\\bin3 }}}}b", u"ab"},
    {"HugeBinaryClamped", "a\\bin999999999 xyz", u"a"},
    {"NegativeBinaryIsEmpty", "a\\bin-5 b", u"ab"},
    {"NonShapePictureSkipped", "a{\\nonshppict{\\pict\\wmetafile8 0102}}b", u"ab"},
    {"OtherPictureKindsSkipped", "a{\\pict\\emfblip 0102}b", u"ab"},
    {"PnSkippedPnTextShown", "{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'B7}}item", u"\u2022\titem"},
    {"ListTextShown", "{\\listtext\\pard\\plain \\u8226\\'95\\tab}\\ls1 item", u"\u2022\titem"},
};
INSTANTIATE_TEST_SUITE_P(Destinations, ShownText, ::testing::ValuesIn(kDestinations), caseName);

} // namespace
