// Reading from a file: errors name the file, and oversized files are refused unread.
#include "rtf_test_support.h"
#include "system_texts.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifdef __linux__
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#endif

using namespace ct::rtf::testing;

namespace {

// Why the file could not be read; empty when it was.
QString failure(const QString &path, QTextDocument &document)
{
    return QString::fromStdString(ct::rtf::readFile(path, document).message);
}

TEST(ReadFile, MissingFileIsNamedWithTheReason)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("instructions_condition_1.rtf");
    QTextDocument document;
    document.setPlainText("placeholder");
    const QString error = failure(path, document);
    EXPECT_TRUE(error.startsWith(QString("The file \"%1\" could not be opened: ").arg(ct::test::shown(path))))
        << error.toStdString();
    EXPECT_TRUE(error.endsWith(": " + ct::test::missingFileReason())) << error.toStdString();
    EXPECT_TRUE(document.isEmpty());
}

TEST(ReadFile, FolderIsRefused)
{
    QTemporaryDir folder;
    QTextDocument document;
    const QString error = failure(folder.path(), document);
    EXPECT_TRUE(error.contains(ct::test::shown(folder.path()))) << error.toStdString();
}

#ifdef __linux__
TEST(ReadFile, NamedPipeIsRefusedWithoutWaiting)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("instructions_condition_1.rtf");
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    QTextDocument document;
    const QString error = failure(path, document);
    EXPECT_EQ(error, QString("The file \"%1\" could not be opened: Is a named pipe, not a regular file").arg(path));
}

// A small file needs little memory, whatever the largest allowed size: the
// address space is limited to what the process uses plus less than that size.
TEST(ReadFile, SmallFileReadsInALimitedAddressSpace)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit";
#else
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    ASSERT_GT(pages, 0);
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_AS, &before), 0);
    rlimit tight = before;
    tight.rlim_cur = static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + 64 * 1024 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_AS, &tight), 0);
    QTextDocument document;
    QString error;
    try {
        error = failure(dataPath("corpus/pandoc.rtf"), document);
    } catch (const std::bad_alloc &) {
        error = "out of memory";
    }
    ::setrlimit(RLIMIT_AS, &before);
    EXPECT_EQ(error, QString());
#endif
}
#endif

TEST(ReadFile, BrokenContentIsNamedWithTheFile)
{
    QTextDocument document;
    const QString path = dataPath("broken/plain_text.txt");
    EXPECT_EQ(failure(path, document),
              QString("The file \"%1\" could not be read as rich text: not an RTF file").arg(ct::test::shown(path)));
}

TEST(ReadFile, FileAboveTheCapIsRefusedUnread)
{
    // A sparse file: it claims the size without taking the disk space.
    QTemporaryDir folder;
    const QString path = folder.filePath("huge.rtf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1 ");
    ASSERT_TRUE(file.resize(ct::rtf::kMaxFileBytes + 1));
    file.close();

    QTextDocument document;
    const QString error = failure(path, document);
    EXPECT_TRUE(error.startsWith(QString("The file \"%1\" is too large").arg(ct::test::shown(path))))
        << error.toStdString();
    EXPECT_FALSE(error.contains('\n'));
}

TEST(ReadFile, ReadsAFileInPlaceOfWhatTheDocumentHeld)
{
    QTextDocument document;
    document.setPlainText("placeholder");
    ASSERT_EQ(failure(dataPath("corpus/pandoc.rtf"), document), QString());
    EXPECT_TRUE(document.toPlainText().startsWith("Instructions\n"));
    EXPECT_FALSE(document.toPlainText().contains("placeholder"));
}

} // namespace
