// The file operations on Linux and macOS (and other POSIX systems).
#include "platform/files_system.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#if defined(__APPLE__)
#include <mach-o/dyld.h>
#endif

namespace ct::system_files {
namespace {

Failure failure(int error)
{
    Failure result;
    result.reason = std::strerror(error);
    if (error == ENOENT || error == ENOTDIR)
        result.problem = FileProblem::Missing;
    return result;
}

// What stands at a path that is not a regular file, in the words of the
// system's own "Is a directory".
std::optional<Failure> notRegular(mode_t mode)
{
    if (S_ISREG(mode))
        return std::nullopt;
    Failure result;
    result.problem = FileProblem::NotRegularFile;
    if (S_ISDIR(mode))
        result.reason = std::strerror(EISDIR);
    else if (S_ISFIFO(mode))
        result.reason = "Is a named pipe, not a regular file";
    else if (S_ISSOCK(mode))
        result.reason = "Is a socket, not a regular file";
    else if (S_ISCHR(mode) || S_ISBLK(mode))
        result.reason = "Is a device, not a regular file";
    else
        result.reason = "Is not a regular file";
    return result;
}

// The reason an open failed; a folder, a pipe without a writer or a socket
// make open fail, and are named as what they are.
Failure openFailure(const std::filesystem::path &path, int error)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0)
        if (auto kind = notRegular(info.st_mode))
            return *kind;
    return failure(error);
}

int openRetrying(const char *path, int flags, mode_t mode = 0)
{
    int fd = -1;
    do {
        fd = ::open(path, flags | O_CLOEXEC | O_NONBLOCK, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

} // namespace

File::~File()
{
    (void)close();
}

Outcome File::openForReading(const std::filesystem::path &path)
{
    m_fd = openRetrying(path.c_str(), O_RDONLY);
    if (m_fd < 0)
        return openFailure(path, errno);
    return std::nullopt;
}

Outcome File::openForAppending(const std::filesystem::path &path, bool &created)
{
    for (;;) {
        // Read access too: the last byte tells whether a line was left cut.
        m_fd = openRetrying(path.c_str(), O_RDWR | O_APPEND);
        if (m_fd >= 0) {
            created = false;
            return std::nullopt;
        }
        if (errno != ENOENT)
            return openFailure(path, errno);
        m_fd = openRetrying(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_EXCL, 0644);
        if (m_fd >= 0) {
            created = true;
            return std::nullopt;
        }
        if (errno != EEXIST) // else someone created it meanwhile: open theirs
            return openFailure(path, errno);
    }
}

Outcome File::checkRegular(std::uint64_t &size)
{
    struct stat info {};
    if (::fstat(m_fd, &info) != 0)
        return failure(errno);
    if (auto kind = notRegular(info.st_mode))
        return kind;
    size = static_cast<std::uint64_t>(info.st_size);
    // A regular file: from here on, plain blocking reads and writes.
    const int flags = ::fcntl(m_fd, F_GETFL);
    if (flags >= 0)
        (void)::fcntl(m_fd, F_SETFL, flags & ~O_NONBLOCK);
    return std::nullopt;
}

Outcome File::read(char *buffer, std::size_t count, std::size_t &got)
{
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, count);
        if (n >= 0) {
            got = static_cast<std::size_t>(n);
            return std::nullopt;
        }
        if (errno != EINTR)
            return failure(errno);
    }
}

Outcome File::readByteAt(std::uint64_t offset, char &byte)
{
    for (;;) {
        const ssize_t n = ::pread(m_fd, &byte, 1, static_cast<off_t>(offset));
        if (n == 1)
            return std::nullopt;
        if (n == 0)
            return failure(EIO); // shorter than it was a moment ago
        if (errno != EINTR)
            return failure(errno);
    }
}

Outcome File::write(const char *bytes, std::size_t count, std::size_t &written)
{
    for (;;) {
        const ssize_t n = ::write(m_fd, bytes, count);
        if (n >= 0) {
            written = static_cast<std::size_t>(n);
            return std::nullopt;
        }
        if (errno != EINTR)
            return failure(errno);
    }
}

Outcome File::truncate(std::uint64_t length)
{
    if (::ftruncate(m_fd, static_cast<off_t>(length)) != 0)
        return failure(errno);
    return std::nullopt;
}

Outcome File::sync()
{
#if defined(__APPLE__)
    // macOS: fsync leaves the data in the drive's cache; F_FULLFSYNC does
    // not. Some file systems (network shares) refuse it; fsync is then the
    // best there is.
    if (::fcntl(m_fd, F_FULLFSYNC) == 0 || ::fsync(m_fd) == 0)
        return std::nullopt;
#elif defined(__linux__)
    if (::fdatasync(m_fd) == 0)
        return std::nullopt;
#else
    if (::fsync(m_fd) == 0)
        return std::nullopt;
#endif
    return failure(errno);
}

Outcome File::close()
{
    if (m_fd < 0)
        return std::nullopt;
    const int fd = m_fd;
    m_fd = -1;
    // After close, even a failed one, the descriptor is gone: never retried.
    if (::close(fd) != 0 && errno != EINTR)
        return failure(errno);
    return std::nullopt;
}

Outcome syncFolderOf(const std::filesystem::path &path)
{
    std::filesystem::path folder = path.parent_path();
    if (folder.empty())
        folder = ".";
    const int fd = openRetrying(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return failure(errno);
#if defined(__APPLE__)
    const bool synced = ::fcntl(fd, F_FULLFSYNC) == 0 || ::fsync(fd) == 0;
#else
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL; // some file systems cannot sync folders
#endif
    const int error = errno;
    ::close(fd);
    if (!synced)
        return failure(error);
    return std::nullopt;
}

void removeFile(const std::filesystem::path &path)
{
    (void)::unlink(path.c_str());
}

std::filesystem::path executablePath()
{
#if defined(__APPLE__)
    std::uint32_t size = 0;
    (void)_NSGetExecutablePath(nullptr, &size);
    std::vector<char> buffer(size + 1, '\0');
    if (_NSGetExecutablePath(buffer.data(), &size) != 0)
        return {};
    char *resolved = ::realpath(buffer.data(), nullptr);
    if (!resolved)
        return {};
    std::filesystem::path path(resolved);
    std::free(resolved);
    return path;
#else
    // The bytes of the name as they are, whatever their encoding.
    std::vector<char> buffer(PATH_MAX);
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0)
            return {};
        if (static_cast<std::size_t>(n) < buffer.size())
            return std::filesystem::path(std::string(buffer.data(), static_cast<std::size_t>(n)));
        buffer.resize(buffer.size() * 2);
    }
#endif
}

std::filesystem::path homeFolder()
{
    if (const char *home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd *entry = ::getpwuid(::getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return {};
}

unsigned long processNumber()
{
    return static_cast<unsigned long>(::getpid());
}

Failure diskFull()
{
    return failure(ENOSPC);
}

Failure deviceError()
{
    return failure(EIO);
}

} // namespace ct::system_files
