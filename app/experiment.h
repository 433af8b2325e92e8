#pragma once

#include "setup/app_context.h"

#include <memory>

class QTextDocument;
class QWidget;

namespace ct {

// The experiment run: owns the services the windows share and opens each
// window when the previous one asks for it.
class Experiment final : public WindowFlow {
public:
    Experiment(Module1 &state, Clock &clock, std::function<double()> uniformDraw, QString programFolder);
    ~Experiment() override;

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
