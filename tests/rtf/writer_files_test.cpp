// Files as LibreOffice Writer saves them (their sources and the command that made
// them are in corpus/sources), each holding one kind of content a participant must
// see: the document's structure and the character formats that carry meaning.
#include "rtf_test_support.h"

#include <QAbstractTextDocumentLayout>
#include <QBrush>
#include <QFont>
#include <QTextBlock>
#include <QTextTable>

#include <gtest/gtest.h>

#include <vector>

using namespace ct::rtf::testing;

namespace {

struct WriterFile {
    const char *file;
    const char16_t *outline;
    std::vector<FormatCheck> checks;
};

void PrintTo(const WriterFile &c, std::ostream *out)
{
    *out << c.file;
}

class WriterFiles : public ::testing::TestWithParam<WriterFile> {};

TEST_P(WriterFiles, ShowTheirStructure)
{
    const WriterFile &c = GetParam();
    const ReadOutcome outcome = readRtf(dataFile(QStringLiteral("corpus/") + QString::fromUtf8(c.file)));
    ASSERT_TRUE(outcome.ok) << outcome.error.toStdString();
    EXPECT_EQ(outlineOf(*outcome.document), QString::fromUtf16(c.outline));
    expectFormats(*outcome.document, c.checks);
}

const WriterFile kWriterFiles[] = {
    // Pictures anchored to a paragraph and as a character, and a text box, all
    // saved as shapes.
    {"libreoffice_shapes.rtf",
     u"Before the anchored picture.\n"
     u"[picture 75x38]Anchored picture above.\n"
     u"Inline [picture 19x19] picture.\n"
     u"[frame 227 border 1 #3465a4]\n"
     u"  Text in a box.\n"
     u"After the box.",
     {}},
    // A row with fewer, wider cells, and a cell merged down into the row below.
    {"libreoffice_merged_cells.rtf",
     u"Payoffs\n"
     u"[table 4x3 columns 214,214,214]\n"
     u"  (0,0) Option\n  (0,1) Points\n  (0,2) Chance\n"
     u"  (1,0 span 1x2) Left and right alike\n  (1,2) 50%\n"
     u"  (2,0 span 2x1) Both\n  (2,1) 10\n  (2,2) 20%\n"
     u"  (3,1) 5\n  (3,2) 80%\n"
     u"After the table.",
     {}},
    // Highlight, a shaded paragraph, a horizontal rule, a shaded and a bare cell.
    {"libreoffice_shading_borders.rtf",
     u"Some highlighted words.\nA shaded paragraph.\n[frame 0 border 1 #ff0000]\n  A boxed paragraph.\n\n"
     u"[table 1x2 columns 151,151]\n  (0,0) Shaded cell\n  (0,1) Bare cell\nThe end.",
     {
         {"highlighted", QTextFormat::BackgroundBrush, QBrush(QColor(255, 255, 0))},
         {" words", QTextFormat::BackgroundBrush, QVariant()},
         {"A shaded", QTextFormat::BackgroundBrush, QBrush(QColor(221, 221, 221)), true},
         {"The end", QTextFormat::BackgroundBrush, QVariant(), true},
     }},
    // Paragraphs with a border all round: one box for consecutive paragraphs with
    // the same borders, drawn with the widest side.
    {"libreoffice_boxed_paragraphs.rtf",
     u"Before the boxes.\n"
     u"[frame 0 border 2 #0000ff]\n  Two paragraphs in one blue box,\n  as the writer joins them.\n"
     u"Between the boxes.\n"
     u"[frame 0 border 3 #008000]\n  Thick green lines above and below, thin at the sides.\n"
     u"\n" // Qt keeps a block between two frames; it takes no room (below)
     u"[frame 0 border 1 #ff0000]\n  A red box right after it.\n"
     u"After the boxes.",
     {}},
    // A table as wide as the page, scaled to the box in FitsTheBox below.
    {"libreoffice_wide_table.rtf",
     u"A table as wide as the page.\n[table 2x4 columns 161,161,161,161]\n"
     u"  (0,0) Round\n  (0,1) Left\n  (0,2) Right\n  (0,3) Last column\n"
     u"  (1,0) 1\n  (1,1) 10\n  (1,2) 5\n  (1,3) seen\n",
     {}},
    // Superscript and subscript, and text raised by a fifth of its height.
    {"libreoffice_raised_text.rtf",
     u"The area is x2 and water is H2O; a raised word.",
     {
         {"2 and", QTextFormat::TextVerticalAlignment, QTextCharFormat::AlignSuperScript},
         {"2O", QTextFormat::TextVerticalAlignment, QTextCharFormat::AlignSubScript},
         {"raised", QTextFormat::TextBaselineOffset, 5 * 100.0 / 24},
         {" word", QTextFormat::TextBaselineOffset, QVariant()},
     }},
    // Headings numbered by the outline, with nothing between number and text.
    {"libreoffice_outline_headings.rtf",
     u"1 Introduction\nSome text.\n1.1 The choice\nMore text.\n2 Payment",
     {{"Introduction", QTextFormat::FontWeight, QFont::Bold}}},
    // Tab leaders, letter spacing, and roman list numbers wider than their indent.
    {"libreoffice_leaders_spacing.rtf",
     u"Dots\t1\nHyphens\t2\nUnderline\t3\nWide and tight letters.\n"
     u"i.\tFirst\nii.\tSecond\niii.\tThird\niv.\tFourth\nv.\tFifth\nvi.\tSixth\nvii.\tSeventh\nviii.\tEighth",
     {
         {"\t1", QTextFormat::TextUnderlineStyle, QTextCharFormat::DotLine},
         {"\t2", QTextFormat::TextUnderlineStyle, QTextCharFormat::SingleUnderline},
         {"\t3", QTextFormat::TextUnderlineStyle, QTextCharFormat::SingleUnderline},
         {"Dots", QTextFormat::TextUnderlineStyle, QVariant()},
         {"Wide", QTextFormat::FontLetterSpacing, 57 / 15.0},
         {"Wide", QTextFormat::FontLetterSpacingType, QFont::AbsoluteSpacing},
         {"tight", QTextFormat::FontLetterSpacing, -11 / 15.0},
         {" and", QTextFormat::FontLetterSpacing, QVariant()},
     }},
};
std::string writerFileName(const ::testing::TestParamInfo<WriterFile> &param)
{
    const std::string name = param.param.file;
    return name.substr(name.find('_') + 1, name.find('.') - name.find('_') - 1);
}
INSTANTIATE_TEST_SUITE_P(LibreOffice, WriterFiles, ::testing::ValuesIn(kWriterFiles), writerFileName);

// Files pandoc makes from markdown (sources and command in corpus/sources).
const WriterFile kPandocFiles[] = {
    // A table with aligned columns and a rule under its heading row. Each cell ends
    // its paragraph before \\cell, leaving an empty one after it (as Writer shows it
    // too), and an empty paragraph follows the table.
    {"pandoc_table.rtf",
     u"Payoffs per option:\n[table 3x3 columns 192,192,192]\n"
     u"  (0,0) Option|\n  (0,1) Points|\n  (0,2) Chance|\n"
     u"  (1,0) Left|\n  (1,1) 10|\n  (1,2) 50%|\n"
     u"  (2,0) Right|\n  (2,1) 5|\n  (2,2) 80%|\n"
     u"\nAfter the table.",
     {
         {"Points", QTextFormat::BlockAlignment, int(Qt::AlignRight | Qt::AlignAbsolute), true},
         {"Chance", QTextFormat::BlockAlignment, int(Qt::AlignHCenter), true},
         {"10", QTextFormat::FontWeight, QFont::Bold},
         {"80%", QTextFormat::FontItalic, true},
         {"Left", QTextFormat::FontWeight, QVariant()},
     }},
    // Headings, marks, a numbered list with a bullet list in it, a quote, a link.
    {"pandoc_text.rtf",
     u"Instructions\nThe game\nThe area is x2 and water is H2O; old rule new rule.\n"
     u"1.\tFirst step\n2.\tSecond step\n\u2013\ta choice\n\u2013\tanother choice\n3.\tThird step\n"
     u"A quoted remark.\nPayment\nPaid in cash, see the lab.",
     {
         {"Instructions", QTextFormat::FontPointSize, 18.0},
         {"The game", QTextFormat::FontPointSize, 16.0},
         {"Payment", QTextFormat::FontPointSize, 14.0},
         {"Payment", QTextFormat::FontWeight, QFont::Bold},
         {"2 and", QTextFormat::TextVerticalAlignment, QTextCharFormat::AlignSuperScript},
         {"2O", QTextFormat::TextVerticalAlignment, QTextCharFormat::AlignSubScript},
         {"old rule", QTextFormat::FontStrikeOut, true},
         {" new", QTextFormat::FontStrikeOut, QVariant()},
         {"a choice", QTextFormat::BlockLeftMargin, 48.0, true},
         {"Third", QTextFormat::BlockLeftMargin, 24.0, true},
         {"A quoted", QTextFormat::BlockLeftMargin, 48.0, true},
         {"cash", QTextFormat::FontFamilies, QStringList{"Courier"}},
         {"the lab", QTextFormat::TextUnderlineStyle, QTextCharFormat::SingleUnderline},
     }},
    // Pictures pandoc embeds as PNG, in a line and in a paragraph of their own.
    {"pandoc_picture.rtf", u"A flag inline [picture 11x5] in the text.\n[picture 11x5]\nAfter the picture.", {}},
};
INSTANTIATE_TEST_SUITE_P(Pandoc, WriterFiles, ::testing::ValuesIn(kPandocFiles), writerFileName);

TEST(WriterFiles, HorizontalRuleAndCellsDrawWhatTheFileGives)
{
    const ReadOutcome outcome = readRtf(dataFile("corpus/libreoffice_shading_borders.rtf"));
    ASSERT_TRUE(outcome.ok);
    const QTextBlock rule = outcome.document->findBlockByNumber(3);
    ASSERT_TRUE(rule.text().isEmpty());
    EXPECT_TRUE(rule.blockFormat().hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth));
    EXPECT_FALSE(outcome.document->findBlockByNumber(2).blockFormat().hasProperty(
        QTextFormat::BlockTrailingHorizontalRulerWidth));
    QTextTable *table = tablesOf(*outcome.document).value(0);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->format().border(), 0);
    const QTextTableCellFormat shaded = table->cellAt(0, 0).format().toTableCellFormat();
    const QTextTableCellFormat bare = table->cellAt(0, 1).format().toTableCellFormat();
    EXPECT_EQ(shaded.background(), QBrush(QColor(153, 204, 255)));
    EXPECT_EQ(bare.background().style(), Qt::NoBrush);
    for (const int side : {QTextFormat::TableCellTopBorder, QTextFormat::TableCellLeftBorder,
                           QTextFormat::TableCellBottomBorder, QTextFormat::TableCellRightBorder}) {
        EXPECT_EQ(shaded.doubleProperty(side), 1.0) << side;
        EXPECT_EQ(bare.doubleProperty(side), 0.0) << side;
    }
}

