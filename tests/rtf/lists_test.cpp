// List markers: one made from the list table (\ls) when the list is known, otherwise
// the writer's own marker text, otherwise one made from the old paragraph numbering
// (\pn); never two.
#include "rtf_test_support.h"

#include "rtf/list_numbering.h"

#include <gtest/gtest.h>

using namespace ct::rtf::testing;

namespace {

// ls1: bullets (Word writes the Symbol bullet as \u-3913 in font f1)
// ls2: "1." then "1.1." one level down, level 1 starting at 1
// ls3: "(a)" from 5, followed by a space; ls4: upper roman with nothing after
const std::string kListTables =
    "{\\*\\listtable"
    "{\\list\\listtemplateid1{\\listlevel\\levelnfc23\\levelfollow0{\\leveltext\\leveltemplateid9\\'01\\u-3913 ?;}"
    "{\\levelnumbers;}\\f1\\fi-360\\li720}{\\listname ;}\\listid100}"
    "{\\list\\listtemplateid2{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}}"
    "{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext\\'04\\'00.\\'01.;}{\\levelnumbers\\'01\\'03;}}\\listid200}"
    "{\\list{\\listlevel\\levelnfc4\\levelstartat5\\levelfollow1{\\leveltext\\'03(\\'00);}}\\listid300}"
    "{\\list{\\listlevel\\levelnfc1\\levelfollow2{\\leveltext\\'02\\'00.;}}\\listid400}}"
    "{\\*\\listoverridetable{\\listoverride\\listid100\\listoverridecount0\\ls1}"
    "{\\listoverride\\listid200\\listoverridecount0\\ls2}{\\listoverride\\listid300\\ls3}"
    "{\\listoverride\\listid400\\ls4}}\n";

struct ListCase {
    const char *name;
    std::string body;
    const char16_t *expected;
};

void PrintTo(const ListCase &c, std::ostream *out)
{
    *out << c.name;
}

class ListMarkers : public ::testing::TestWithParam<ListCase> {};

TEST_P(ListMarkers, AreShownExactlyOnce)
{
    const ReadOutcome outcome = readRtf(wrap(kListTables + GetParam().body));
    ASSERT_TRUE(outcome.ok) << outcome.error.toStdString();
    EXPECT_EQ(textOf(*outcome.document), QString::fromUtf16(GetParam().expected));
}

const ListCase kListCases[] = {
    {"BulletsFromTheListTable", "\\pard\\ls1 a\\par\\pard\\ls1 b", u"\u2022\ta\n\u2022\tb"},
    {"NumbersFromTheListTable", "\\pard\\ls2 one\\par\\pard\\ls2 two", u"1.\tone\n2.\ttwo"},
    {"NestedNumbers",
     "\\pard\\ls2\\ilvl0 A\\par\\pard\\ls2\\ilvl1 B\\par\\pard\\ls2\\ilvl1 C\\par\\pard\\ls2 D\\par"
     "\\pard\\ls2\\ilvl1 E",
     u"1.\tA\n1.1.\tB\n1.2.\tC\n2.\tD\n2.1.\tE"},
    {"LettersFromStartWithSpace", "\\pard\\ls3 x\\par\\pard\\ls3 y", u"(e) x\n(f) y"},
    {"RomanWithNothingAfter", "\\pard\\ls4 x\\par\\pard\\ls4 y", u"I.x\nII.y"},
    {"ListDefinitionWinsOverListText", "{\\listtext\\pard\\plain 7.\\tab}\\pard\\ls2 one", u"1.\tone"},
    {"ListTextTabGoesWhereTheLevelHasNothingAfter", "{\\listtext\\pard\\plain I.\\tab}\\pard\\ls4 x", u"I.x"},
    {"ListTextOfAnUnknownListStands", "{\\listtext\\pard\\plain\\b 7.\\tab}\\pard\\ls9 one", u"7.\tone"},
    {"WritersListTextCountsForTheNext", "{\\listtext 1.\\tab}\\pard\\ls2 one\\par\\pard\\ls2 two", u"1.\tone\n2.\ttwo"},
    {"EmptyItemShowsItsMarker", "\\pard\\ls1\\par\\pard x", u"\u2022\t\nx"},
    {"UnknownListHasNoMarker", "\\pard\\ls9 x", u"x"},
    {"NoListAfterPard", "\\pard\\ls1 a\\par\\pard b", u"\u2022\ta\nb"},
    {"ListsCountSeparately", "\\pard\\ls2 a\\par\\pard\\ls3 b\\par\\pard\\ls2 c", u"1.\ta\n(e) b\n2.\tc"},
    {"PnBulletWithoutPnText", "{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}\\fi-360\\li720 item",
     u"\u2022\titem"},
    {"PnNumbersContinueAcrossParagraphs", "{\\*\\pn\\pnlvlbody\\pndec\\pnstart3{\\pntxta .}}a\\par b\\par\\pard c",
     u"3.\ta\n4.\tb\nc"},
    {"PnNumbersStartAgainAfterAPlainParagraph",
     "{\\*\\pn\\pnlvlbody\\pnucrm{\\pntxta )}}a\\par\\pard b\\par{\\*\\pn\\pnlvlbody\\pnucrm{\\pntxta )}}c",
     u"I)\ta\nb\nI)\tc"},
    {"PnTextWinsOverPn", "{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'B7}}x", u"\u2022\tx"},
    {"PnContinueHasNoMarker", "{\\*\\pn\\pnlvlcont}x", u"x"},
};
INSTANTIATE_TEST_SUITE_P(Lists, ListMarkers, ::testing::ValuesIn(kListCases),
                         [](const ::testing::TestParamInfo<ListCase> &param) { return std::string(param.param.name); });

struct NumberCase {
    int number;
    int format;
    const char *expected;
};

class ListNumbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ListNumbers, FormatAsWordProcessorsCount)
{
    EXPECT_EQ(ct::rtf::formatListNumber(GetParam().number, GetParam().format), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Formats, ListNumbers,
                         ::testing::Values(NumberCase{7, 0, "7"}, NumberCase{4, 1, "IV"},
                                           NumberCase{1994, 2, "mcmxciv"}, NumberCase{4000, 1, "4000"},
                                           NumberCase{1, 3, "A"}, NumberCase{26, 4, "z"}, NumberCase{27, 4, "aa"},
                                           NumberCase{0, 4, "0"}, NumberCase{5, 22, "05"}, NumberCase{12, 22, "12"},
                                           NumberCase{3, 23, ""}, NumberCase{3, 255, ""}, NumberCase{3, 99, "3"}));

} // namespace
