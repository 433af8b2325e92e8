// Tables, pictures and lists.
#include "rtf_test_support.h"

#include "rtf/document_builder.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <gtest/gtest.h>

using namespace ct::rtf::testing;
using ct::rtf::DocumentBuilder;

namespace {

std::string twoByTwo()
{
    return "\\trowd\\cellx1500\\cellx4500\\pard\\intbl a\\cell b\\cell\\row"
           "\\trowd\\cellx1500\\cellx4500\\pard\\intbl c\\cell d\\cell\\row";
}

TEST(Tables, RowsAndCellsBecomeATable)
{
    const ReadOutcome outcome = readRtf(wrap("before\\par " + twoByTwo() + "\\pard after\\par"));
    ASSERT_TRUE(outcome.ok);
    const auto tables = tablesOf(*outcome.document);
    ASSERT_EQ(tables.size(), 1);
    QTextTable *table = tables.front();
    ASSERT_EQ(table->rows(), 2);
    ASSERT_EQ(table->columns(), 2);
    EXPECT_EQ(cellText(table, 0, 0), "a");
    EXPECT_EQ(cellText(table, 0, 1), "b");
    EXPECT_EQ(cellText(table, 1, 0), "c");
    EXPECT_EQ(cellText(table, 1, 1), "d");
    EXPECT_EQ(outcome.document->begin().text(), "before");
    EXPECT_EQ(outcome.document->lastBlock().text(), "after");
}

TEST(Tables, ColumnWidthsFromCellEdges)
{
    const ReadOutcome outcome = readRtf(wrap(twoByTwo()));
    ASSERT_TRUE(outcome.ok);
    const auto tables = tablesOf(*outcome.document);
    ASSERT_EQ(tables.size(), 1);
    const QList<QTextLength> widths = tables.front()->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 2);
    EXPECT_EQ(widths[0], QTextLength(QTextLength::FixedLength, 100.0));
    EXPECT_EQ(widths[1], QTextLength(QTextLength::FixedLength, 200.0));
}

// Rows with other cells than the ones before line up by their boundaries.
struct LineUpCase {
    const char *name;
    std::string body;
    const char16_t *outline;
};

void PrintTo(const LineUpCase &c, std::ostream *out)
{
    *out << c.name;
}

class CellsLineUp : public ::testing::TestWithParam<LineUpCase> {};

TEST_P(CellsLineUp, ByTheirBoundaries)
{
    const ReadOutcome outcome = readRtf(wrap(GetParam().body));
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(outlineOf(*outcome.document), QString::fromUtf16(GetParam().outline));
}

const LineUpCase kLineUpCases[] = {
    {"HorizontalMergeFlags",
     "\\trowd\\cellx1500\\cellx3000\\cellx4500\\intbl a\\cell b\\cell c\\cell\\row"
     "\\trowd\\clmgf\\cellx1500\\clmrg\\cellx3000\\cellx4500\\intbl ab\\cell\\cell c2\\cell\\row",
     u"\n[table 2x3 columns 100,100,100]\n  (0,0) a\n  (0,1) b\n  (0,2) c\n  (1,0 span 1x2) ab\n  (1,2) c2\n"},
    {"LaterRowSplitsAColumn",
     "\\trowd\\cellx3000\\cellx6000\\intbl a\\cell b\\cell\\row"
     "\\trowd\\cellx1500\\cellx3000\\cellx6000\\intbl x\\cell y\\cell z\\cell\\row",
     u"\n[table 2x3 columns 100,100,200]\n  (0,0 span 1x2) a\n  (0,2) b\n  (1,0) x\n  (1,1) y\n  (1,2) z\n"},
    {"ShorterRowLeavesTheRestEmpty",
     "\\trowd\\cellx1500\\cellx3000\\intbl a\\cell b\\cell\\row\\trowd\\cellx1500\\intbl c\\cell\\row",
     u"\n[table 2x2 columns 100,100]\n  (0,0) a\n  (0,1) b\n  (1,0) c\n  (1,1) \n"},
    {"VerticalMerge",
     "\\trowd\\clvmgf\\cellx1500\\cellx3000\\intbl both\\cell 1\\cell\\row"
     "\\trowd\\clvmrg\\cellx1500\\cellx3000\\intbl\\cell 2\\cell\\row",
     u"\n[table 2x2 columns 100,100]\n  (0,0 span 2x1) both\n  (0,1) 1\n  (1,1) 2\n"},
};
INSTANTIATE_TEST_SUITE_P(Rows, CellsLineUp, ::testing::ValuesIn(kLineUpCases),
                         [](const ::testing::TestParamInfo<LineUpCase> &param) {
                             return std::string(param.param.name);
                         });