TEST(WriterFiles, PandocTableRulesItsHeadingRowOnly)
{
    const ReadOutcome outcome = readRtf(dataFile("corpus/pandoc_table.rtf"));
    ASSERT_TRUE(outcome.ok);
    QTextTable *table = tablesOf(*outcome.document).value(0);
    ASSERT_TRUE(table);
    for (int row = 0; row < table->rows(); ++row) {
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCellFormat cell = table->cellAt(row, column).format().toTableCellFormat();
            EXPECT_EQ(cell.bottomBorder(), row == 0 ? 1.0 : 0.0) << row << "," << column;
            EXPECT_EQ(cell.topBorder() + cell.leftBorder() + cell.rightBorder(), 0.0) << row << "," << column;
        }
    }
}

TEST(WriterFiles, BoxesOneAfterAnotherTouch)
{
    const ReadOutcome outcome = readRtf(dataFile("corpus/libreoffice_boxed_paragraphs.rtf"));
    ASSERT_TRUE(outcome.ok);
    const QList<QTextFrame *> boxes = outcome.document->rootFrame()->childFrames();
    ASSERT_EQ(boxes.size(), 3);
    outcome.document->setTextWidth(8800 / 15.0);
    const QAbstractTextDocumentLayout &layout = *outcome.document->documentLayout();
    EXPECT_NEAR(layout.frameBoundingRect(boxes[2]).top(), layout.frameBoundingRect(boxes[1]).bottom(), 0.5);
}

