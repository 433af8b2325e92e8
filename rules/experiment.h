#pragma once

#include "rules/points.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ct {

// What every part of the experiment shares: how many games it has, the files
// it reads and writes, and the state record that carries a run from window to
// window.

// Games per experiment; the feedback window after the last one shows the
// earnings and ends the program.
inline constexpr int kGamesPerExperiment = 8;
// The most trials a game can have: every choice costs at least one of its 150
// units.
inline constexpr int kMaxTrialsPerGame = 150;

// The instruction file, in the folder the program is started in.
inline constexpr std::string_view kInstructionFileName = "instructions_condition_1.rtf";
// The settings file, in the program's own folder.
inline constexpr std::string_view kSettingsFileName = "config.ini";

// The participant's data file, in the folder the program is started in:
// "7.csv", "-3.csv", "0.csv".
std::string dataFileNameFor(std::int16_t id);
// The first line of every registration in a data file, CR LF included.
inline constexpr std::string_view kHeaderLine = "Trial,Choice,PayOff,winnings,historyLeft,GameUnitsRemaining\r\n";

// The experiment state record: the one set of values that carries an
// experiment run from window to window. Windows pass nothing to each other
// directly; everything that outlives a window lives here.
struct Module1 {
    // Number of the trial about to be played within the current game; set to 1
    // when a game window loads and advanced once per choice.
    std::int16_t trial = 0;
    // Points won so far in the current game; 0 when a game window loads.
    Points winnings;
    // Slot g holds the points of game g (1 to 8); slots 0, 9 and 10 stay empty.
    std::array<std::optional<Points>, 11> gameScores{};
    // The participant's data file: the decimal ID followed by ".csv", relative
    // to the working directory.
    std::string dataFileName;
    // True: the left button carries the left option (5 points); false: the
    // options are swapped between the buttons. Drawn once at registration.
    bool leftOptionOnLeft = false;
    // Sum of the finished games' points; replaced by its money value after the
    // last game.
    double totalEarnings = 0.0;
    // Number of games finished so far.
    std::int16_t gameNumber = 0;
    std::int16_t subjectId = 0;
    // The session record beside the data file ("<ID>.session.csv"), named at
    // registration; empty before it.
    std::string sessionFileName;
    // Which registration of this ID in the folder this run is: 1 for the first.
    std::int16_t registration = 0;
};

// The process-wide instance.
Module1 &module1();

} // namespace ct
