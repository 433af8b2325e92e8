#include "app/experiment.h"

#include "game/frmTesting2.h"
#include "platform/program.h"
#include "setup/frmInstructions.h"
#include "setup/frmSubjects.h"
#include "setup/preflight.h"

namespace ct {

Experiment::Experiment(Module1 &state, Clock &clock, std::function<double()> uniformDraw, QString programFolder)
    : m_context{state, clock, *this, std::move(uniformDraw), std::move(programFolder)}
{
}

QWidget *Experiment::start()
{
    const QString problem = missingInputProblem(m_context.programFolder);
    if (!problem.isEmpty()) {
        fatalError(nullptr, problem);
        return nullptr;
    }
    auto *window = new frmSubjects(m_context);
    window->show();
    return window;
}

void Experiment::openInstructions()
{
    auto *window = new frmInstructions(m_context);
    if (!window->Form_Load()) {
        delete window;
        return;
    }
    window->show();
}

void Experiment::openGame()
{
    auto *window = new frmTesting2(m_context);
    window->show();
}

void Experiment::openFeedback() {}

} // namespace ct