TEST(WriterFiles, WideTableFitsTheBox)
{
    const ReadOutcome outcome = readRtf(dataFile("corpus/libreoffice_wide_table.rtf"));
    ASSERT_TRUE(outcome.ok);
    constexpr double kBox = 8800 / 15.0;
    ct::rtf::fitTables(*outcome.document, kBox);
    QTextTable *table = tablesOf(*outcome.document).value(0);
    ASSERT_TRUE(table);
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 4);
    double total = 0;
    for (const QTextLength &width : widths) {
        EXPECT_NEAR(width.rawValue(), widths[0].rawValue(), 0.1); // proportions kept
        total += width.rawValue() + 2 * table->format().cellPadding();
    }
    EXPECT_LE(total, kBox);
    EXPECT_GT(total, kBox - 20);
    // Laid out in the box, the last column ends inside it.
    outcome.document->setTextWidth(kBox);
    EXPECT_LE(outcome.document->documentLayout()->frameBoundingRect(table).right(), kBox);
}

// Shapes and pictures as Word writes them, with metafiles beside or instead of PNG.
struct ShapeCase {
    const char *name;
    std::string body;
    const char16_t *outline;
};

class Shapes : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(Shapes, ShowTheirPictureOrAFrameOfItsSize)
{
    const ReadOutcome outcome = readRtf(wrap(GetParam().body));
    ASSERT_TRUE(outcome.ok) << outcome.error.toStdString();
    EXPECT_EQ(outlineOf(*outcome.document), QString::fromUtf16(GetParam().outline));
}