TEST(Tables, CellWithTwoParagraphs)
{
    const ReadOutcome outcome = readRtf(wrap("\\trowd\\cellx1000\\intbl one\\par two\\cell\\row\\pard x"));
    ASSERT_TRUE(outcome.ok);
    const auto tables = tablesOf(*outcome.document);
    ASSERT_EQ(tables.size(), 1);
    EXPECT_EQ(cellText(tables.front(), 0, 0), "one\ntwo");
}

TEST(Tables, RowWithMoreCellsThanTheFirstAddsColumns)
{
    const ReadOutcome outcome = readRtf(
        wrap("\\trowd\\cellx1000\\intbl a\\cell\\row"
             "\\trowd\\cellx1000\\cellx2000\\cellx3000\\intbl b\\cell c\\cell d\\cell\\row"));
    ASSERT_TRUE(outcome.ok);
    const auto tables = tablesOf(*outcome.document);
    ASSERT_EQ(tables.size(), 1);
    EXPECT_EQ(tables.front()->columns(), 3);
    EXPECT_EQ(cellText(tables.front(), 1, 2), "d");
}

TEST(Tables, CellsWithoutIntblKeepTheirTextInOrder)
{
    // Writers mark table paragraphs with \intbl; without it the cells still read in order.
    const ReadOutcome outcome = readRtf(wrap("a\\cell b\\cell\\row c"));
    ASSERT_TRUE(outcome.ok);
    const QString text = outcome.document->toPlainText();
    EXPECT_LT(text.indexOf('a'), text.indexOf('b'));
    EXPECT_LT(text.indexOf('b'), text.indexOf('c'));
}

TEST(Tables, TextBetweenTablesSeparatesThem)
{
    const ReadOutcome outcome = readRtf(wrap(twoByTwo() + "\\pard middle\\par " + twoByTwo()));
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(tablesOf(*outcome.document).size(), 2);
    EXPECT_FALSE(outcome.document->find("middle").isNull());
}

// A table in a cell (Word's \\itap2, \\nestcell, \\nestrow) is a table in that
// cell, its columns in percent of the cell; deeper tables are read in order.
TEST(Tables, NestedTablesInTheirCell)
{
    const ReadOutcome outcome = readRtf(wrap(
        "\\trowd\\cellx3000\\pard\\intbl\\itap2 x\\nestcell y\\nestcell{\\*\\nesttableprops\\trowd\\cellx900"
        "\\cellx1500\\nestrow}{\\nonesttables x y\\par}\\pard\\intbl\\itap3 deep\\nestcell\\itap1 after\\cell\\row"));
    ASSERT_TRUE(outcome.ok);
    const auto tables = tablesOf(*outcome.document);
    ASSERT_EQ(tables.size(), 1);
    const QList<QTextFrame *> inside = tables.front()->childFrames();
    ASSERT_EQ(inside.size(), 1);
    auto *inner = qobject_cast<QTextTable *>(inside.front());
    ASSERT_TRUE(inner);
    EXPECT_EQ(cellText(inner, 0, 0), "x");
    EXPECT_EQ(cellText(inner, 0, 1), "y");
    EXPECT_EQ(cellText(inner, 1, 0), "deep\t");
    EXPECT_EQ(inner->format().width(), QTextLength(QTextLength::PercentageLength, 50));
    EXPECT_EQ(inner->format().columnWidthConstraints(),
              (QList<QTextLength>{QTextLength(QTextLength::PercentageLength, 60),
                                  QTextLength(QTextLength::PercentageLength, 40)}));
    EXPECT_TRUE(cellText(tables.front(), 0, 0).endsWith("after"));
}

