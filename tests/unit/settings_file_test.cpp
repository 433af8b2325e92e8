#include "qt_printing.h"
#include "rules/feedback/settings_file.h"
#include "rules/feedback/text_decoding.h"
#include "system_texts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ct;
using ct::test::shown;

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedKingdom);
const QLocale kGerman(QLocale::German, QLocale::Germany);
const QLocale kFrench(QLocale::French, QLocale::France);

} // namespace

TEST(DecodeSettingsText, Utf8WhenValidOtherwiseCodePage1252)
{
    struct Case {
        const char *name;
        QByteArray bytes;
        QString text;
    } const cases[] = {
        {"ASCII", "US$ ", "US$ "},
        {"UTF-8 euro", "\xE2\x82\xAC", QStringLiteral("\u20AC")},
        {"UTF-8 yen", "\xC2\xA5", QStringLiteral("\u00A5")},
        {"1252 euro", "\x80", QStringLiteral("\u20AC")},
        {"1252 pound and yen", "\xA3\xA5", QStringLiteral("\u00A3\u00A5")},
        {"1252 quotes and dashes", "\x93x\x94\x96\x97", QStringLiteral("\u201Cx\u201D\u2013\u2014")},
        {"1252 last of the high controls", "\x9F", QStringLiteral("\u0178")},
        {"1252 unassigned bytes", "\x81\x8D\x8F\x90\x9D", QStringLiteral("\u0081\u008D\u008F\u0090\u009D")},
        {"overlong UTF-8 is not UTF-8", "\xC0\xAF", QStringLiteral("\u00C0\u00AF")},
        {"truncated UTF-8 is not UTF-8", "\xE2\x82", QStringLiteral("\u00E2\u201A")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(decodeUtf8OrWindows1252(c.bytes), c.text);
    }
}

TEST(ParseSettings, ReadsRateAndCurrencyText)
{
    struct Case {
        const char *name;
        QByteArray bytes;
        QLocale locale;
        double rate;
        QString currency;
    } const cases[] = {
        {"empty file", "", kEnglish, 0, ""},
        {"one line, no line end", "50", kEnglish, 50, ""},
        {"one line", "50\r\n", kEnglish, 50, ""},
        {"two lines", "50\r\n$\r\n", kEnglish, 50, "$"},
        {"LF line ends, last line without one", "50\n$", kEnglish, 50, "$"},
        {"decimal rate, blanks around it", "  12.5 \t\r\nGBP\r\n", kEnglish, 12.5, "GBP"},
        {"currency kept verbatim with its blanks", "50\r\n US$ \r\n", kEnglish, 50, " US$ "},
        {"empty second line", "50\r\n\r\nignored\r\n", kEnglish, 50, ""},
        {"bare CR line ends", "12.5\r$\rignored\r", kEnglish, 12.5, "$"},
        {"a lone CR ends a line too", "50\r\na\rb\r\n", kEnglish, 50, "a"},
        {"CR CR is an empty line", "50\r\r$\r", kEnglish, 50, ""},
        {"LF CR is two line ends", "50\n\r$", kEnglish, 50, ""},
        {"further lines ignored, numbers too", "50\r\n$\r\n99\r\n12,5\r\n", kEnglish, 50, "$"},
        {"comma separator under German", "12,5\r\nEUR\r\n", kGerman, 12.5, "EUR"},
        {"comma separator under French", " 0,75\r\n\xE2\x82\xAC\r\n", kFrench, 0.75, QStringLiteral("\u20AC")},
        {"zero switches money off", "0\r\n$\r\n", kEnglish, 0, "$"},
        {"negative zero is zero", "-0\r\n", kEnglish, 0, ""},
        {"exponent", "1e3\r\n", kEnglish, 1000, ""},
        {"largest rate accepted", "1000000000\r\n", kEnglish, 1e9, ""},
        {"UTF-8 currency", "50\r\n\xC2\xA3\r\n", kEnglish, 50, QStringLiteral("\u00A3")},
        {"code page 1252 currency", "50\r\n\x80 \xA3\r\n", kEnglish, 50, QStringLiteral("\u20AC \u00A3")},
        {"code page 1252 line decoded on its own", "50\r\n\xA3\r\n\xC2\xA3\r\n", kEnglish, 50,
         QStringLiteral("\u00A3")},
        {"UTF-8 byte order mark dropped",
         "\xEF\xBB\xBF"
         "25\r\n$\r\n",
         kEnglish, 25, "$"},
        {"byte order mark alone is an empty file", "\xEF\xBB\xBF", kEnglish, 0, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const ParsedSettings parsed = parseSettings(c.bytes, c.locale);
        ASSERT_TRUE(parsed.ok());
        EXPECT_EQ(parsed.settings.exchangeRate, c.rate);
        EXPECT_FALSE(std::signbit(parsed.settings.exchangeRate));
        EXPECT_EQ(parsed.settings.currencySymbol, c.currency);
    }
}

TEST(ParseSettings, RefusesAFirstLineThatIsNoUsableRate)
{
    struct Case {
        const char *name;
        QByteArray bytes;
        QLocale locale;
        RateFault fault;
        QString text;
    } const cases[] = {
        {"empty first line", "\r\n$\r\n", kEnglish, RateFault::Empty, ""},
        {"blank first line", "  \t\n", kEnglish, RateFault::Empty, "  \t"},
        {"words", "fifty\r\n$\r\n", kEnglish, RateFault::NotANumber, "fifty"},
        {"currency on the first line", "$50\r\n", kEnglish, RateFault::NotANumber, "$50"},
        {"number with text after it", "50 $\r\n", kEnglish, RateFault::NotANumber, "50 $"},
        {"point under a comma locale", "12.5\r\n", kGerman, RateFault::NotANumber, "12.5"},
        {"point as thousands under German", "1.250\r\n", kGerman, RateFault::NotANumber, "1.250"},
        {"comma under an English locale", "12,5\r\n", kEnglish, RateFault::NotANumber, "12,5"},
        {"thousands separator", "1,000\r\n", kEnglish, RateFault::NotANumber, "1,000"},
        {"not UTF-8", "5\x80\r\n", kEnglish, RateFault::NotANumber, QStringLiteral("5\u20AC")},
        {"negative", "-5\r\n$\r\n", kEnglish, RateFault::Negative, "-5"},
        {"negative decimal", "-0,01\r\n", kGerman, RateFault::Negative, "-0,01"},
        {"infinity", "inf\r\n", kEnglish, RateFault::NotFinite, "inf"},
        {"not a number", "nan\r\n", kEnglish, RateFault::NotFinite, "nan"},
        {"beyond double range", "1e400\r\n", kEnglish, RateFault::TooLarge, "1e400"},
        {"above the largest rate", "1000000001\r\n", kEnglish, RateFault::TooLarge, "1000000001"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const ParsedSettings parsed = parseSettings(c.bytes, c.locale);
        ASSERT_FALSE(parsed.ok());
        EXPECT_EQ(parsed.problem->line, 1);
        EXPECT_EQ(parsed.problem->fault, c.fault);
        EXPECT_EQ(parsed.problem->text, c.text);
        EXPECT_EQ(parsed.settings, Settings{});
    }
}

TEST(ParseSettings, MessagesNameTheFileItsFolderAndTheLine)
{
    // An absolute path on this system, shown with its separators.
    const QString path = QDir::rootPath() + QStringLiteral("opt/choicetask/config.ini");
    const QString folder = shown(QDir::rootPath() + QStringLiteral("opt/choicetask"));
    EXPECT_EQ(
        describeSettingsProblem({1, "fifty", RateFault::NotANumber}, path, kEnglish),
        QString("Line 1 of the settings file \"config.ini\" in the program's folder %1 is not a number: "
                "\"fifty\". It must hold the exchange rate, the money paid per 10000 points, as a number written with "
                "this computer's decimal separator \".\" and no thousands separators, for example 50 or 12.5 (0 shows "
                "no money amounts).")
            .arg(folder));
    EXPECT_EQ(
        describeSettingsProblem({1, "12.5", RateFault::NotANumber}, path, kGerman),
        QString("Line 1 of the settings file \"config.ini\" in the program's folder %1 is not a number: "
                "\"12.5\". It must hold the exchange rate, the money paid per 10000 points, as a number written with "
                "this computer's decimal separator \",\" and no thousands separators, for example 50 or 12,5 (0 shows "
                "no money amounts).")
            .arg(folder));
    EXPECT_EQ(
        describeSettingsProblem({1, "", RateFault::Empty}, path, kEnglish),
        QString("Line 1 of the settings file \"config.ini\" in the program's folder %1 is empty. It must "
                "hold the exchange rate, the money paid per 10000 points, as a number written with this computer's "
                "decimal separator \".\" and no thousands separators, for example 50 or 12.5 (0 shows no money "
                "amounts).")
            .arg(folder));
    EXPECT_EQ(describeSettingsProblem({1, "-5", RateFault::Negative}, path, kEnglish),
              QString("Line 1 of the settings file \"config.ini\" in the program's folder %1 holds a negative "
                      "exchange rate: \"-5\". The exchange rate must be 0 or more.")
                  .arg(folder));
    EXPECT_EQ(describeSettingsProblem({1, "2e9", RateFault::TooLarge}, path, kEnglish),
              QString("Line 1 of the settings file \"config.ini\" in the program's folder %1 holds an exchange "
                      "rate that is too large: \"2e9\". The largest accepted is 1000000000 (money per 10000 points).")
                  .arg(folder));
    // Text from the file is shown as it is, never taken as a placeholder.
    EXPECT_TRUE(describeSettingsProblem({1, "%1 %2", RateFault::NotANumber}, path, kEnglish)
                    .contains("is not a number: \"%1 %2\". It must hold"));
    // Invisible characters are shown, and a long line is cut short.
    EXPECT_TRUE(describeSettingsProblem({1, "12.5\x01", RateFault::NotANumber}, path, kEnglish)
                    .contains("is not a number: \"12.5\\x01\". It must hold"));
    EXPECT_TRUE(describeSettingsProblem({1, QString(500, 'x'), RateFault::NotANumber}, path, kEnglish)
                    .contains("is not a number: \"" + QString(60, 'x') + "\u2026\". It must hold"));
    EXPECT_TRUE(describeSettingsProblem({1, "inf", RateFault::NotFinite}, path, kEnglish)
                    .startsWith(QString("Line 1 of the settings file \"config.ini\" in the program's folder %1 "
                                        "does not hold a finite number: \"inf\".")
                                    .arg(folder)));
}

// Reading the file in the program's folder (what it reads is the feedback
// window test's, which reads config.ini as the program does).
class ReadSettingsFileTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    void write(const QByteArray &bytes)
    {
        QFile file(folder.filePath("config.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
};

QString messageOf(const SettingsRead &read)
{
    return QString::fromStdString(read.error.message);
}

TEST_F(ReadSettingsFileTest, MissingFileIsAnErrorNamingFileAndFolder)
{
    const SettingsRead read = ReadSettingsFile(QDir(folder.path()).filesystemPath(), kEnglish);
    ASSERT_FALSE(read.ok());
    const QString file = folder.filePath("config.ini");
    EXPECT_EQ(messageOf(read),
              QStringLiteral("The settings file \"config.ini\" could not be read from the program's folder "
                             "%1.\n\nCould not open the file \"%2\" (%3): %4.")
                  .arg(shown(folder.path()), shown(file), shown(file), ct::test::missingFileReason()));
}

TEST_F(ReadSettingsFileTest, FolderInPlaceOfTheFileIsAnError)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir("config.ini"));
    const SettingsRead read = ReadSettingsFile(QDir(folder.path()).filesystemPath(), kEnglish);
    ASSERT_FALSE(read.ok());
    EXPECT_TRUE(messageOf(read).contains("Is a directory")) << read.error.message;
    EXPECT_TRUE(messageOf(read).contains(shown(folder.path())));
}

TEST_F(ReadSettingsFileTest, OversizedFileIsAnError)
{
    write(QByteArray("50\r\n$\r\n") + QByteArray(kMaxSettingsFileBytes, ' '));
    const SettingsRead read = ReadSettingsFile(QDir(folder.path()).filesystemPath(), kEnglish);
    ASSERT_FALSE(read.ok());
    EXPECT_TRUE(messageOf(read).contains("too large")) << read.error.message;
}

TEST_F(ReadSettingsFileTest, BadFirstLineIsAnErrorNamingTheLine)
{
    write("abc\r\n$\r\n");
    const SettingsRead read = ReadSettingsFile(QDir(folder.path()).filesystemPath(), kEnglish);
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.settings, Settings{});
    EXPECT_EQ(read.error.line, 1);
    EXPECT_TRUE(messageOf(read).startsWith(
        QStringLiteral(
            "Line 1 of the settings file \"config.ini\" in the program's folder %1 is not a number: \"abc\".")
            .arg(shown(folder.path()))))
        << read.error.message;
}
