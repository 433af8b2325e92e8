// Character and paragraph formats the reader gives to what it shows.
#include "rtf_test_support.h"

#include <QBrush>
#include <QFont>
#include <QTextBlock>
#include <QTextCursor>

#include <gtest/gtest.h>

using namespace ct::rtf::testing;

namespace {

// One property of the format at `needle`; an invalid `expected` means "not set".
struct FormatCase {
    const char *name;
    std::string body;
    const char *needle;
    int property;
    QVariant expected;
};

void PrintTo(const FormatCase &c, std::ostream *out)
{
    *out << c.name;
}

std::string caseName(const ::testing::TestParamInfo<FormatCase> &param)
{
    return param.param.name;
}

const QVariant kUnset;

class CharacterFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(CharacterFormat, IsTheWritersFormat)
{
    const FormatCase &c = GetParam();
    const ReadOutcome outcome = readRtf(wrap(c.body));
    ASSERT_TRUE(outcome.ok) << outcome.error.toStdString();
    ASSERT_FALSE(outcome.document->find(QString::fromUtf8(c.needle)).isNull()) << "text missing";
    const QTextCharFormat format = charFormatOf(*outcome.document, QString::fromUtf8(c.needle));
    EXPECT_EQ(format.property(c.property), c.expected);
}

const FormatCase kCharacterCases[] = {
    {"BoldOn", "\\b x\\b0 y", "x", QTextFormat::FontWeight, QFont::Bold},
    {"BoldOff", "\\b x\\b0 y", "y", QTextFormat::FontWeight, kUnset},
    {"ItalicOn", "\\i x", "x", QTextFormat::FontItalic, true},
    {"Underline", "\\ul x\\ulnone y", "x", QTextFormat::TextUnderlineStyle, QTextCharFormat::SingleUnderline},
    {"UnderlineNone", "\\ul x\\ulnone y", "y", QTextFormat::TextUnderlineStyle, kUnset},
    {"UnderlineZero", "\\ul x\\ul0 y", "y", QTextFormat::TextUnderlineStyle, kUnset},
    {"DoubleUnderline", "\\uldb x", "x", QTextFormat::TextUnderlineStyle, QTextCharFormat::SingleUnderline},
    {"Strike", "\\strike x", "x", QTextFormat::FontStrikeOut, true},
    {"Superscript", "a\\super x\\nosupersub y", "x", QTextFormat::TextVerticalAlignment,
     QTextCharFormat::AlignSuperScript},
    {"NoSuperSub", "a\\super x\\nosupersub y", "y", QTextFormat::TextVerticalAlignment, kUnset},
    {"Subscript", "H{\\sub 2}O", "2", QTextFormat::TextVerticalAlignment, QTextCharFormat::AlignSubScript},
    {"LoweredInHalfPoints", "H{\\dn6 2}O", "2", QTextFormat::TextBaselineOffset, -25.0},
    {"RaisedDefaultsToThreePoints", "\\fs12 x{\\up y}", "y", QTextFormat::TextBaselineOffset, 50.0},
    {"ExpandedInQuarterPoints", "\\expnd4 x", "x", QTextFormat::FontLetterSpacing, 20 / 15.0},
    {"DottedUnderline", "\\uld x", "x", QTextFormat::TextUnderlineStyle, QTextCharFormat::DotLine},
    {"DefaultSizeIs12", "x", "x", QTextFormat::FontPointSize, 12.0},
    {"SizeInHalfPoints", "\\fs36 x", "x", QTextFormat::FontPointSize, 18.0},
    {"OddHalfPoints", "\\fs21 x", "x", QTextFormat::FontPointSize, 10.5},
    {"SizeZeroIsDefault", "\\fs0 x", "x", QTextFormat::FontPointSize, 12.0},
    {"HugeSizeClamped", "\\fs999999 x", "x", QTextFormat::FontPointSize, 1638.0},
    {"Colour", "\\cf1 x", "x", QTextFormat::ForegroundBrush, QBrush(QColor(255, 0, 0))},
    {"ColourZeroIsAutomatic", "\\cf1 a\\cf0 x", "x", QTextFormat::ForegroundBrush, kUnset},
    {"EmptyEntryIsAutomatic", "\\cf3 x", "x", QTextFormat::ForegroundBrush, kUnset},
    {"IndexPastTableIsAutomatic", "\\cf99 x", "x", QTextFormat::ForegroundBrush, kUnset},
    {"Highlight", "\\highlight2 x", "x", QTextFormat::BackgroundBrush, QBrush(QColor(0, 0, 255))},
    {"DefaultFontFromDeff", "x", "x", QTextFormat::FontFamilies, QStringList{"Arial"}},
    {"FontFromTable", "\\f9 x", "x", QTextFormat::FontFamilies, QStringList{"Courier New"}},
    {"UndeclaredFontKeepsDefaultFamily", "\\f77 x", "x", QTextFormat::FontFamilies, kUnset},
    {"SymbolFontFamilyNotUsed", "\\f1\\'b7", "\u2022", QTextFormat::FontFamilies, kUnset},
    {"AllCaps", "\\caps x", "x", QTextFormat::FontCapitalization, QFont::AllUppercase},
    {"PlainResetsBold", "\\b\\i\\fs40 a\\plain x", "x", QTextFormat::FontWeight, kUnset},
    {"PlainResetsSize", "\\b\\i\\fs40 a\\plain x", "x", QTextFormat::FontPointSize, 12.0},
    {"GroupEndRestoresBold", "{\\b a}x", "x", QTextFormat::FontWeight, kUnset},
    {"GroupEndRestoresColour", "\\cf2{\\cf1 a}x", "x", QTextFormat::ForegroundBrush, QBrush(QColor(0, 0, 255))},
    {"PardKeepsCharacterFormat", "\\b a\\pard x", "x", QTextFormat::FontWeight, QFont::Bold},
};
INSTANTIATE_TEST_SUITE_P(Character, CharacterFormat, ::testing::ValuesIn(kCharacterCases), caseName);

class ParagraphFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(ParagraphFormat, IsTheWritersFormat)
{
    const FormatCase &c = GetParam();
    const ReadOutcome outcome = readRtf(wrap(c.body));
    ASSERT_TRUE(outcome.ok) << outcome.error.toStdString();
    ASSERT_FALSE(outcome.document->find(QString::fromUtf8(c.needle)).isNull()) << "text missing";
    const QTextBlockFormat format = blockFormatOf(*outcome.document, QString::fromUtf8(c.needle));
    EXPECT_EQ(format.property(c.property), c.expected);
}

// Twips become pixels at 96 dpi: 15 twips to the pixel.
const FormatCase kParagraphCases[] = {
    {"Centred", "\\qc x\\par", "x", QTextFormat::BlockAlignment, int(Qt::AlignHCenter)},
    {"Right", "\\qr x", "x", QTextFormat::BlockAlignment, int(Qt::AlignRight | Qt::AlignAbsolute)},
    {"Justified", "\\qj x", "x", QTextFormat::BlockAlignment, int(Qt::AlignJustify)},
    {"PardResetsAlignment", "\\qc a\\par\\pard x", "x", QTextFormat::BlockAlignment,
     int(Qt::AlignLeft | Qt::AlignAbsolute)},
    {"ParagraphKeepsPropertiesAcrossPar", "\\qc a\\par x", "x", QTextFormat::BlockAlignment, int(Qt::AlignHCenter)},
    {"GroupEndRestoresParagraph", "{\\qc a\\par}x", "x", QTextFormat::BlockAlignment,
     int(Qt::AlignLeft | Qt::AlignAbsolute)},
    {"PropertiesAtParApplyToWholeParagraph", "x\\qr\\par", "x", QTextFormat::BlockAlignment,
     int(Qt::AlignRight | Qt::AlignAbsolute)},
    {"LeftIndent", "\\li720 x", "x", QTextFormat::BlockLeftMargin, 48.0},
    {"RightIndent", "\\ri1440 x", "x", QTextFormat::BlockRightMargin, 96.0},
    {"HangingFirstLine", "\\fi-360\\li720 x", "x", QTextFormat::TextIndent, -24.0},
    {"SpaceBefore", "\\sb240 x", "x", QTextFormat::BlockTopMargin, 16.0},
    {"SpaceAfter", "\\sa300 x", "x", QTextFormat::BlockBottomMargin, 20.0},
    {"HugeIndentClamped", "\\li99999999 x", "x", QTextFormat::BlockLeftMargin, 2112.0},
    {"LineSpacingMultiple", "\\sl276\\slmult1 x", "x", QTextFormat::LineHeight, 115.0},
    {"LineSpacingMultipleType", "\\sl276\\slmult1 x", "x", QTextFormat::LineHeightType,
     int(QTextBlockFormat::ProportionalHeight)},
    {"LineSpacingExact", "\\sl-360\\slmult0 x", "x", QTextFormat::LineHeight, 24.0},
    {"LineSpacingExactType", "\\sl-360\\slmult0 x", "x", QTextFormat::LineHeightType,
     int(QTextBlockFormat::FixedHeight)},
    {"LineSpacingAtLeastType", "\\sl360\\slmult0 x", "x", QTextFormat::LineHeightType,
     int(QTextBlockFormat::MinimumHeight)},
    {"LineSpacingZeroIsSingle", "\\sl0 x", "x", QTextFormat::LineHeightType, kUnset},
    {"ListTextPardDoesNotLeak", "\\qc{\\listtext\\pard\\plain \\'b7\\tab}x", "x", QTextFormat::BlockAlignment,
     int(Qt::AlignHCenter)},
};
INSTANTIATE_TEST_SUITE_P(Paragraph, ParagraphFormat, ::testing::ValuesIn(kParagraphCases), caseName);

TEST(ParagraphFormat, TabStopsInPixelsWithTheirKinds)
{
    const ReadOutcome outcome = readRtf(wrap("\\tx720\\tqr\\tx4320\\tqc\\tx5760\\tqdec\\tx7200 a\\tab b\\par"));
    ASSERT_TRUE(outcome.ok);
    const QList<QTextOption::Tab> tabs = blockFormatOf(*outcome.document, "a").tabPositions();
    ASSERT_EQ(tabs.size(), 4);
    EXPECT_EQ(tabs[0], QTextOption::Tab(48.0, QTextOption::LeftTab));
    EXPECT_EQ(tabs[1], QTextOption::Tab(288.0, QTextOption::RightTab));
    EXPECT_EQ(tabs[2], QTextOption::Tab(384.0, QTextOption::CenterTab));
    EXPECT_EQ(tabs[3], QTextOption::Tab(480.0, QTextOption::DelimiterTab, QLatin1Char('.')));
}

TEST(ParagraphFormat, HangingIndentHasAnImplicitTabStopAtTheLeftIndent)
{
    // Qt measures tab stops from where the first line starts: 720 - 360 twips in.
    const ReadOutcome outcome = readRtf(wrap("\\fi-360\\li720 \\bullet\\tab a"));
    ASSERT_TRUE(outcome.ok);
    const QList<QTextOption::Tab> tabs = blockFormatOf(*outcome.document, "a").tabPositions();
    ASSERT_EQ(tabs.size(), 1);
    EXPECT_EQ(tabs[0], QTextOption::Tab(24.0, QTextOption::LeftTab));
}

TEST(ParagraphFormat, TabStopsCountFromTheFirstLineStart)
{
    // \tx1440 with the first line starting at 360 twips; \tx300 lies before it.
    const ReadOutcome outcome = readRtf(wrap("\\fi-360\\li720\\tx300\\tx1440 a"));
    ASSERT_TRUE(outcome.ok);
    const QList<QTextOption::Tab> tabs = blockFormatOf(*outcome.document, "a").tabPositions();
    ASSERT_EQ(tabs.size(), 2);
    EXPECT_EQ(tabs[0], QTextOption::Tab(24.0, QTextOption::LeftTab)); // implicit, at the left indent
    EXPECT_EQ(tabs[1], QTextOption::Tab(72.0, QTextOption::LeftTab));
}

TEST(ParagraphFormat, ExplicitTabBeforeTheLeftIndentReplacesTheImplicitOne)
{
    const ReadOutcome outcome = readRtf(wrap("\\fi-360\\li720\\tx600 a"));
    ASSERT_TRUE(outcome.ok);
    const QList<QTextOption::Tab> tabs = blockFormatOf(*outcome.document, "a").tabPositions();
    ASSERT_EQ(tabs.size(), 1);
    EXPECT_EQ(tabs[0], QTextOption::Tab(16.0, QTextOption::LeftTab));
}

TEST(ParagraphFormat, TabStopsEndWithPard)
{
    const ReadOutcome outcome = readRtf(wrap("\\tx720 a\\par\\pard b"));
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(blockFormatOf(*outcome.document, "a").tabPositions().size(), 1);
    EXPECT_TRUE(blockFormatOf(*outcome.document, "b").tabPositions().isEmpty());
}

TEST(ParagraphFormat, ManyTabStopsAreCapped)
{
    std::string body;
    for (int i = 1; i <= 5000; ++i)
        body += "\\tx" + std::to_string(i);
    const ReadOutcome outcome = readRtf(wrap(body + " a"));
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(blockFormatOf(*outcome.document, "a").tabPositions().size(), 64);
}

TEST(CharacterFormat, AlternativeFontNameFollowsTheFamily)
{
    const ReadOutcome outcome = readRtf(
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fbidi \\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}"
        "Times New Roman{\\*\\falt Liberation Serif};}}\\f0 x}");
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(charFormatOf(*outcome.document, "x").fontFamilies().toStringList(),
              (QStringList{"Times New Roman", "Liberation Serif"}));
}

