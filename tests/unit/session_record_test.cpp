#include "rules/session_record.h"

#include <gtest/gtest.h>

using namespace ct::session;

namespace {

Row choiceRow()
{
    Row row;
    row.registration = 2;
    row.event = Event::Choice;
    row.timeUtc = "2026-03-05T14:07:09.123Z";
    row.monotonicMs = 81234.56;
    row.game = 3;
    row.trial = 17;
    row.button = Button::Right;
    row.option = 1;
    row.responseMs = 431.25;
    row.pausePlannedMs = 396;
    row.pauseActualMs = 396.44;
    return row;
}

Row registeredRow()
{
    Row row;
    row.registration = 1;
    row.event = Event::Registered;
    row.timeUtc = "2026-03-05T14:00:00.000Z";
    row.monotonicMs = 12;
    row.detail = {{"computer", "lab \"3\", room 2"}, {"os", "50%; odd\r\nname"}, {"left_option_button", "left"}};
    return row;
}

} // namespace

TEST(SessionRecord, RowsAreCsvLinesWithCrLf)
{
    struct Case {
        Row row;
        std::string line;
    };
    const Case cases[] = {
        {choiceRow(), "2,choice,2026-03-05T14:07:09.123Z,81234.6,3,17,right,1,431.3,396.0,396.4,\r\n"},
        {registeredRow(), "1,registered,2026-03-05T14:00:00.000Z,12.0,,,,,,,,"
                          "\"computer=lab \"\"3\"\", room 2;os=50%25%3B odd%0D%0Aname;left_option_button=left\"\r\n"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(formatRow(c.row), c.line);
        const ReadResult read = readSessionRecord(std::string(kHeader) + c.line);
        ASSERT_TRUE(read.ok()) << read.error.message;
        ASSERT_EQ(read.rows.size(), 1u);
        EXPECT_EQ(formatRow(read.rows[0]), c.line);
        EXPECT_EQ(read.rows[0].detail, c.row.detail);
    }
}

TEST(SessionRecord, MillisecondsHaveOneDecimalHalfAwayFromZero)
{
    const std::pair<double, const char *> cases[] = {
        {0, "0.0"},
        {0.04, "0.0"},
        {0.05, "0.1"},
        {432.1, "432.1"},
        {1000.4321 - 1000.0, "0.4"},
        {-2.25, "-2.3"},
        {-0.04, "0.0"},
        {86400000.05, "86400000.1"},
    };
    for (const auto &[ms, text] : cases)
        EXPECT_EQ(millisecondsText(ms), text) << ms;
}

TEST(SessionRecord, RefusesWhatItDidNotWrite)
{
    const std::string h(kHeader);
    const std::string good = formatRow(choiceRow());
    struct Case {
        std::string bytes;
        int line;
        const char *error;
    };
    const Case cases[] = {
        {"Trial,Choice\r\n", 1, "does not start with the session record's header"},
        {h + good + h, 3, "a second header line"},
        {h + "1,choice,t,1.0,1,1,left,1,1.0,1.0,1.0\r\n", 2, "11 fields where a row has 12"},
        {h + "1,chose,t,1.0,,,,,,,,\r\n", 2, "unknown event \"chose\""},
        {h + "0,choice,t,1.0,,,,,,,,\r\n", 2, "registration is not a number"},
        {h + "1,choice,t,x,,,,,,,,\r\n", 2, "monotonic time is not a finite number: \"x\""},
        {h + "1,choice,t,inf,,,,,,,,\r\n", 2, "monotonic time is not a finite number: \"inf\""},
        {h + "1,choice,t,1.0,9,,,,,,,\r\n", 2, "the game is not a number from 1 to 8: \"9\""},
        {h + "1,choice,t,1.0,1,151,,,,,,\r\n", 2, "the trial is not a number from 0 to 150: \"151\""},
        {h + "1,choice,t,1.0,,,up,,,,,\r\n", 2, "a button other than left or right"},
        {h + "1,choice,t,1.0,,,,2,,,,\r\n", 2, "an option other than 1 or 0"},
        {h + "1,choice,t,1.0,,,,,fast,,,\r\n", 2,
         "the response time is not a number of milliseconds from -86400000.0 to 86400000.0: \"fast\""},
        {h + "1,choice,t,1.0,,,,,1e308,,,\r\n", 2, "the response time is not a number of milliseconds"},
        {h + "1,choice,t,1.0,,,,,,-1,,\r\n", 2, "the planned pause is not a number of milliseconds from 0.0 to"},
        {h + "1,choice,t,1.0,,,,,,,nan,\r\n", 2, "the actual pause is not a number of milliseconds"},
        {h + "1,error,t,1.0,,,,,,,,message=50%\r\n", 2, "not key=value pairs"},
        {h + "1,error,t,1.0,,,,,,,,message\r\n", 2, "not key=value pairs"},
        {h + "1,error,t,1.0,,,,,,,,\"a\"b\r\n", 2, "quote out of place"},
        {h + "1,error,t,1.0,,,,,,,,a=1\n", 2, "line end or quote out of place"},
        {h + "1,error,t,1.0,,,,,,,,\"message=a\r\n", 2, "quote out of place"},
        {h + "1,error,t,1.0,,,,,,,,\r\n" + h, 3, "a second header line"},
    };
    for (const Case &c : cases) {
        const ReadResult read = readSessionRecord(c.bytes);
        EXPECT_FALSE(read.ok()) << c.bytes;
        EXPECT_EQ(read.error.line, c.line) << c.bytes;
        EXPECT_NE(read.error.message.find(c.error), std::string::npos) << read.error.message;
    }
}

TEST(SessionRecord, LinesCutByACrashAreNamedAndSkipped)
{
    const std::string h(kHeader);
    const std::string good = formatRow(choiceRow());
    Row again = registeredRow();
    again.registration = 2;
    const auto ended = [&](int line) {
        Row row = again;
        row.detail.emplace_back(kEndedCutLineKey, std::to_string(line));
        return formatRow(row);
    };
    const std::string cutRow = good.substr(0, 30);
    // A row cut in its last field still reads as a row: only the mark of the
    // run that ended it tells.
    const std::string cutInDetail = good.substr(0, good.size() - 3) + "\r\n";
    struct Case {
        const char *name;
        std::string bytes;
        std::vector<int> cut;
        std::size_t rows;
    } const cases[] = {
        {"header cut, nothing after", h.substr(0, 20), {1}, 0},
        {"last row without LF", h + good + good.substr(0, good.size() - 1), {3}, 1},
        {"last row cut", h + good + cutRow, {3}, 1},
        {"open quote at the end", h + good + "1,error,t,1.0,,,,,,,,\"message=a", {3}, 1},
        {"NUL bytes in a line", h + good + std::string(40, '\0') + "\r\n" + good, {3}, 2},
        {"header cut, ended, header again", h.substr(0, 20) + "\r\n" + h + ended(1), {1}, 1},
        {"row cut, ended, next run", h + good + cutRow + "\r\n" + ended(3) + good, {3}, 3},
        {"row cut in its detail", h + good + cutInDetail + ended(3), {3}, 2},
        {"whole record", h + good + ended(0), {}, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ReadResult read = readSessionRecord(c.bytes);
        ASSERT_TRUE(read.ok()) << read.error.line << ": " << read.error.message;
        EXPECT_EQ(read.cutLines, c.cut);
        EXPECT_EQ(read.rows.size(), c.rows);
    }
    // A row that does not read is refused unless a later run named it.
    const ReadResult unnamed = readSessionRecord(h + good + cutRow + "\r\n" + formatRow(again));
    EXPECT_EQ(unnamed.error.line, 3);
}

TEST(SessionRecord, TheNextRunWritesTheHeaderAndEndsTheCutLine)
{
    const std::string h(kHeader);
    const std::string good = formatRow(choiceRow());
    struct Case {
        std::string bytes;
        bool header;
        int cut;
    } const cases[] = {
        {"", true, 0},
        {h.substr(0, 20), true, 1},
        {h.substr(0, h.size() - 1), false, 0}, // the LF completes it
        {std::string(30, '\0'), true, 1},
        {h + good, false, 0},
        {h + good + good.substr(0, 10), false, 3},
        {h + good + good.substr(0, good.size() - 1), false, 0},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(headerNeeded(c.bytes), c.header) << c.bytes;
        EXPECT_EQ(cutLastLine(c.bytes), c.cut) << c.bytes;
    }
}

TEST(SessionRecord, DetailValuesReadBack)
{
    const Row row = registeredRow();
    EXPECT_EQ(row.detailValue("os"), "50%; odd\r\nname");
    EXPECT_EQ(row.detailValue("missing"), std::nullopt);
    EXPECT_EQ(parseDetail(""), Detail{});
    EXPECT_EQ(parseDetail("rate=0.5;currency=a=b"), (Detail{{"rate", "0.5"}, {"currency", "a=b"}}));
    for (const char *bad : {"a=1;", "=1", "a=%4", "a=%zz"})
        EXPECT_EQ(parseDetail(bad), std::nullopt) << bad;
}

TEST(SessionRecord, RegistrationCountsTheDataFilesHeaderLines)
{
    const std::string header = "Trial,Choice,PayOff,winnings,historyLeft,GameUnitsRemaining\r\n";
    const std::string trial = " 1 , 1 , 5 , 5 , 1 , 150 ,\r\n";
    const std::pair<std::string, int> cases[] = {
        {"", 0},
        {header, 1},
        {header + trial + trial, 1},
        {header + trial + header, 2},
        {header + header + trial + header, 3},
        {" " + header, 0},
    };
    for (const auto &[bytes, number] : cases)
        EXPECT_EQ(registrationNumber(bytes), number) << bytes;
    EXPECT_EQ(sessionFileNameFor("42.csv"), "42.session.csv");
    EXPECT_EQ(sessionFileNameFor("-3.csv"), "-3.session.csv");
}
