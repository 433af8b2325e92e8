#include "windows/window_flow.h"

#include "platform/program.h"
#include "rtf/rtf_reader.h"
#include "rules/feedback/settings_file.h"
#include "rules/setup/preflight.h"
#include "windows/feedback/frmFeedback1.h"
#include "windows/game/frmTesting2.h"
#include "windows/rich_text_box.h"
#include "windows/session_log.h"
#include "windows/setup/frmInstructions.h"
#include "windows/setup/frmSubjects.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QEventLoop>
#include <QPointer>
#include <QTextDocument>
#include <QThread>

#include <atomic>

namespace ct {
namespace {

// The context of the flow's own messages in the translations.
constexpr const char *kContext = "ct::Experiment";

} // namespace

struct Experiment::InstructionCheck {
    QString path;
    QPointer<QWidget> registration;
    std::atomic_bool stop{false};
    QThread *thread = nullptr;
    bool finished = false;
    // Written by the reading thread, read once it has finished.
    std::unique_ptr<QTextDocument> document;
    std::string sha256;
    Error error;
};

Experiment::Experiment(Module1 &state, Clock &clock, std::function<double()> uniformDraw,
                       std::filesystem::path programFolder)
    : m_context{state, clock, *this, std::move(uniformDraw), std::move(programFolder)}
{
    recordStoppingErrors(m_context);
}

Experiment::~Experiment()
{
    if (m_check && m_check->thread) {
        m_check->stop = true;
        m_check->thread->wait();
        delete m_check->thread;
    }
    setFatalErrorListener({});
}

// A missing or unusable input file must stop the program before a participant
// is registered, not after the registration or the first game. The settings
// file is read here (and again at every feedback window); the instruction file
// is read once, in the background, and shown from what was read.
QWidget *Experiment::start()
{
    const QString missing = QString::fromStdString(
        missingInputProblem(m_context.programFolder, m_context.settingsFolderRole).message);
    if (!missing.isEmpty()) {
        fatalError(nullptr, missing);
        return nullptr;
    }
    const SettingsRead settings = ReadSettingsFile(m_context.programFolder, QLocale(), m_context.settingsFolderRole);
    if (!settings.ok()) {
        fatalError(nullptr, kContext, QT_TRANSLATE_NOOP("ct::Experiment", "%1\n\nNo participant has been registered."),
                   QString::fromStdString(settings.error.message));
        return nullptr;
    }
    auto *window = new frmSubjects(m_context);
    startInstructionCheck(window);
    window->show();
    return window;
}

void Experiment::startInstructionCheck(QWidget *registration)
{
    m_check = std::make_unique<InstructionCheck>();
    InstructionCheck *check = m_check.get();
    // By its name alone: the system finds it in the working folder, whatever
    // that folder is named (messages give the full path).
    check->path = QString::fromLatin1(kInstructionFileName);
    check->registration = registration;
    QThread *mainThread = QThread::currentThread();
    check->thread = QThread::create([check, mainThread, before = m_beforeCheck] {
        if (before)
            before();
        // The bytes are read once: the ones hashed are the ones shown.
        QByteArray bytes;
        check->error = rtf::readFileBytes(check->path, bytes);
        if (!check->error.empty())
            return;
        check->sha256 = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().toStdString();
        RichTextBox::Loaded loaded = RichTextBox::read(bytes, check->path, &check->stop);
        check->error = loaded.error;
        check->document = std::move(loaded.document);
        if (check->document)
            check->document->moveToThread(mainThread);
    });
    // Runs in this thread once the reading thread has ended.
    QObject::connect(check->thread, &QThread::finished, check->thread, [this] { instructionCheckEnded(); });
    check->thread->start();
}

bool Experiment::instructionCheckFinished() const
{
    return !m_check || m_check->finished;
}

void Experiment::instructionCheckEnded()
{
    InstructionCheck &check = *m_check;
    check.thread->wait();
    check.finished = true;
    if (m_waiting)
        m_waiting->quit();
    if (check.error.empty()) {
        m_context.instructionsSha256 = check.sha256;
        return;
    }
    fatalError(check.registration, kContext,
               QT_TRANSLATE_NOOP("ct::Experiment",
                                 "The instruction file cannot be shown.\n\n%1\n\nNo participant has been registered."),
               QString::fromStdString(check.error.message));
}

bool Experiment::instructionsReady(QWidget *window)
{
    if (!m_check)
        return true;
    if (!m_check->finished) {
        // The participant pressed Run before a large file was read: the
        // window waits, taking no second press.
        QEventLoop loop;
        m_waiting = &loop;
        window->setEnabled(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        loop.exec();
        QApplication::restoreOverrideCursor();
        window->setEnabled(true);
        m_waiting = nullptr;
    }
    return m_check->error.empty();
}

void Experiment::openInstructions()
{
    auto *window = new frmInstructions(m_context);
    if (!window->Form_Load(m_check ? std::move(m_check->document) : nullptr)) {
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
