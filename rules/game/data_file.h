#pragma once

#include "platform/error.h"
#include "rules/points.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ct {

// Data files are a few hundred kilobytes at most; readers refuse anything
// beyond this.
inline constexpr std::size_t kMaxDataFileBytes = 256u * 1024u * 1024u;

// A participant's data file read back: the registrations it holds (each
// starting with a header line) and, within each, the games (the Trial column
// starting again at 1).
struct RecordedTrial {
    int line = 0; // 1-based line number in the file
    int trial = 0;
    int choice = 0;
    Points payoff;
    Points winnings;
    double historyLeft = 0;
    double unitsBefore = 0;
};

struct RecordedGame {
    std::vector<RecordedTrial> trials;
    // True when the last trial used up the game's units.
    bool complete = false;
    Points points() const { return trials.empty() ? Points{} : trials.back().winnings; }
};

struct Registration {
    int headerLine = 0;
    std::vector<RecordedGame> games;
};

struct DataFile {
    std::vector<Registration> registrations;
    // The line ends were LF alone, not the CR LF the program writes.
    bool lineFeedsOnly = false;
};

struct DataFileResult {
    DataFile file;
    // For a refused file: what is wrong with it, and on which line.
    Error error;
    bool ok() const { return error.empty(); }
};

// Reads the bytes of a data file. Every line must end with CR LF (or every
// line with LF alone, for a file whose line ends were converted) and be either
// the header line or a data line in the program's own form, and every game
// must replay through the payoff schedule to exactly the numbers recorded: a
// file that was edited, truncated mid-line or mixed up is refused with the
// first line that does not fit. The last game of a registration may be
// incomplete (the program was ended during it).
DataFileResult readDataFile(std::string_view bytes);

} // namespace ct
