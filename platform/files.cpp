#include "platform/files.h"

#include "platform/files_system.h"

#include <algorithm>
#include <system_error>

namespace ct {
namespace {

using system_files::Failure;
using system_files::Outcome;

std::string describe(const std::string &action, const std::filesystem::path &path, const std::string &reason)
{
    return "Could not " + action + " the file \"" + displayPath(path) + "\" (" + absolutePath(path) + "): " + reason
           + ".";
}

std::string tooLarge(const std::filesystem::path &path, std::size_t maxBytes)
{
    return "The file \"" + displayPath(path) + "\" (" + absolutePath(path) + ") is too large (more than "
           + std::to_string(maxBytes) + " bytes).";
}

template <typename Result>
Result failed(const std::string &action, const std::filesystem::path &path, const Failure &failure)
{
    Result result;
    result.problem = failure.problem;
    result.error.message = describe(action, path, failure.reason);
    result.reason = failure.reason;
    return result;
}

} // namespace

std::string displayPath(const std::filesystem::path &path)
{
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::string absolutePath(const std::filesystem::path &path)
{
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    return error ? displayPath(path) : displayPath(absolute.lexically_normal());
}

FileResult appendDurably(const std::filesystem::path &path, std::string_view bytes, const AppendFaults &faults)
{
    system_files::File file;
    bool created = false;
    if (const auto failure = file.openForAppending(path, created))
        return failed<FileResult>("open", path, *failure);

    std::uint64_t startLength = 0;
    if (const auto failure = file.checkRegular(startLength))
        return failed<FileResult>("write to", path, *failure);
    auto fail = [&](const std::string &action, const Failure &failure) {
        // Take back a partial write so that no half line stays in the file,
        // and do not leave behind a file this call created.
        (void)file.truncate(startLength);
        (void)file.close();
        if (created)
            system_files::removeFile(path);
        return failed<FileResult>(action, path, failure);
    };

    std::size_t written = 0;
    while (written < bytes.size()) {
        const std::size_t room = faults.bytesBeforeDiskFull > written ? faults.bytesBeforeDiskFull - written : 0;
        const std::size_t allowed = std::min(bytes.size() - written, room);
        if (allowed == 0)
            return fail("write to", system_files::diskFull());
        std::size_t n = 0;
        if (const auto failure = file.write(bytes.data() + written, allowed, n))
            return fail("write to", *failure);
        written += n;
    }
    if (const auto failure = file.sync())
        return fail("save", *failure);

    // From here on the bytes are on the disk: a failure now is reported as
    // what it is, not as lost data.
    FileResult result;
    result.bytesSaved = true;
    Outcome closed = file.close();
    if (!closed && faults.closeFails)
        closed = system_files::deviceError();
    if (closed) {
        result.problem = closed->problem;
        result.error.message = describe("close", path, closed->reason);
        result.reason = closed->reason;
        return result;
    }
    if (created) {
        Outcome folder = system_files::syncFolderOf(path);
        if (!folder && faults.folderSyncFails)
            folder = system_files::deviceError();
        if (folder) {
            result.problem = folder->problem;
            result.error.message = describe("save the folder entry of", path, folder->reason);
            result.reason = folder->reason;
            return result;
        }
    }
    return result;
}

ReadResult readWholeFile(const std::filesystem::path &path, std::size_t maxBytes)
{
    system_files::File file;
    if (const auto failure = file.openForReading(path))
        return failed<ReadResult>("open", path, *failure);
    std::uint64_t size = 0;
    if (const auto failure = file.checkRegular(size))
        return failed<ReadResult>("read", path, *failure);

    ReadResult result;
    auto refuseTooLarge = [&] {
        ReadResult refused;
        refused.problem = FileProblem::TooLarge;
        refused.error.message = tooLarge(path, maxBytes);
        refused.reason = "more than " + std::to_string(maxBytes) + " bytes";
        return refused;
    };
    if (size > maxBytes)
        return refuseTooLarge();
    // Room for the whole file and one byte more, which shows the end (or that
    // the file grew past the limit while it was read).
    const std::size_t limit = maxBytes == static_cast<std::size_t>(-1) ? maxBytes : maxBytes + 1;
    std::size_t filled = 0;
    result.bytes.resize(static_cast<std::size_t>(size) + (size < limit ? 1 : 0));
    for (;;) {
        if (filled == result.bytes.size()) {
            if (filled >= limit)
                return refuseTooLarge();
            result.bytes.resize(std::min(limit, std::max(filled * 2, filled + 65536)));
        }
        std::size_t got = 0;
        if (const auto failure = file.read(result.bytes.data() + filled, result.bytes.size() - filled, got))
            return failed<ReadResult>("read", path, *failure);
        if (got == 0)
            break;
        filled += got;
    }
    if (filled > maxBytes)
        return refuseTooLarge();
    result.bytes.resize(filled);
    return result;
}

} // namespace ct
