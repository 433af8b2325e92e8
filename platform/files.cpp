#include "platform/files.h"

#include "platform/files_system.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <system_error>
#include <utility>

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

FileStepWatcher &watcher()
{
    static FileStepWatcher installed;
    return installed;
}

// Shows the step to the watcher, then takes it unless the watcher makes it fail.
template <typename Take>
Outcome step(FileStep::Kind kind, const std::filesystem::path &path, Take take, std::uint64_t offset = 0,
             std::string_view bytes = {})
{
    if (watcher() && watcher()(FileStep{kind, path, offset, bytes}))
        return system_files::deviceError();
    return take();
}

void seen(FileStep::Kind kind, const std::filesystem::path &path)
{
    if (watcher())
        (void)watcher()(FileStep{kind, path, 0, {}});
}

void removeCreated(const std::filesystem::path &path)
{
    seen(FileStep::Kind::Remove, path);
    system_files::removeFile(path);
}

// Valid UTF-8 as it stands; control characters and bytes of another
// encoding as \xHH.
std::string visibleUtf8(std::string_view bytes)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x6  ? 2
                                   : (lead >> 4) == 0xE  ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        bool valid = length > 0 && i + length <= bytes.size() && (length < 2 || lead >= 0xC2) && lead <= 0xF4;
        for (std::size_t k = 1; valid && k < length; ++k)
            valid = (static_cast<unsigned char>(bytes[i + k]) & 0xC0) == 0x80;
        if (valid && length == 3) {
            const auto second = static_cast<unsigned char>(bytes[i + 1]);
            valid = !(lead == 0xE0 && second < 0xA0) && !(lead == 0xED && second >= 0xA0);
        }
        if (valid && length == 4) {
            const auto second = static_cast<unsigned char>(bytes[i + 1]);
            valid = !(lead == 0xF0 && second < 0x90) && !(lead == 0xF4 && second >= 0x90);
        }
        if (!valid || lead < 0x20 || lead == 0x7F) {
            out += "\\x";
            out += kHex[lead >> 4];
            out += kHex[lead & 0xF];
            ++i;
            continue;
        }
        out.append(bytes.substr(i, length));
        i += length;
    }
    return out;
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

void setFileStepWatcher(FileStepWatcher installed)
{
    watcher() = std::move(installed);
}

std::string displayPath(const std::filesystem::path &path)
{
#ifdef _WIN32
    // A folder given with forward slashes and a name joined to it would show
    // both separators; Windows users read backslashes.
    const std::u8string text = std::filesystem::path(path).make_preferred().u8string();
    return visibleUtf8(std::string(text.begin(), text.end()));
#else
    return visibleUtf8(path.native());
#endif
}

std::string absolutePath(const std::filesystem::path &path)
{
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    return error ? displayPath(path) : displayPath(absolute.lexically_normal());
}

