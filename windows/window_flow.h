#pragma once

#include "platform/files.h"
#include "rules/experiment.h"
#include "rules/feedback/settings_file.h"

#include <QString>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

class QEventLoop;
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
    // Called before a participant is registered: waits, with `window`
    // disabled, for the check of the instruction file when it has not
    // finished yet. False once the program has been stopped because the file
    // cannot be shown.
    virtual bool instructionsReady(QWidget *window)
    {
        (void)window;
        return true;
    }
};

// What the windows share for the life of the process: the experiment state
// and the services of the platform.
struct AppContext {
    Module1 &state;
    Clock &clock;
    WindowFlow &flow;
    // One uniform draw on [0, 1) for assigning the options to the buttons.
    std::function<double()> uniformDraw;
    // The folder the settings file is read from (beside the program but for
    // a macOS application), as the system names it, and how messages name it.
    std::filesystem::path programFolder;
    // Failures tests force on the data file's appends; none in the program.
    AppendFaults appendFaults{};
    // The SHA-256 (hex) of the instruction file's bytes as they were read,
    // checked and shown; empty until then.
    std::string instructionsSha256{};
    QString settingsFolderRole = kProgramFolderRole;
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

    // Checks that the input files are there and usable and opens the
    // registration window. Returns the window, or nullptr when the program has
    // been stopped instead. The instruction file is read and checked in the
    // background meanwhile: it may be large, and the window appears at once.
    QWidget *start();
    // Whether the background check of the instruction file has ended.
    bool instructionCheckFinished() const;
    // Tests: runs in the checking thread before it reads the file.
    void setBeforeInstructionCheck(std::function<void()> hook) { m_beforeCheck = std::move(hook); }

    void openInstructions() override;
    void openGame() override;
    void openFeedback() override;
    bool instructionsReady(QWidget *window) override;

private:
    struct InstructionCheck;
    void startInstructionCheck(QWidget *registration);
    void instructionCheckEnded();

    AppContext m_context;
    // The instruction file read once, in the background: its bytes hashed,
    // read as rich text, and the document shown by the instructions window.
    std::unique_ptr<InstructionCheck> m_check;
    QEventLoop *m_waiting = nullptr;
    std::function<void()> m_beforeCheck;
};

} // namespace ct
