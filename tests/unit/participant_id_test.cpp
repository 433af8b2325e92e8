#include "rules/experiment.h"
#include "rules/setup/participant_id.h"

#include <gtest/gtest.h>

using namespace ct;

TEST(ParticipantId, AcceptedTexts)
{
    struct Case {
        const char *text;
        int id;
        const char *fileName;
    } const cases[] = {
        {"7", 7, "7.csv"},
        {"007", 7, "7.csv"},
        {"-3", -3, "-3.csv"},
        {"2.5", 2, "2.csv"},
        {"3.5", 4, "4.csv"},
        {"0.4", 0, "0.csv"},
        {"-0.4", 0, "0.csv"},
        {"  12  ", 12, "12.csv"},
        {"\t+12.0\t", 12, "12.csv"},
        {".5", 0, "0.csv"},
        {"5.", 5, "5.csv"},
        {"1e3", 1000, "1000.csv"},
        {"32767", 32767, "32767.csv"},
        {"-32768", -32768, "-32768.csv"},
        {"32767.4", 32767, "32767.csv"},
        {"-32768.5", -32768, "-32768.csv"} /* half to even stays in range */,
        {"1e-400", 0, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        const ParticipantId parsed = parseParticipantId(c.text);
        if (*c.fileName == '\0') {
            EXPECT_EQ(parsed.status, IdStatus::Zero) << "reads as the number 0";
            continue;
        }
        ASSERT_EQ(parsed.status, IdStatus::Ok);
        EXPECT_EQ(parsed.id, c.id);
        EXPECT_EQ(dataFileNameFor(parsed.id), c.fileName);
    }
}

TEST(ParticipantId, ZeroDoesNothing)
{
    for (const char *text : {"0", "0.0", "-0", "+0", " 0 ", "000", "0e5", ".0"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(parseParticipantId(text).status, IdStatus::Zero);
        EXPECT_EQ(participantIdProblem(IdStatus::Zero, text), "");
    }
}

TEST(ParticipantId, RefusedTexts)
{
    struct Case {
        const char *text;
        IdStatus status;
        const char *message;
    } const cases[] = {
        {"", IdStatus::NotANumber, "Please type the participant ID number before pressing Run."},
        {"   ", IdStatus::NotANumber, "Please type the participant ID number before pressing Run."},
        {"abc", IdStatus::NotANumber, "\"abc\" is not a participant ID number. Please type a number such as 7."},
        {"7a", IdStatus::NotANumber, "\"7a\" is not a participant ID number. Please type a number such as 7."},
        {"1 2", IdStatus::NotANumber, "\"1 2\" is not a participant ID number. Please type a number such as 7."},
        {"1,5", IdStatus::NotANumber, "\"1,5\" is not a participant ID number. Please type a number such as 7."},
        {"--1", IdStatus::NotANumber, "\"--1\" is not a participant ID number. Please type a number such as 7."},
        {".", IdStatus::NotANumber, "\".\" is not a participant ID number. Please type a number such as 7."},
        {"1e", IdStatus::NotANumber, "\"1e\" is not a participant ID number. Please type a number such as 7."},
        {"inf", IdStatus::NotANumber, "\"inf\" is not a participant ID number. Please type a number such as 7."},
        {"<b>9</b>", IdStatus::NotANumber,
         "\"<b>9</b>\" is not a participant ID number. Please type a number such as 7."},
        {"9\x01", IdStatus::NotANumber, "\"9\\x01\" is not a participant ID number. Please type a number such as 7."},
        {"nan", IdStatus::NotANumber, "\"nan\" is not a participant ID number. Please type a number such as 7."},
        {"0x10", IdStatus::NotANumber, "\"0x10\" is not a participant ID number. Please type a number such as 7."},
        {"32768", IdStatus::OutOfRange, "\"32768\" is outside the range of participant ID numbers (-32768 to 32767)."},
        {"32767.5", IdStatus::OutOfRange,
         "\"32767.5\" is outside the range of participant ID numbers (-32768 to 32767)."},
        {"-32769", IdStatus::OutOfRange,
         "\"-32769\" is outside the range of participant ID numbers (-32768 to 32767)."},
        {"1e400", IdStatus::OutOfRange, "\"1e400\" is outside the range of participant ID numbers (-32768 to 32767)."},
        {" 99999999999999999999 ", IdStatus::OutOfRange,
         "\"99999999999999999999\" is outside the range of participant ID numbers (-32768 to 32767)."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseParticipantId(c.text).status, c.status);
        EXPECT_EQ(participantIdProblem(c.status, c.text), c.message);
    }
}

TEST(LeftOptionDraw, HalfAndAboveGiveFalse)
{
    EXPECT_TRUE(leftOptionOnLeftFor(0.0));
    EXPECT_TRUE(leftOptionOnLeftFor(0.49999999999999994));
    EXPECT_FALSE(leftOptionOnLeftFor(0.5));
    EXPECT_FALSE(leftOptionOnLeftFor(0.9999999999999999));
}

TEST(LeftOptionDraw, TimeSeededDrawsAreUniformAndVary)
{
    // 2000 draws: the share below one half lies within 0.5 +- 0.05 except with
    // a probability far below one in a million; no draw repeats.
    int below = 0;
    double previous = -1;
    int repeats = 0;
    for (int i = 0; i < 2000; ++i) {
        const double r = timeSeededUniformDraw();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
        below += leftOptionOnLeftFor(r) ? 1 : 0;
        repeats += r == previous ? 1 : 0;
        previous = r;
    }
    EXPECT_NEAR(below / 2000.0, 0.5, 0.05);
    EXPECT_EQ(repeats, 0);
}
