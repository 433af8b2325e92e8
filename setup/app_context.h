#pragma once

#include "platform/files.h"
#include "setup/module1.h"

#include <QString>

#include <functional>

namespace ct {

class Clock;

// Opens the next window of the experiment. Each window, when its work is
// done, asks for the next one and then closes itself.
class WindowFlow {
public:
    virtual ~WindowFlow() = default;
    virtual void openInstructions() = 0;
    virtual void openGame() = 0;
    virtual void openFeedback() = 0;
};

// What the windows share for the life of the process: the experiment state
// and the services of the platform.
struct AppContext {
    Module1 &state;
    Clock &clock;
    WindowFlow &flow;
    // One uniform draw on [0, 1) for assigning the options to the buttons.
    std::function<double()> uniformDraw;
    // The folder of the program, where the settings file lives.
    QString programFolder;
    // Failures tests force on the data file's appends; none in the program.
    AppendFaults appendFaults{};
};

// The names of the files the experiment reads.
inline const QString kInstructionFileName = QStringLiteral("instructions_condition_1.rtf");
inline const QString kSettingsFileName = QStringLiteral("config.ini");

} // namespace ct
