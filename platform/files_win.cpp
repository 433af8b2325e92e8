// The file operations on Windows.
#include "platform/files_system.h"

#include <windows.h>

#include <algorithm>

namespace ct::system_files {
namespace {

HANDLE handleOf(void *handle)
{
    return static_cast<HANDLE>(handle);
}

// The system's text for `error`, in UTF-8 and without the final full stop
// and line end, so that it reads like the POSIX texts.
std::string systemText(DWORD error)
{
    wchar_t *buffer = nullptr;
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                              | FORMAT_MESSAGE_IGNORE_INSERTS,
                                          nullptr, error, 0, reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    std::wstring text = length > 0 && buffer ? std::wstring(buffer, length) : std::wstring();
    if (buffer)
        ::LocalFree(buffer);
    while (!text.empty()
           && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    if (text.empty())
        return "Windows error " + std::to_string(error);
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                           nullptr);
    std::string utf8(static_cast<std::size_t>(std::max(size, 0)), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr, nullptr);
    return utf8;
}

Failure failure(DWORD error)
{
    Failure result;
    result.reason = systemText(error);
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        result.problem = FileProblem::Missing;
    return result;
}

Failure notRegular(const char *reason)
{
    return {FileProblem::NotRegularFile, reason};
}

// Folders cannot be opened as files; they are named as what they are.
Failure openFailure(const std::filesystem::path &path, DWORD error)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return notRegular("Is a directory");
    return failure(error);
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

} // namespace

File::~File()
{
    (void)close();
}

Outcome File::openForReading(const std::filesystem::path &path)
{
    // Opening the client end of a named pipe does not wait: a busy pipe
    // fails at once, a free one is refused by checkRegular.
    const HANDLE handle = ::CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return openFailure(path, ::GetLastError());
    m_handle = handle;
    return std::nullopt;
}

Outcome File::openForAppending(const std::filesystem::path &path, bool &created)
{
    // Append access, plus write access to cut back a partly written line and
    // read access to see whether the last line was left cut.
    const HANDLE handle = ::CreateFileW(path.c_str(),
                                        FILE_APPEND_DATA | FILE_WRITE_DATA | FILE_READ_DATA | FILE_READ_ATTRIBUTES,
                                        kShareAll, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return openFailure(path, ::GetLastError());
    created = ::GetLastError() != ERROR_ALREADY_EXISTS;
    m_handle = handle;
    return std::nullopt;
}

Outcome File::checkRegular(std::uint64_t &size)
{
    switch (::GetFileType(handleOf(m_handle))) {
    case FILE_TYPE_DISK:
        break;
    case FILE_TYPE_PIPE:
        return notRegular("Is a named pipe, not a regular file");
    case FILE_TYPE_CHAR:
        return notRegular("Is a device, not a regular file");
    default:
        return notRegular("Is not a regular file");
    }
    LARGE_INTEGER length{};
    if (!::GetFileSizeEx(handleOf(m_handle), &length))
        return failure(::GetLastError());
    size = static_cast<std::uint64_t>(length.QuadPart);
    return std::nullopt;
}

Outcome File::read(char *buffer, std::size_t count, std::size_t &got)
{
    DWORD n = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
    if (!::ReadFile(handleOf(m_handle), buffer, chunk, &n, nullptr))
        return failure(::GetLastError());
    got = n;
    return std::nullopt;
}

Outcome File::readByteAt(std::uint64_t offset, char &byte)
{
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD n = 0;
    if (!::ReadFile(handleOf(m_handle), &byte, 1, &n, &at))
        return failure(::GetLastError());
    if (n != 1)
        return failure(ERROR_HANDLE_EOF);
    return std::nullopt;
}

Outcome File::write(const char *bytes, std::size_t count, std::size_t &written)
{
    LARGE_INTEGER end{};
    if (!::SetFilePointerEx(handleOf(m_handle), end, nullptr, FILE_END))
        return failure(::GetLastError());
    DWORD n = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
    if (!::WriteFile(handleOf(m_handle), bytes, chunk, &n, nullptr))
        return failure(::GetLastError());
    written = n;
    return std::nullopt;
}

Outcome File::truncate(std::uint64_t length)
{
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(length);
    if (!::SetFilePointerEx(handleOf(m_handle), position, nullptr, FILE_BEGIN) || !::SetEndOfFile(handleOf(m_handle)))
        return failure(::GetLastError());
    return std::nullopt;
}

Outcome File::sync()
{
    if (!::FlushFileBuffers(handleOf(m_handle)))
        return failure(::GetLastError());
    return std::nullopt;
}

Outcome File::close()
{
    if (handleOf(m_handle) == INVALID_HANDLE_VALUE)
        return std::nullopt;
    const HANDLE handle = handleOf(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    if (!::CloseHandle(handle))
        return failure(::GetLastError());
    return std::nullopt;
}

Outcome syncFolderOf(const std::filesystem::path &)
{
    // NTFS records the new folder entry in its journal, which
    // FlushFileBuffers on the file has already written; Windows offers no
    // folder sync to ordinary programs.
    return std::nullopt;
}

void removeFile(const std::filesystem::path &path)
{
    (void)::DeleteFileW(path.c_str());
}

std::filesystem::path executablePath()
{
    // The name in UTF-16, as the system keeps it.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            return std::filesystem::path(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

unsigned long processNumber()
{
    return static_cast<unsigned long>(::GetCurrentProcessId());
}

Failure diskFull()
{
    return failure(ERROR_DISK_FULL);
}

Failure deviceError()
{
    return failure(ERROR_GEN_FAILURE);
}

} // namespace ct::system_files
