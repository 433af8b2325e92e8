#include "windows/window_flow.h"

#include "platform/program.h"
#include "rtf/rtf_reader.h"
#include "rules/feedback/settings_file.h"
#include "rules/setup/preflight.h"
#include "windows/feedback/frmFeedback1.h"
#include "windows/game/frmTesting2.h"
#include "windows/session_log.h"
#include "windows/setup/frmInstructions.h"
#include "windows/setup/frmSubjects.h"

#include <QDir>
#include <QTextDocument>

namespace ct {

Experiment::Experiment(Module1 &state, Clock &clock, std::function<double()> uniformDraw, QString programFolder)
    : m_context{state, clock, *this, std::move(uniformDraw), std::move(programFolder)}
{
    recordStoppingErrors(m_context);
}

Experiment::~Experiment()
{
    setFatalErrorListener({});
}

namespace {

// A missing or unusable input file must stop the program before a participant
// is registered, not after the registration or the first game. The windows
// still read the files themselves when they need them.
QString unusableInputProblem(const QString &programFolder)
{
    const QString missing = missingInputProblem(programFolder);
    if (!missing.isEmpty())
        return missing;
    QString problem;
    const SettingsRead settings = ReadSettingsFile(programFolder);
    if (!settings.ok()) {
        problem = settings.error;
    } else {
        QTextDocument instructions;
        QString error;
        if (!rtf::readFile(QDir::current().absoluteFilePath(QString::fromLatin1(kInstructionFileName)), instructions, &error))
            problem = QStringLiteral("The instruction file cannot be shown.\n\n%1").arg(error);
    }
    if (problem.isEmpty())
        return {};
    return problem + QStringLiteral("\n\nNo participant has been registered.");
}

} // namespace

QWidget *Experiment::start()
{
    const QString problem = unusableInputProblem(m_context.programFolder);
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