FileResult appendDurably(const std::filesystem::path &path, std::string_view bytes, const AppendFaults &faults)
{
    using Kind = FileStep::Kind;
    system_files::File file;
    bool created = false;
    if (const auto failure = file.openForAppending(path, created))
        return failed<FileResult>("open", path, *failure);
    if (created)
        seen(Kind::Create, path);

    std::uint64_t startLength = 0;
    if (const auto failure = file.checkRegular(startLength))
        return failed<FileResult>("write to", path, *failure);
    auto fail = [&](const std::string &action, const Failure &failure) {
        // Take back a partial write so that no half line stays in the file,
        // also after a power cut, and do not leave behind a file this call
        // created.
        if (!step(
                Kind::Truncate, path, [&] { return file.truncate(startLength); }, startLength))
            (void)step(Kind::Sync, path, [&] { return file.sync(); });
        (void)file.close();
        if (created)
            removeCreated(path);
        return failed<FileResult>(action, path, failure);
    };

    // A line cut off by a crash is ended before the new lines.
    std::string ended;
    if (startLength > 0) {
        char last = '\n';
        if (const auto failure = file.readByteAt(startLength - 1, last))
            return fail("read", *failure);
        if (last != '\n') {
            ended.reserve(bytes.size() + 2);
            ended = last == '\r' ? "\n" : "\r\n";
            ended += bytes;
            bytes = ended;
        }
    }

    std::size_t written = 0;
    while (written < bytes.size()) {
        const std::size_t room = faults.bytesBeforeDiskFull > written ? faults.bytesBeforeDiskFull - written : 0;
        const std::size_t allowed = std::min(bytes.size() - written, room);
        if (allowed == 0)
            return fail("write to", system_files::diskFull());
        std::size_t n = 0;
        const std::string_view part = bytes.substr(written, allowed);
        if (const auto failure = step(
                Kind::Write, path, [&] { return file.write(part.data(), part.size(), n); }, startLength + written,
                part))
            return fail("write to", *failure);
        written += n;
    }
    if (const auto failure = step(Kind::Sync, path, [&] { return file.sync(); }))
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
        Outcome folder = step(Kind::SyncFolder, path, [&] { return system_files::syncFolderOf(path); });
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

std::filesystem::path programFolder()
{
    return system_files::executablePath().parent_path();
}

std::optional<std::filesystem::path> applicationBundleOf(const std::filesystem::path &executable)
{
    // <name>.app/Contents/MacOS/<program>
    const std::filesystem::path macos = executable.parent_path();
    const std::filesystem::path contents = macos.parent_path();
    const std::filesystem::path bundle = contents.parent_path();
    if (macos.filename() != "MacOS" || contents.filename() != "Contents" || bundle.extension() != ".app")
        return std::nullopt;
    return bundle;
}

SettingsFolder settingsFolderFor(const std::filesystem::path &executable, const std::filesystem::path &home)
{
    if (!applicationBundleOf(executable) || home.empty())
        return {executable.parent_path(), true};
    return {home / "Library" / "Application Support" / "choicetask", false};
}

bool runsInStudyFolder(const std::filesystem::path &executable, const std::filesystem::path &workingFolder)
{
    return applicationBundleOf(executable) && workingFolder == workingFolder.root_path()
           && workingFolder.has_root_directory();
}

SettingsFolder settingsFolder()
{
#if defined(__APPLE__)
    return settingsFolderFor(system_files::executablePath(), system_files::homeFolder());
#else
    return {programFolder(), true};
#endif
}

bool startedAsApplication()
{
#if defined(__APPLE__)
    std::error_code error;
    const std::filesystem::path working = std::filesystem::current_path(error);
    return !error && runsInStudyFolder(system_files::executablePath(), working);
#else
    return false;
#endif
}

FileResult checkReadable(const std::filesystem::path &path)
{
    system_files::File file;
    if (const auto failure = file.openForReading(path))
        return failed<FileResult>("open", path, *failure);
    std::uint64_t size = 0;
    if (const auto failure = file.checkRegular(size))
        return failed<FileResult>("read", path, *failure);
    return {};
}

FileResult probeFolder(const std::filesystem::path &folder)
{
    static std::atomic<unsigned> counter{0};
    const auto stamp = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0;; ++attempt) {
        const std::filesystem::path path = folder
                                           / ("choicetask-write-test-" + std::to_string(system_files::processNumber())
                                              + "-" + std::to_string(stamp % 1000000) + "-"
                                              + std::to_string(counter++));
        system_files::File file;
        bool created = false;
        if (const auto failure = file.openForAppending(path, created))
            return failed<FileResult>("create", path, *failure);
        if (!created) {
            if (attempt < 100)
                continue; // someone else's file: never touched
            return failed<FileResult>("create", path, {FileProblem::Other, "no free name for a test file"});
        }
        std::size_t written = 0;
        Outcome failure = file.write("\r\n", 2, written);
        if (!failure && written != 2)
            failure = system_files::diskFull();
        const Outcome closed = file.close();
        system_files::removeFile(path);
        if (failure || closed)
            return failed<FileResult>("write to", path, failure ? *failure : *closed);
        return {};
    }
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
