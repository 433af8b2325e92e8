#include "windows/window_flow.h"

#include "platform/program.h"
#include "platform/rich_text_box.h"
#include "rules/feedback/settings_file.h"
#include "rules/setup/preflight.h"
#include "windows/feedback/frmFeedback1.h"
#include "windows/game/frmTesting2.h"
#include "windows/session_log.h"
#include "windows/setup/frmInstructions.h"
#include "windows/setup/frmSubjects.h"

#include <QTextDocument>

namespace ct {

Experiment::Experiment(Module1 &state, Clock &clock, std::function<double()> uniformDraw,
                       std::filesystem::path programFolder)
    : m_context{state, clock, *this, std::move(uniformDraw), std::move(programFolder)}
{
    recordStoppingErrors(m_context);
}

Experiment::~Experiment()
{
    setFatalErrorListener({});
}

// A missing or unusable input file must stop the program before a participant
// is registered, not after the registration or the first game. The instruction
// file is read once, here, and shown from what was read; the settings file is
// read again at every feedback window.
QWidget *Experiment::start()
{
    QString problem = QString::fromStdString(missingInputProblem(m_context.programFolder).message);
    if (problem.isEmpty()) {
        const SettingsRead settings = ReadSettingsFile(m_context.programFolder);
        if (!settings.ok()) {
            problem = QString::fromStdString(settings.error.message);
        } else {
            RichTextBox::Loaded instructions = RichTextBox::readFile(QString::fromLatin1(kInstructionFileName));
            m_instructions = std::move(instructions.document);
            if (!m_instructions)
                problem = QStringLiteral("The instruction file cannot be shown.\n\n%1")
                              .arg(QString::fromStdString(instructions.error.message));
        }
        if (!problem.isEmpty())
            problem += QStringLiteral("\n\nNo participant has been registered.");
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
    if (!window->Form_Load(std::move(m_instructions))) {
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