const ShapeCase kShapes[] = {
    {"MetafileBesideMetafile",
     "a{\\*\\shppict{\\pict\\emfblip\\picwgoal300\\pichgoal150 0100}}{\\nonshppict{\\pict\\wmetafile8 0100}}b",
     u"a[picture 20x10]b"},
    {"MetafileInHundredthsOfAMillimetre", "{\\pict\\wmetafile8\\picw2540\\pich1270 0100}", u"[picture 96x48]"},
    {"MetafileWithoutSizeShowsNothing", "a{\\pict\\wmetafile8 0100}", u"a"},
    {"FloatingMetafileAtTheShapeSize",
     "a{\\shp{\\*\\shpinst\\shpleft100\\shptop0\\shpright1600\\shpbottom750{\\sp{\\sn pib}{\\sv{\\pict\\emfblip 01}}}}"
     "{\\shprslt{\\*\\do\\dobxcolumn}{\\nonshppict{\\pict\\wmetafile8 01}}stand-in}}b",
     u"a[picture 100x50]b"},
    {"ShapeWithoutPictureShowsItsResult", "a{\\shp{\\*\\shpinst{\\sp{\\sn shapeType}{\\sv 1}}}{\\shprslt stand-in}}b",
     u"astand-inb"},
    {"TextBoxWithoutOutline",
     "a\\par{\\shp{\\*\\shpinst\\shpleft0\\shpright1500{\\sp{\\sn fLine}{\\sv 0}}{\\shptxt boxed\\par}}}b",
     u"a\n[frame 100 border 0 #808080]\n  boxed\nb"},
    {"ShapeInstanceOutsideAShapeIsSkipped", "a{\\*\\shpinst{\\sp{\\sn pib}{\\sv 1}}}b", u"ab"},
};
INSTANTIATE_TEST_SUITE_P(Word, Shapes, ::testing::ValuesIn(kShapes),
                         [](const ::testing::TestParamInfo<ShapeCase> &param) {
                             return std::string(param.param.name);
                         });

} // namespace
