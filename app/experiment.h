#pragma once

#include "setup/app_context.h"

class QWidget;

namespace ct {

// The experiment run: owns the services the windows share and opens each
// window when the previous one asks for it.
class Experiment final : public WindowFlow {
public:
    Experiment(Module1 &state, Clock &clock, std::function<double()> uniformDraw, QString programFolder);

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
};

} // namespace ct
