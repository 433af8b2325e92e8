// Whole files in the shape real word processors write, each checked for its text and
// the formatting that matters to a participant reading it.
#include "rtf_test_support.h"

#include <QBrush>
#include <QFont>
#include <QTextCursor>

#include <gtest/gtest.h>

#include <vector>

using namespace ct::rtf::testing;

namespace {

struct CorpusCase {
    const char *file;
    const char16_t *text;
    int bullets; // "•" markers, each shown exactly once
    std::vector<FormatCheck> checks;
};

void PrintTo(const CorpusCase &c, std::ostream *out)
{
    *out << c.file;
}

std::string caseName(const ::testing::TestParamInfo<CorpusCase> &param)
{
    std::string name = param.param.file;
    return name.substr(0, name.find('.'));
}

class Corpus : public ::testing::TestWithParam<CorpusCase> {};

TEST_P(Corpus, ShowsTheTextOnce)
{
    const CorpusCase &c = GetParam();
    const QByteArray bytes = dataFile(QStringLiteral("corpus/") + QString::fromUtf8(c.file));
    ASSERT_FALSE(bytes.isEmpty());
    const ReadOutcome outcome = readRtf(bytes);
    ASSERT_TRUE(outcome.ok) << outcome.error.toStdString();
    const QString text = textOf(*outcome.document);
    EXPECT_EQ(text, QString::fromUtf16(c.text));
    EXPECT_EQ(text.count(QChar(0x2022)), c.bullets);
}

TEST_P(Corpus, KeepsTheFormatting)
{
    const CorpusCase &c = GetParam();
    const ReadOutcome outcome = readRtf(dataFile(QStringLiteral("corpus/") + QString::fromUtf8(c.file)));
    ASSERT_TRUE(outcome.ok) << outcome.error.toStdString();
    expectFormats(*outcome.document, c.checks);
}

const QVariant kUnset;
const QBrush kRed(QColor(255, 0, 0));

const CorpusCase kCorpus[] = {
    {"wordpad.rtf",
     u"Instructions\n"
     u"In this task you choose between two options. Each choice earns points; the caf\u00E9 voucher is worth "
     u"\u20AC5.\n"
     u"\u2022\tPress Left or Right.\n"
     u"\u2022\tTake as long as you like.\n"
     u"\u201CGood luck!\u201D",
     2,
     {
         {"Instructions", QTextFormat::FontWeight, QFont::Bold},
         {"Instructions", QTextFormat::FontPointSize, 16.0},
         {"Instructions", QTextFormat::BlockAlignment, int(Qt::AlignHCenter), true},
         {"In this task", QTextFormat::FontWeight, kUnset},
         {"In this task", QTextFormat::FontFamilies, QStringList{"Calibri"}},
         {"In this task", QTextFormat::BlockAlignment, int(Qt::AlignLeft | Qt::AlignAbsolute), true},
         {"In this task", QTextFormat::LineHeight, 115.0, true},
         {"Left", QTextFormat::FontWeight, QFont::Bold},
         {"Left", QTextFormat::ForegroundBrush, kRed},
         {"Right", QTextFormat::ForegroundBrush, QBrush(QColor(0, 77, 187))},
         {" or ", QTextFormat::ForegroundBrush, kUnset},
         {"Press", QTextFormat::BlockLeftMargin, 48.0, true},
         {"Press", QTextFormat::TextIndent, -24.0, true},
         {"Good", QTextFormat::FontItalic, true},
     }},
    {"word.rtf",
     u"Instructions\n"
     u"You will see two buttons. Choose one in each round; the red number shows your points. M\u00FCller\u2019s "
     u"\u20AC rule: \u201Cfair\u201D.\n"
     u"\u2022\tClick Go to start.\n"
     u"\u2022\tThen pick a side.\n"
     u"1.\tFirst step\n"
     u"2.\tSecond step\n"
     u"Japanese: \u65E5\u672C and a link: example",
     2,
     {
         {"Instructions", QTextFormat::FontWeight, QFont::Bold},
         {"Instructions", QTextFormat::FontPointSize, 16.0},
         {"Instructions", QTextFormat::FontFamilies, QStringList{"Calibri"}},
         {"Instructions", QTextFormat::BlockAlignment, int(Qt::AlignHCenter), true},
         {"You will", QTextFormat::BlockAlignment, int(Qt::AlignJustify), true},
         {"You will", QTextFormat::FontPointSize, 11.0},
         {"red", QTextFormat::ForegroundBrush, kRed},
         {" number", QTextFormat::ForegroundBrush, kUnset},
         {"Go", QTextFormat::FontWeight, QFont::Bold},
         {"Click", QTextFormat::FontWeight, kUnset},
         {"Click", QTextFormat::BlockLeftMargin, 48.0, true},
         {"First", QTextFormat::TextIndent, -24.0, true},
         {"\u65E5", QTextFormat::FontFamilies,
          QStringList({QString::fromUtf8("MS Mincho"), QString::fromUtf8("ＭＳ 明朝")})},
         {"example", QTextFormat::TextUnderlineStyle, QTextCharFormat::SingleUnderline},
         {"example", QTextFormat::ForegroundBrush, QBrush(QColor(0, 0, 255))},
     }},
    {"libreoffice.rtf",
     u"Anleitung\n"
     u"Bitte lesen Sie die Anweisungen gr\u00FCndlich. Sie erhalten 5 \u20AC pro Runde.\n"
     u"\u2022\tErste Regel\n"
     u"\u2022\tZweite Regel\n"
     u"1.\tSchritt eins\n"
     u"Chinesisch: \u4E2D\u6587 \u201EEnde\u201C",
     2,
     {
         {"Anleitung", QTextFormat::FontWeight, QFont::Bold},
         {"Anleitung", QTextFormat::FontPointSize, 18.0},
         {"Anleitung", QTextFormat::FontFamilies, QStringList({"Liberation Sans", "Arial"})},
         {"Anleitung", QTextFormat::BlockAlignment, int(Qt::AlignHCenter), true},
         {"Bitte", QTextFormat::FontFamilies, QStringList({"Liberation Serif", "Times New Roman"})},
         {"Bitte", QTextFormat::BlockBottomMargin, 140.0 / 15.0, true},
         {"5 ", QTextFormat::ForegroundBrush, kRed},
         {" pro", QTextFormat::ForegroundBrush, kUnset},
         {"Zweite", QTextFormat::FontItalic, true},
         {"Erste", QTextFormat::BlockLeftMargin, 48.0, true},
         {"Erste", QTextFormat::FontItalic, kUnset},
     }},
    {"pandoc.rtf",
     u"Instructions\n"
     u"Read carefully: each round pays points. Caf\u00E9s and na\u00EFve \u201Cquotes\u201D.\n"
     u"\u2022\tFirst\n"
     u"\u2022\tSecond with code\n"
     u"Korean \uAC00\uB098 and an emoji \U0001F600.",
     2,
     {
         {"Instructions", QTextFormat::FontWeight, QFont::Bold},
         {"Instructions", QTextFormat::FontPointSize, 18.0},
         {"Instructions", QTextFormat::BlockAlignment, int(Qt::AlignHCenter), true},
         {"carefully", QTextFormat::FontItalic, true},
         {"points", QTextFormat::FontWeight, QFont::Bold},
         {"Read", QTextFormat::FontWeight, kUnset},
         {"code", QTextFormat::FontFamilies, QStringList{"Courier"}},
         {"First", QTextFormat::BlockLeftMargin, 24.0, true},
         {"First", QTextFormat::TextIndent, -24.0, true},
     }},
};
INSTANTIATE_TEST_SUITE_P(Writers, Corpus, ::testing::ValuesIn(kCorpus), caseName);

// Word writes each row's properties twice, before its cells and again in a group
// just before \row, and a picture both as PNG (\shppict) and as a metafile.
TEST(WordTableAndPicture, ShowsOneTableAndOnePicture)
{
    const ReadOutcome outcome = readRtf(dataFile("corpus/word_table_picture.rtf"));
    ASSERT_TRUE(outcome.ok) << outcome.error.toStdString();
    EXPECT_EQ(outcome.document->begin().text(), "Payoffs per option");

    const auto tables = tablesOf(*outcome.document);
    ASSERT_EQ(tables.size(), 1);
    QTextTable *table = tables.front();
    ASSERT_EQ(table->rows(), 3);
    ASSERT_EQ(table->columns(), 2);
    const QStringList expected = {
        "Option", "Points", "Left", QString::fromUtf8("10 €"), "Right", QString::fromUtf8("5–15")};
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(cellText(table, i / 2, i % 2), expected[i]) << "cell " << i;
    EXPECT_EQ(charFormatOf(*outcome.document, "Points").fontWeight(), QFont::Bold);
    EXPECT_NE(charFormatOf(*outcome.document, "Left").fontWeight(), QFont::Bold);
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 2);
    EXPECT_DOUBLE_EQ(widths[0].rawValue(), (2897 + 108) / 15.0); // the row starts at \trleft-108
    EXPECT_DOUBLE_EQ(widths[1].rawValue(), (5902 - 2897) / 15.0);

    const QList<ShownImage> images = imagesOf(*outcome.document);
    ASSERT_EQ(images.size(), 1);
    EXPECT_DOUBLE_EQ(images.front().width, 4.0);
    EXPECT_EQ(outcome.document->lastBlock().text(),
              QString("The dot looks like this: ") + QChar::ObjectReplacementCharacter + ".");
}

} // namespace
