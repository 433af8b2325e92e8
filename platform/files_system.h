#pragma once

// The few file operations each system provides in its own way, used by the
// common read and append logic in files.cpp. files_posix.cpp implements them
// for Linux and macOS, files_win.cpp for Windows.

#include "platform/files.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace ct::system_files {

// A failure as the system reports it: its text, and what it means.
struct Failure {
    FileProblem problem = FileProblem::Other;
    std::string reason;
};
using Outcome = std::optional<Failure>; // empty: it worked

class File {
public:
    File() = default;
    ~File();
    File(const File &) = delete;
    File &operator=(const File &) = delete;

    // Opens an existing file for reading, without waiting for anything (a
    // named pipe with no writer is reported, not waited on).
    Outcome openForReading(const std::filesystem::path &path);
    // Opens for appending, creating the file when missing; `created` says
    // whether it did. Never waits.
    Outcome openForAppending(const std::filesystem::path &path, bool &created);
    // A failure unless the open file is a regular file; `size` is its length.
    Outcome checkRegular(std::uint64_t &size);
    // Reads up to `count` bytes; `got` is 0 at the end of the file.
    Outcome read(char *buffer, std::size_t count, std::size_t &got);
    // Reads the byte at `offset` of a file opened for appending.
    Outcome readByteAt(std::uint64_t offset, char &byte);
    // Writes at the end of the file; `written` may be less than `count`.
    Outcome write(const char *bytes, std::size_t count, std::size_t &written);
    // Cuts the file back to `length` bytes.
    Outcome truncate(std::uint64_t length);
    // Waits until the file's data is on stable storage.
    Outcome sync();
    // Closes the file; it is closed even when this reports a failure.
    Outcome close();

private:
#ifdef _WIN32
    void *m_handle = reinterpret_cast<void *>(static_cast<std::intptr_t>(-1));
#else
    int m_fd = -1;
#endif
};

// Saves the folder entry of a newly created file.
Outcome syncFolderOf(const std::filesystem::path &path);
// Removes a file this program has just created.
void removeFile(const std::filesystem::path &path);
// The running program's own file, in the system's form; empty if unknown.
std::filesystem::path executablePath();
#ifndef _WIN32
// The user's home folder ($HOME, else the password database's); empty if unknown.
std::filesystem::path homeFolder();
#endif
// A number that differs between processes, for names of scratch files.
unsigned long processNumber();
// The system's own failures that tests force through AppendFaults.
Failure diskFull();
Failure deviceError();

} // namespace ct::system_files