TEST(CharacterFormat, FontEntriesWithoutBraces)
{
    const ReadOutcome outcome = readRtf("{\\rtf1\\ansi{\\fonttbl\\f0\\fswiss Helvetica;\\f1\\fmodern Courier;}\\f1 x}");
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(charFormatOf(*outcome.document, "x").fontFamilies().toStringList(), QStringList{"Courier"});
}

TEST(CharacterFormat, FontNameInItsOwnCodePage)
{
    // MS Mincho's Japanese name in Shift-JIS: "ＭＳ 明朝".
    const ReadOutcome outcome = readRtf(
        "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil\\fcharset128 \\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9;}}\\f0 x}");
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(charFormatOf(*outcome.document, "x").fontFamilies().toStringList(),
              QStringList{QString::fromUtf8("ＭＳ 明朝")});
}

TEST(CharacterFormat, OneRunPerFormat)
{
    // Runs of one format are inserted together: the block holds three fragments.
    const ReadOutcome outcome = readRtf(wrap("ab{\\b cd}{\\b ef}gh"));
    ASSERT_TRUE(outcome.ok);
    int fragments = 0;
    for (auto it = outcome.document->begin().begin(); !it.atEnd(); ++it)
        ++fragments;
    EXPECT_EQ(fragments, 3);
    EXPECT_EQ(textOf(*outcome.document), "abcdefgh");
}

} // namespace
