#include "platform/files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ct {
namespace {

std::string describe(const std::string &action, const std::string &path, int error)
{
    return "Could not " + action + " the file \"" + path + "\" (" + absolutePath(path) + "): " + std::strerror(error) + ".";
}

// Opens with retries on EINTR.
int openRetrying(const char *path, int flags, mode_t mode = 0)
{
    int fd = -1;
    do {
        fd = ::open(path, flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool syncFolderOf(const std::string &path)
{
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty())
        folder = ".";
    const int fd = openRetrying(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL; // some filesystems cannot sync folders
    ::close(fd);
    return synced;
}

} // namespace

std::string absolutePath(const std::string &path)
{
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

FileResult appendDurably(const std::string &path, std::string_view bytes)
{
    FileResult result;
    struct stat before {};
    const bool existed = ::stat(path.c_str(), &before) == 0;

    const int fd = openRetrying(path.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0644);
    if (fd < 0) {
        result.error = describe("open", path, errno);
        return result;
    }
    result.handle = fd;

    struct stat opened {};
    const off_t startLength = ::fstat(fd, &opened) == 0 ? opened.st_size : -1;

    auto fail = [&](const std::string &action, int error) {
        // Take back a partial write so that no half line stays in the file.
        if (startLength >= 0)
            (void)::ftruncate(fd, startLength);
        ::close(fd);
        result.error = describe(action, path, error);
        return result;
    };

    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail("write to", errno);
        }
        written += static_cast<std::size_t>(n);
    }
    if (::fdatasync(fd) != 0)
        return fail("save", errno);
    if (::close(fd) != 0) {
        result.error = describe("close", path, errno);
        return result;
    }
    if (!existed && !syncFolderOf(path)) {
        result.error = describe("save the folder entry of", path, errno);
        return result;
    }
    result.ok = true;
    return result;
}

ReadResult readWholeFile(const std::string &path, std::size_t maxBytes)
{
    ReadResult result;
    const int fd = openRetrying(path.c_str(), O_RDONLY);
    if (fd < 0) {
        result.error = describe("open", path, errno);
        return result;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        result.error = describe("read", path, EISDIR);
        return result;
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            result.error = describe("read", path, error);
            return result;
        }
        if (n == 0)
            break;
        if (result.bytes.size() + static_cast<std::size_t>(n) > maxBytes) {
            ::close(fd);
            result.error = "The file \"" + path + "\" (" + absolutePath(path) + ") is too large ("
                           + "more than " + std::to_string(maxBytes) + " bytes).";
            result.bytes.clear();
            return result;
        }
        result.bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    result.ok = true;
    return result;
}

} // namespace ct
