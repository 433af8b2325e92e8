#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace ct;
namespace fs = std::filesystem;

namespace {

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "ct-files-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
    }
    ~TempFolder()
    {
        std::error_code ignored;
        fs::permissions(m_path, fs::perms::owner_all, ignored);
        fs::remove_all(m_path, ignored);
    }
    fs::path path() const { return m_path; }

private:
    fs::path m_path;
};

std::string contents(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

} // namespace

TEST(AppendDurably, CreatesThenAppendsWithoutTruncating)
{
    TempFolder folder;
    const std::string file = (folder.path() / "7.csv").string();
    ASSERT_TRUE(appendDurably(file, "a\r\n").ok);
    const FileResult second = appendDurably(file, "b\r\n");
    ASSERT_TRUE(second.ok) << second.error;
    EXPECT_GE(second.handle, 0);
    EXPECT_EQ(contents(file), "a\r\nb\r\n");
}

TEST(AppendDurably, ReportsFileAndReasonWhenTheFolderIsMissing)
{
    TempFolder folder;
    const std::string file = (folder.path() / "missing" / "7.csv").string();
    const FileResult result = appendDurably(file, "x");
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("7.csv"), std::string::npos) << result.error;
    EXPECT_NE(result.error.find("No such file or directory"), std::string::npos) << result.error;
}

TEST(AppendDurably, ReportsAFolderInPlaceOfTheFile)
{
    TempFolder folder;
    fs::create_directory(folder.path() / "7.csv");
    const FileResult result = appendDurably((folder.path() / "7.csv").string(), "x");
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("Is a directory"), std::string::npos) << result.error;
}

TEST(AppendDurably, FullDiskLeavesNoHalfLine)
{
    // /dev/full accepts opening and fails every write with ENOSPC.
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    const FileResult result = appendDurably("/dev/full", "line\r\n");
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("No space left on device"), std::string::npos) << result.error;
}

TEST(ReadWholeFile, ReadsRefusesMissingAndTooLarge)
{
    TempFolder folder;
    const fs::path file = folder.path() / "config.ini";
    std::ofstream(file, std::ios::binary) << "50\r\nEUR ";
    const ReadResult read = readWholeFile(file.string(), 1024);
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.bytes, "50\r\nEUR ");

    const ReadResult tooLarge = readWholeFile(file.string(), 4);
    EXPECT_FALSE(tooLarge.ok);
    EXPECT_NE(tooLarge.error.find("too large"), std::string::npos);

    const ReadResult missing = readWholeFile((folder.path() / "nothing.ini").string(), 1024);
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.error.find("nothing.ini"), std::string::npos);

    const ReadResult folderRead = readWholeFile(folder.path().string(), 1024);
    EXPECT_FALSE(folderRead.ok);
}
