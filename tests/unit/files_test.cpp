// The files layer, on the system it was built for: these tests also run as a
// Windows program under Wine (the windows preset), where they exercise the Win32
// calls.
#include "platform/files.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#endif

using namespace ct;
namespace fs = std::filesystem;

namespace {

class TempFolder {
public:
    TempFolder()
    {
        static std::atomic<int> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        m_path = fs::temp_directory_path() / ("ct-files-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        fs::create_directory(m_path);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    fs::path path() const { return m_path; }

private:
    fs::path m_path;
};

std::optional<std::string> contents(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void write(const fs::path &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(AppendDurably, CreatesThenAppendsExactBytes)
{
    TempFolder folder;
    const fs::path file = folder.path() / "7.csv";
    for (const char *line : {"Trial,Choice\r\n", "1,L\r\n"}) {
        const FileResult result = appendDurably(file, line);
        ASSERT_TRUE(result.ok()) << result.error.message;
        EXPECT_TRUE(result.bytesSaved);
    }
    EXPECT_EQ(contents(file), "Trial,Choice\r\n1,L\r\n");
}

// Each row: the file before (none: missing), the faults forced, and what the
// append must report and leave behind.
struct AppendCase {
    const char *name;
    std::optional<std::string> before;
    AppendFaults faults;
    bool ok;
    bool bytesSaved;
    const char *errorPart;
    std::optional<std::string> after;
};

TEST(AppendDurably, FailuresReportWhatFailedAndLeaveNoHalfLine)
{
    const std::string line = "2,R,10,15,LR,98\r\n";
    const AppendCase cases[] = {
        {"disk full half-way", "1,L\r\n", {.bytesBeforeDiskFull = 7}, false, false, "Could not write to", "1,L\r\n"},
        {"disk full at once", "1,L\r\n", {.bytesBeforeDiskFull = 0}, false, false, "Could not write to", "1,L\r\n"},
        {"disk full in a new file",
         std::nullopt,
         {.bytesBeforeDiskFull = 4},
         false,
         false,
         "Could not write to",
         std::nullopt},
        {"close fails", "1,L\r\n", {.closeFails = true}, false, true, "Could not close", "1,L\r\n" + line},
        {"folder entry fails",
         std::nullopt,
         {.folderSyncFails = true},
         false,
         true,
         "Could not save the folder entry",
         line},
        {"existing file needs no folder entry", "1,L\r\n", {.folderSyncFails = true}, true, true, "", "1,L\r\n" + line},
    };
    for (const AppendCase &c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const fs::path file = folder.path() / "7.csv";
        if (c.before)
            write(file, *c.before);
        const FileResult result = appendDurably(file, line, c.faults);
        EXPECT_EQ(result.ok(), c.ok) << result.error.message;
        EXPECT_EQ(result.bytesSaved, c.bytesSaved);
        EXPECT_TRUE(contains(result.error.message, c.errorPart)) << result.error.message;
        if (!c.ok) {
            EXPECT_TRUE(contains(result.error.message, "7.csv")) << result.error.message;
            EXPECT_FALSE(result.reason.empty());
        }
        EXPECT_EQ(contents(file), c.after);
    }
}

// The steps of an append as the disk sees them, and each one failing. The
// crash-state test (tests/gui/crash_states_test.cpp) rebuilds what a power
// cut leaves from these steps.
TEST(AppendDurably, StepsReachTheDiskInOrderAndAFailedOneIsTakenBack)
{
    using Kind = FileStep::Kind;
    struct Seen {
        Kind kind;
        std::uint64_t offset;
        std::string bytes;
        bool operator==(const Seen &) const = default;
    };
    const std::string line = "2,R\r\n";
    struct Case {
        const char *name;
        std::optional<std::string> before;
        std::optional<Kind> failing;
        bool ok;
        bool bytesSaved;
        std::vector<Seen> steps;
        std::optional<std::string> after;
    } const cases[] = {
        {"new file",
         std::nullopt,
         std::nullopt,
         true,
         true,
         {{Kind::Create, 0, ""}, {Kind::Write, 0, line}, {Kind::Sync, 0, ""}, {Kind::SyncFolder, 0, ""}},
         line},
        {"whole last line",
         "1,L\r\n",
         std::nullopt,
         true,
         true,
         {{Kind::Write, 5, line}, {Kind::Sync, 0, ""}},
         "1,L\r\n" + line},
        // A line a crash cut is ended first, in the same write.
        {"cut last line",
         "1,L",
         std::nullopt,
         true,
         true,
         {{Kind::Write, 3, "\r\n" + line}, {Kind::Sync, 0, ""}},
         "1,L\r\n" + line},
        {"cut after its CR",
         "1,L\r",
         std::nullopt,
         true,
         true,
         {{Kind::Write, 4, "\n" + line}, {Kind::Sync, 0, ""}},
         "1,L\r\n" + line},
        {"write fails",
         "1,L",
         Kind::Write,
         false,
         false,
         {{Kind::Write, 3, "\r\n" + line}, {Kind::Truncate, 3, ""}, {Kind::Sync, 0, ""}},
         "1,L"},
        // The bytes may be in the file, not yet on the disk: they are taken
        // back, and the cut is synced too.
        {"sync fails",
         "1,L\r\n",
         Kind::Sync,
         false,
         false,
         {{Kind::Write, 5, line}, {Kind::Sync, 0, ""}, {Kind::Truncate, 5, ""}, {Kind::Sync, 0, ""}},
         "1,L\r\n"},
        {"sync of a new file fails",
         std::nullopt,
         Kind::Sync,
         false,
         false,
         {{Kind::Create, 0, ""},
          {Kind::Write, 0, line},
          {Kind::Sync, 0, ""},
          {Kind::Truncate, 0, ""},
          {Kind::Sync, 0, ""},
          {Kind::Remove, 0, ""}},
         std::nullopt},
        {"folder sync fails",
         std::nullopt,
         Kind::SyncFolder,
         false,
         true,
         {{Kind::Create, 0, ""}, {Kind::Write, 0, line}, {Kind::Sync, 0, ""}, {Kind::SyncFolder, 0, ""}},
         line},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const fs::path file = folder.path() / "7.csv";
        if (c.before)
            write(file, *c.before);
        std::vector<Seen> steps;
        bool failed = false;
        setFileStepWatcher([&](const FileStep &step) {
            EXPECT_EQ(step.path, file);
            steps.push_back({step.kind, step.offset, std::string(step.bytes)});
            const bool fail = !failed && c.failing == step.kind;
            failed = failed || fail;
            return fail;
        });
        const FileResult result = appendDurably(file, line);
        setFileStepWatcher({});
        EXPECT_EQ(result.ok(), c.ok) << result.error.message;
        EXPECT_EQ(result.bytesSaved, c.bytesSaved);
        EXPECT_EQ(steps, c.steps);
        EXPECT_EQ(contents(file), c.after);
    }
}

TEST(AppendDurably, NamesMissingFolderAndFolderInPlaceOfTheFile)
{
    TempFolder folder;
    fs::create_directory(folder.path() / "8.csv");
    const struct {
        fs::path path;
        FileProblem problem;
    } cases[] = {
        {folder.path() / "missing" / "7.csv", FileProblem::Missing},
        {folder.path() / "8.csv", FileProblem::NotRegularFile},
    };
    for (const auto &c : cases) {
        const FileResult result = appendDurably(c.path, "x");
        EXPECT_FALSE(result.ok());
        EXPECT_EQ(result.problem, c.problem) << result.error.message;
        EXPECT_TRUE(contains(result.error.message, c.path.filename().string())) << result.error.message;
    }
    EXPECT_TRUE(fs::is_directory(folder.path() / "8.csv"));
}

TEST(ReadWholeFile, ReadsExactBytesWithMemoryForTheActualSize)
{
    TempFolder folder;
    const fs::path file = folder.path() / "config.ini";
    write(file, "50\r\nEUR ");
    const ReadResult read = readWholeFile(file, 512u * 1024 * 1024);
    ASSERT_TRUE(read.ok()) << read.error.message;
    EXPECT_EQ(read.bytes, "50\r\nEUR ");
    EXPECT_LT(read.bytes.capacity(), 1024u);
}

TEST(ReadWholeFile, AFileOfExactlyTheLimitIsRead)
{
    TempFolder folder;
    const fs::path file = folder.path() / "config.ini";
    write(file, "50\r\nEUR ");
    EXPECT_EQ(readWholeFile(file, 8).bytes, "50\r\nEUR ");
    EXPECT_EQ(readWholeFile(file, 7).problem, FileProblem::TooLarge);
}

TEST(ReadWholeFile, RefusesTooLargeMissingAndWhatIsNotAFile)
{
    TempFolder folder;
    const fs::path file = folder.path() / "config.ini";
    write(file, "50\r\nEUR ");
    const struct {
        fs::path path;
        FileProblem problem;
        const char *errorPart;
    } cases[] = {
        {file, FileProblem::TooLarge, "too large"},
        {folder.path() / "nothing.ini", FileProblem::Missing, "nothing.ini"},
        {folder.path(), FileProblem::NotRegularFile, "Is a directory"},
#ifdef _WIN32
        {"NUL", FileProblem::NotRegularFile, "Is a device"},
#else
        {"/dev/null", FileProblem::NotRegularFile, "Is a device"},
#endif
    };
    for (const auto &c : cases) {
        const ReadResult read = readWholeFile(c.path, 4);
        EXPECT_FALSE(read.ok());
        EXPECT_EQ(read.problem, c.problem) << read.error.message;
        EXPECT_TRUE(contains(read.error.message, c.errorPart)) << read.error.message;
        EXPECT_TRUE(read.bytes.empty());
    }
}

#ifndef _WIN32
TEST(ReadWholeFile, RefusesANamedPipeWithoutWaitingAndFollowsLinks)
{
    // With no writer, opening the pipe the usual way would wait for ever.
    TempFolder folder;
    const fs::path pipe = folder.path() / "config.ini";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const ReadResult read = readWholeFile(pipe, 1024);
    EXPECT_EQ(read.problem, FileProblem::NotRegularFile);
    EXPECT_TRUE(contains(read.error.message, "Is a named pipe")) << read.error.message;
    const FileResult append = appendDurably(pipe, "x");
    EXPECT_EQ(append.problem, FileProblem::NotRegularFile) << append.error.message;

    const fs::path target = folder.path() / "real.ini";
    write(target, "12.5\n");
    fs::create_symlink(target, folder.path() / "link.ini");
    EXPECT_EQ(readWholeFile(folder.path() / "link.ini", 1024).bytes, "12.5\n");
}
#endif

// A folder whose name is not UTF-8 (Latin-1 "Müller" from an old USB stick)
// on POSIX, or holds characters outside the ANSI code page on Windows: every
// file operation reaches it by the system's own name, and messages show it.
TEST(Files, WorkInAFolderNamedInTheSystemsOwnEncoding)
{
    TempFolder folder;
#ifdef _WIN32
    const fs::path named = folder.path() / fs::path(L"M\u00fcller \u03a9");
    const std::string shown = "M\xC3\xBCller \xCE\xA9";
#else
    const fs::path named = folder.path() / fs::path(std::string("M\xFCller"));
    const std::string shown = "M\\xFCller";
#endif
    ASSERT_TRUE(fs::create_directory(named));
    const fs::path file = named / "7.csv";
    ASSERT_TRUE(appendDurably(file, "1,L\r\n").ok());
    EXPECT_EQ(readWholeFile(file, 100).bytes, "1,L\r\n");
    EXPECT_TRUE(checkReadable(file).ok());
    EXPECT_TRUE(probeFolder(named).ok());
    EXPECT_EQ(std::distance(fs::directory_iterator(named), fs::directory_iterator()), 1); // the probe is gone
    EXPECT_EQ(displayPath(named.filename()), shown);
    EXPECT_EQ(probeFolder(named / "gone").problem, FileProblem::Missing);
    const ReadResult missing = readWholeFile(named / "config.ini", 100);
    EXPECT_NE(missing.error.message.find(shown), std::string::npos) << missing.error.message;
    EXPECT_EQ(checkReadable(named / "config.ini").problem, FileProblem::Missing);

    // The program's own folder, where its settings file is looked up.
    EXPECT_TRUE(programFolder().is_absolute());
    EXPECT_TRUE(fs::is_directory(programFolder()));
}

// The macOS application keeps its settings where dragging a new
// choicetask.app over the old one cannot reach them, and runs in its study
// folder only when Finder or the Dock started it.
TEST(ApplicationBundle, SettingsFolderAndStudyFolderFollowWhereAndHowTheProgramStarted)
{
    const fs::path home = "/Users/lab";
    const fs::path library = home / "Library" / "Application Support" / "choicetask";
    struct Row {
        fs::path executable;
        fs::path working;
        fs::path settings;
        bool studyFolder;
    };
    const Row rows[] = {
        {"/Applications/choicetask.app/Contents/MacOS/choicetask", "/", library, true},
        {"/Applications/choicetask.app/Contents/MacOS/choicetask-report", "/Users/lab/study1", library, false},
        {"/Applications/choicetask.app/Contents/MacOS/choicetask", "/Users/lab", library, false},
        {"/Users/lab/build/choicetask", "/", "/Users/lab/build", false},
        {"/opt/choicetask.app/MacOS/choicetask", "/", "/opt/choicetask.app/MacOS", false},
        {"/opt/choicetask/Contents/MacOS/choicetask", "/", "/opt/choicetask/Contents/MacOS", false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.executable.string());
        const SettingsFolder settings = settingsFolderFor(row.executable, home);
        EXPECT_EQ(settings.path, row.settings);
        EXPECT_EQ(settings.besideProgram, row.settings != library);
        EXPECT_EQ(runsInStudyFolder(row.executable, row.working), row.studyFolder);
    }
    // No home folder: beside the program, as before.
    EXPECT_EQ(settingsFolderFor(rows[0].executable, {}).path, rows[0].executable.parent_path());
}
