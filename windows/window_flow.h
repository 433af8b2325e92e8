#pragma once

#include "platform/files.h"
#include "rules/experiment.h"

#include <QString>

#include <filesystem>
#include <functional>
#include <memory>

class QTextDocument;
class QWidget;

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
    // The folder of the program, where the settings file lives, as the
    // system names it.
    std::filesystem::path programFolder;
    // Failures tests force on the data file's appends; none in the program.
    AppendFaults appendFaults{};
};

// The experiment run: owns the services the windows share and opens each
// window when the previous one asks for it.
class Experiment final : public WindowFlow {
public:
    Experiment(Module1 &state, Clock &clock, std::function<double()> uniformDraw, std::filesystem::path programFolder);
    ~Experiment() override;
    Experiment(const Experiment &) = delete;
    Experiment &operator=(const Experiment &) = delete;

    AppContext &context() { return m_context; }

    // Checks the input files and opens the registration window. Returns the
    // window, or nullptr when the program has been stopped instead.
    QWidget *start();

    void openInstructions() override;
    void openGame() override;
    void openFeedback() override;

private:
    AppContext m_context;
    // The instructions as the start check read them, shown by the
    // instructions window without reading the file again.
    std::unique_ptr<QTextDocument> m_instructions;
};

} // namespace ct
