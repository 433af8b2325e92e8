#pragma once

#include "platform/error.h"

#include <cstddef>
#include <filesystem>
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

// Appends `bytes` to the regular file at `path`, creating it when missing and
// never truncating it. The bytes are on stable storage when this returns ok
// (the file is synced, and a newly created file's folder too). When a write
// fails the file is cut back to its previous length, so a line is never left
// half-written.
FileResult appendDurably(const std::filesystem::path &path, std::string_view bytes, const AppendFaults &faults = {});

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

// `path` as given, in UTF-8, for messages.
std::string displayPath(const std::filesystem::path &path);

} // namespace ct
