#include "app/experiment.h"

#include "feedback/frmFeedback1.h"
#include "feedback/settings_file.h"
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
    // A missing or unusable input file must stop the program before a
    // participant is registered, not after the first game.
    QString problem = missingInputProblem(m_context.programFolder);
    if (problem.isEmpty()) {
        const SettingsRead settings = ReadSettingsFile(m_context.programFolder);
        if (!settings.ok())
            problem = settings.error + QStringLiteral("\n\nNo participant has been registered.");
    }
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

void Experiment::openFeedback()
{
    auto *window = new frmFeedback1(m_context);
    if (!window->loaded()) {
        delete window; // the program has been stopped
        return;
    }
    window->show();
}

} // namespace ct
