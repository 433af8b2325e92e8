#pragma once

#include "platform/error.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Reading and appending files, the same on every system: one source per
// system (files_posix.cpp, files_win.cpp) behind this header. Paths are the
// system's own (std::filesystem::path); messages are UTF-8.

namespace ct {

// Why an operation on a file failed, for callers that word their own message.
enum class FileProblem {
    None,
    // There is no such file (or folder on the way to it).
    Missing,
    // Something other than a regular file, or a link to one, is there: a
    // folder, a named pipe, a device or a socket. Never opened for reading
    // or writing, so it cannot make the program wait.
    NotRegularFile,
    // The file is larger than the caller allows.
    TooLarge,
    // Anything else the system reports (permissions, a full disk, ...).
    Other,
};

struct FileResult {
    // True when the bytes reached stable storage even though a later step
    // failed (closing the file, saving the folder entry of a new file): they
    // are in the file, and `error` says what did fail.
    bool bytesSaved = false;
    FileProblem problem = FileProblem::None;
    // For the experimenter: which file, where, and what went wrong.
    Error error;
    // What went wrong alone, in the system's words ("Is a directory").
    std::string reason;
    bool ok() const { return error.empty(); }
};

// Failures a test can force on the append, the way a full disk or a failing
// device would cause them. The program never sets them.
struct AppendFaults {
    // The system takes this many bytes, then refuses the rest as a full disk would.
    std::size_t bytesBeforeDiskFull = static_cast<std::size_t>(-1);
    bool closeFails = false;
    bool folderSyncFails = false;
};

// Appends the lines `bytes` to the regular file at `path`, creating it when
// missing and never truncating it. The bytes are on stable storage when this
// returns ok (the file is synced, and a newly created file's folder too). When
// a step fails the file is cut back to its previous length and synced again,
// so a line is never left half-written, not even after a power cut.
//
// A file that does not end with a line end holds a line cut off by a crash
// (or a power cut) while it was written: that line is ended first (with LF
// after a CR, else with CR LF), in the same write, so that the new lines start
// on a line of their own. Nothing is deleted.
FileResult appendDurably(const std::filesystem::path &path, std::string_view bytes, const AppendFaults &faults = {});

// One change the files layer makes on the disk, in the order made: the steps
// a power cut can leave half done.
struct FileStep {
    enum class Kind {
        Create,     // a new, empty file; its folder entry is saved by SyncFolder
        Write,      // `bytes` written at `offset`
        Truncate,   // the file cut back to `offset` bytes
        Sync,       // the file's bytes and length on stable storage
        SyncFolder, // the entries of the folder of `path` on stable storage
        Remove,     // the file removed
    };
    Kind kind = Kind::Write;
    std::filesystem::path path;
    std::uint64_t offset = 0;
    std::string_view bytes;
};

// Sees each step before it is taken (Create once it is taken); returning true
// makes the step fail as a failing device would, without taking it (Create
// and Remove cannot be made to fail). Tests record the steps to rebuild what
// a crash can leave on the disk, and make a sync fail; the program sets none.
using FileStepWatcher = std::function<bool(const FileStep &step)>;
void setFileStepWatcher(FileStepWatcher watcher);

struct ReadResult {
    FileProblem problem = FileProblem::None;
    std::string bytes;
    Error error;
    std::string reason;
    bool ok() const { return error.empty(); }
};

// Reads a whole regular file (or the file a link points to), refusing files
// larger than `maxBytes` and anything that is not a regular file. Memory
// follows the file's actual size, never `maxBytes`.
ReadResult readWholeFile(const std::filesystem::path &path, std::size_t maxBytes);

// The absolute form of `path` for messages (relative to the working
// directory), in UTF-8.
std::string absolutePath(const std::filesystem::path &path);

// `path` as given (with the system's separators), in UTF-8, for messages. A
// name in another encoding (a folder named in Latin-1 on a UTF-8 system) shows
// its stray bytes as \xFC.
std::string displayPath(const std::filesystem::path &path);

// The folder of the running program, in the system's own form (the bytes of
// the name on POSIX, UTF-16 on Windows). Empty when the system cannot say.
std::filesystem::path programFolder();

// Where the settings file is looked up.
struct SettingsFolder {
    std::filesystem::path path;
    // Beside the program, or (in a macOS application, which an upgrade
    // replaces whole, settings file and all) in the user's Library.
    bool besideProgram = true;
};

// The settings folder of the running program: beside it on Linux and Windows
// and for a macOS program started outside its application bundle; for the
// program inside choicetask.app, ~/Library/Application Support/choicetask.
SettingsFolder settingsFolder();

// Whether the program should run in its study folder rather than in the
// folder it was started in: a macOS application started by Finder or the Dock
// starts in the root folder, where no study runs. From a terminal it runs
// where it is started, as on the other systems.
bool startedAsApplication();

// What the two above decide, for a program at `executable` (in the system's
// form) started in `workingFolder` by a user whose home folder is `home`:
// macOS's rules, here so that any system can check them.
std::optional<std::filesystem::path> applicationBundleOf(const std::filesystem::path &executable);
SettingsFolder settingsFolderFor(const std::filesystem::path &executable, const std::filesystem::path &home);
bool runsInStudyFolder(const std::filesystem::path &executable, const std::filesystem::path &workingFolder);

// Whether the regular file at `path` (or the file a link points to) can be
// opened for reading: opened, not read, and closed again.
FileResult checkReadable(const std::filesystem::path &path);

// Whether new files can be created and written in `folder`: a small file is
// created there, written and removed again. Not ok, with the system's reason,
// when it cannot.
FileResult probeFolder(const std::filesystem::path &folder);

} // namespace ct
