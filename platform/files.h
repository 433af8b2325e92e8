#pragma once

#include <string>
#include <string_view>

namespace ct {

struct FileResult {
    bool ok = false;
    // The operating-system handle the operation used (for the record only).
    int handle = -1;
    // For the experimenter: which file, where, and what went wrong.
    std::string error;
};

// Appends `bytes` to the file at `path`, creating it when missing and never
// truncating it. The bytes are on stable storage when this returns ok (the
// file is synced, and a newly created file's folder too). On failure the file
// keeps its previous length, so a line is never left half-written.
FileResult appendDurably(const std::string &path, std::string_view bytes);

struct ReadResult {
    bool ok = false;
    std::string bytes;
    std::string error;
};

// Reads a whole file, refusing files larger than `maxBytes`.
ReadResult readWholeFile(const std::string &path, std::size_t maxBytes);

// The absolute form of `path` for messages (relative to the working directory).
std::string absolutePath(const std::string &path);

} // namespace ct
