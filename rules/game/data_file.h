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
    // Above 1 when the file was started again in the middle of a game (it was
    // deleted or moved away while the program ran, and the program began a
    // new one with a header line): the first game begins with this trial, and
    // its earlier trials, with everything written before them, are not in
    // the file.
    int restartedAtTrial = 0;
};

// A line that a crash (a power cut) cut off while it was written, or left
// with NUL bytes where the disk never received the data. The program ends
// such a line before it appends again; readers skip it.
struct CutLine {
    int line = 0;
    std::string bytes; // as found, without the line end added after it
    bool nulBytes = false;
};

struct DataFile {
    std::vector<Registration> registrations;
    // The line ends were LF alone, not the CR LF the program writes.
    bool lineFeedsOnly = false;
    std::vector<CutLine> cutLines;
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
// file that was edited or mixed up is refused with the first line that does
// not fit. The last game of a registration may be incomplete (the program was
// ended during it).
//
// What a crash leaves is read: a line cut off (the start of a header or data
// line, without its line end or ended by the next run) or holding NUL bytes
// is listed in `cutLines` and skipped; only a new registration's header can
// follow it. A first registration whose game starts after trial 1 is read as
// a file started again mid-game: its numbers are checked as far as the lost
// trials allow (the share of left choices must fit some choices before).
DataFileResult readDataFile(std::string_view bytes);

} // namespace ct