TEST(Tables, VeryLongTablesSplitAndKeepAllText)
{
    std::string body;
    const int rows = DocumentBuilder::kMaxRows + 10;
    for (int i = 0; i < rows; ++i)
        body += "\\trowd\\cellx1000\\intbl r" + std::to_string(i) + "\\cell\\row";
    const ReadOutcome outcome = readRtf(wrap(body));
    ASSERT_TRUE(outcome.ok);
    const auto tables = tablesOf(*outcome.document);
    ASSERT_EQ(tables.size(), 2);
    EXPECT_EQ(tables[0]->rows(), DocumentBuilder::kMaxRows);
    EXPECT_EQ(tables[1]->rows(), 10);
    EXPECT_EQ(cellText(tables[1], 9, 0), QString("r%1").arg(rows - 1));
}

TEST(Tables, VeryWideRowsShareTheLastColumn)
{
    std::string body = "\\intbl";
    for (int i = 0; i < DocumentBuilder::kMaxColumns + 2; ++i)
        body += " c" + std::to_string(i) + "\\cell";
    const ReadOutcome outcome = readRtf(wrap(body + "\\row"));
    ASSERT_TRUE(outcome.ok);
    const auto tables = tablesOf(*outcome.document);
    ASSERT_EQ(tables.size(), 1);
    ASSERT_EQ(tables.front()->columns(), DocumentBuilder::kMaxColumns);
    EXPECT_EQ(cellText(tables.front(), 0, DocumentBuilder::kMaxColumns - 1), "c63\tc64\tc65");
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage redImage()
{
    QImage image(4, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    return image;
}

struct PictureCase {
    const char *name;
    std::string body;
    int images;
};

void PrintTo(const PictureCase &c, std::ostream *out)
{
    *out << c.name;
}

class Pictures : public ::testing::TestWithParam<PictureCase> {};

std::string hexOf(const QByteArray &bytes)
{
    return bytes.toHex().toStdString();
}

TEST_P(Pictures, ShownWhenPngOrJpeg)
{
    const PictureCase &c = GetParam();
    const ReadOutcome outcome = readRtf(wrap("a" + c.body + "b"));
    ASSERT_TRUE(outcome.ok) << outcome.error.toStdString();
    const QList<ShownImage> images = imagesOf(*outcome.document);
    ASSERT_EQ(images.size(), c.images);
    for (const ShownImage &shown : images) {
        const QVariant resource = outcome.document->resource(QTextDocument::ImageResource, QUrl(shown.name));
        const QImage image = resource.value<QImage>();
        EXPECT_EQ(image.size(), QSize(4, 2));
        const QColor pixel = image.pixelColor(0, 0); // JPEG is lossy
        EXPECT_GT(pixel.red(), 240);
        EXPECT_LT(pixel.green(), 16);
        EXPECT_LT(pixel.blue(), 16);
    }
    EXPECT_TRUE(textOf(*outcome.document).startsWith("a"));
    EXPECT_TRUE(textOf(*outcome.document).endsWith("b"));
}

const PictureCase kPictures[] = {
    {"PngHex", "{\\pict\\pngblip " + hexOf(encoded(redImage(), "PNG")) + "}", 1},
    {"PngHexOnShortLines", "{\\pict\\pngblip\r\n" + hexOf(encoded(redImage(), "PNG")).insert(20, "\r\n") + "}", 1},
    {"JpegHex", "{\\pict\\jpegblip " + hexOf(encoded(redImage(), "JPEG")) + "}", 1},
    {"PngBinary",
     "{\\pict\\pngblip\\bin" + std::to_string(encoded(redImage(), "PNG").size()) + " "
         + encoded(redImage(), "PNG").toStdString() + "}",
     1},
    {"ShapePictureShownNonShapeSkipped",
     "{\\*\\shppict{\\pict{\\*\\picprop x}\\pngblip " + hexOf(encoded(redImage(), "PNG")) + "}}"
         + "{\\nonshppict{\\pict\\pngblip " + hexOf(encoded(redImage(), "PNG")) + "}}",
     1},
    {"MetafileSkipped", "{\\pict\\wmetafile8 0100090000}", 0},
    {"CorruptPngSkipped", "{\\pict\\pngblip 89504e470d0a1a0a0000}", 0},
    {"PictureWithoutKindSkipped", "{\\pict " + hexOf(encoded(redImage(), "PNG")) + "}", 0},
};
INSTANTIATE_TEST_SUITE_P(Kinds, Pictures, ::testing::ValuesIn(kPictures),
                         [](const ::testing::TestParamInfo<PictureCase> &param) {
                             return std::string(param.param.name);
                         });

TEST(Pictures, ShownAtTheGoalSizeTimesScale)
{
    const std::string hex = hexOf(encoded(redImage(), "PNG"));
    const ReadOutcome outcome = readRtf(
        wrap("{\\pict\\pngblip\\picwgoal1500\\pichgoal750\\picscalex50\\picscaley200 " + hex + "}"));
    ASSERT_TRUE(outcome.ok);
    const QList<ShownImage> images = imagesOf(*outcome.document);
    ASSERT_EQ(images.size(), 1);
    EXPECT_DOUBLE_EQ(images.front().width, 50.0);
    EXPECT_DOUBLE_EQ(images.front().height, 100.0);
}

TEST(Pictures, ShownAtTheirOwnSizeWithoutGoal)
{
    const ReadOutcome outcome = readRtf(wrap("{\\pict\\pngblip " + hexOf(encoded(redImage(), "PNG")) + "}"));
    ASSERT_TRUE(outcome.ok);
    const QList<ShownImage> images = imagesOf(*outcome.document);
    ASSERT_EQ(images.size(), 1);
    EXPECT_DOUBLE_EQ(images.front().width, 4.0);
    EXPECT_DOUBLE_EQ(images.front().height, 2.0);
}

TEST(Pictures, TwoPicturesGetTwoResources)
{
    const std::string pict = "{\\pict\\pngblip " + hexOf(encoded(redImage(), "PNG")) + "}";
    const ReadOutcome outcome = readRtf(wrap(pict + pict));
    ASSERT_TRUE(outcome.ok);
    const QList<ShownImage> images = imagesOf(*outcome.document);
    ASSERT_EQ(images.size(), 2);
    EXPECT_NE(images[0].name, images[1].name);
}

} // namespace

namespace {

TEST(LongParagraphs, AreLaidOutInBlocksThatReadAsOne)
{
    std::string body;
    QString expected;
    for (int i = 0; expected.size() < 5 * DocumentBuilder::kChunkCharacters || !expected.endsWith(". "); ++i) {
        const char *word = i % 12 == 11 ? "end. " : (i % 7 == 0 ? "bold " : "word ");
        body += word[0] == 'b' ? std::string("{\\b bold} ") : std::string(word);
        expected += QString::fromLatin1(word);
    }
    const ReadOutcome outcome = readRtf(wrap("before\\par\\pard\\sb120\\sa240\\fi360 " + body + "\\par\\pard after"));
    ASSERT_TRUE(outcome.ok);
    const QTextDocument &document = *outcome.document;
    const int blocks = document.blockCount() - 2;
    ASSERT_GE(blocks, 5);
    QString text;
    for (int i = 1; i <= blocks; ++i) {
        const QTextBlock block = document.findBlockByNumber(i);
        EXPECT_LE(block.length(), DocumentBuilder::kChunkCharacters * 4 / 3 + 2) << i;
        EXPECT_TRUE(block.text().endsWith(". ")) << i; // split after a sentence
        const QTextBlockFormat format = block.blockFormat();
        EXPECT_EQ(format.topMargin(), i == 1 ? 8 : 0) << i;
        EXPECT_EQ(format.textIndent(), i == 1 ? 24 : 0) << i;
        EXPECT_EQ(format.bottomMargin(), i == blocks ? 16 : 0) << i;
        text += block.text();
    }
    EXPECT_EQ(text, expected);
    EXPECT_EQ(document.lastBlock().text(), "after");
}

} // namespace
