#include "rules/number_text.h"
#include "rules/quoted_text.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace ct;

TEST(RoundToOneDecimal, HalvesGoToEvenOnTheDoubleAsComputed)
{
    struct Case {
        const char *name;
        double value;
        double expected;
    } const cases[] = {
        {"exact half down to even", 1.25, 1.2},
        {"exact half up to even", 1.35, 1.4}, // 1.35 is just above 1.35 in binary: 13.5 after x10
        {"just below a half", 0.6 / (((1 - 0.7) * 2) + 1) * 10, 3.7},
        {"reduced last trial", 0.8 / 1.8 * 10, 4.4},
        {"share of nine tenths", 0.9 + 0.0 / 10, 0.9},
        {"negative half", -0.25, -0.2},
        {"units residue", 148.79999999999998, 148.8},
        {"whole", 150.0, 150.0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(roundToOneDecimal(c.value), c.expected);
    }
}

TEST(FormatFixed, DisplayPatternsTakeHalvesAwayFromZero)
{
    struct Case {
        double value;
        int decimals;
        const char *text;
    } const cases[] = {
        {150, 1, "150.0"},
        {148.79999999999998, 1, "148.8"},
        {4.4, 0, "4"},
        {2.5, 0, "3"},
        {-2.5, 0, "-3"},
        {0.25, 1, "0.3"},
        {-0.25, 1, "-0.3"},
        {1, 1, "1.0"},
        {3.8, 2, "3.80"},
        {0.8325, 2, "0.83"},
        {6.66, 2, "6.66"},
        {1.005, 2, "1.01"},
        {2.675, 2, "2.68"},
        {0.005, 2, "0.01"},
        {0.004999, 2, "0.00"},
        {9.995, 2, "10.00"},
        {0.0, 2, "0.00"},
        {-0.001, 2, "0.00"} /* no negative zero */,
        {0.45, 0, "0"},
        {0.5, 0, "1"},
        {1e-300, 1, "0.0"},
        {123456789.126, 2, "123456789.13"},
        {1e20, 0, "100000000000000000000"},
        {-1.0000000000000009, 1, "-1.0"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(formatFixed(c.value, c.decimals), c.text);
    }
}

TEST(FormatFixed, PointsAreExactAndTakeTheGivenSeparator)
{
    EXPECT_EQ(formatFixed(Points::fromDouble(759.4), 1), "759.4");
    EXPECT_EQ(formatFixed(Points::fromDouble(759.45), 1), "759.5");
    EXPECT_EQ(formatFixed(Points::fromDouble(-759.45), 1), "-759.5");
    EXPECT_EQ(formatFixed(Points::fromDouble(4.4), 0), "4");
    EXPECT_EQ(formatFixed(Points::fromDouble(1.005), 2, ","), "1,01");
    EXPECT_EQ(formatFixed(Points{}, 1), "0.0");
    EXPECT_EQ(formatFixed(Points::fromDouble(35), 0), "35");
}

TEST(PlainText, ShortestDecimalOfPoints)
{
    struct Case {
        double value;
        const char *separator;
        const char *text;
    } const cases[] = {
        {523, ".", "523"}, {523.5, ".", "523.5"}, {523.5, ",", "523,5"},   {0.25, ".", "0.25"},       {-60, ".", "-60"},
        {0, ".", "0"},     {760, ".", "760"},     {0.0001, ".", "0.0001"}, {1000000, ".", "1000000"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(plainText(Points::fromDouble(c.value), c.separator), c.text);
    }
}

TEST(DataFileNumber, SignPlaceAndNoLeadingZero)
{
    struct Case {
        double value;
        const char *text;
    } const cases[] = {
        {150, " 150"},
        {0.9, " .9"},
        {0.8, " .8"},
        {148.8, " 148.8"},
        {148.79999999999998, " 148.8"},
        {4.4, " 4.4"},
        {0, " 0"},
        {1, " 1"},
        {-3, "-3"},
        {-0.5, "-.5"},
        {0.1 + 0.2, " .3"} /* 15 significant digits */,
        {123456789012345.0, " 123456789012345"},
        {1.0 / 3.0, " .333333333333333"},
        {2.0 / 3.0, " .666666666666667"},
        {-0.0, " 0"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(dataFileNumber(c.value), c.text);
    }
    EXPECT_EQ(dataFileNumber(Points::fromDouble(759.4)), " 759.4");
    EXPECT_EQ(dataFileNumber(Points::fromDouble(0.5)), " .5");
    EXPECT_EQ(dataFileNumber(std::int64_t{150}), " 150");
    EXPECT_EQ(dataFileNumber(std::int64_t{0}), " 0");
}

TEST(ToDecimal, RejectsNonFiniteNumbers)
{
    EXPECT_THROW(toDecimal(std::nan("")), std::domain_error);
    EXPECT_THROW(toDecimal(INFINITY), std::domain_error);
    EXPECT_THROW(formatFixed(-INFINITY, 2), std::domain_error);
}

TEST(QuotedForMessage, ShowsControlCharactersAndShortensLongTexts)
{
    struct Case {
        const char *text;
        std::size_t max;
        const char *quoted;
    } const cases[] = {
        {"<b>9</b>", 60, "\"<b>9</b>\""},
        {"12.5\r", 60, "\"12.5\\r\""},
        {"a\tb\nc\x01\x7F", 60, "\"a\\tb\\nc\\x01\\x7F\""},
        {"abcdef", 6, "\"abcdef\""},
        {"abcdefg", 6, "\"abcdef\xE2\x80\xA6\""},
        {"\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC", 2,
         "\"\xE2\x82\xAC\xE2\x82\xAC\xE2\x80\xA6\""}, // never half a character
        {"", 60, "\"\""},
        {"\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF", 2, "\"\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xE2\x80\xA6\""}, // not UTF-8
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(quotedForMessage(c.text, c.max), c.quoted);
    }
}
