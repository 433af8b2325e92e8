#include "app/run.h"

#include "app/options.h"
#include "app/study_folder.h"
#include "assets/pictures.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "platform/program.h"
#include "rules/setup/participant_id.h"
#include "windows/language.h"
#include "windows/window_flow.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QIcon>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace ct {
namespace {

// Without a display Qt would fail with a message about platform plugins;
// say plainly what is wrong instead.
const char *environment(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value ? value : nullptr;
}

// Only X11 and Wayland systems need a display named in the environment;
// Windows and macOS always have their own.
bool hasDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return environment("QT_QPA_PLATFORM") || environment("DISPLAY") || environment("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

// What to do without a screen of one's own: the windows need a desktop that
// someone sees, so never a virtual display nobody can look at.
constexpr const char
    *kNoDesktopHint = "The windows need a graphical desktop that someone can see: start choicetask from\n"
                      "a terminal on the lab computer's desktop, or on a remote desktop connected to it\n"
                      "(VNC, RDP or X2Go, for example). To try the experiment's files without a screen,\n"
                      "choicetask-simulate plays whole sessions with a scripted participant and writes\n"
                      "the data files the program would (choicetask-simulate --help).\n";

// A display that is named but cannot be opened (the X server gone, no
// permission) makes Qt abort while the application is set up. Until the
// application stands, a fatal message ends the program with the plain
// no-display report and status instead.
QtMessageHandler g_qtMessageHandler = nullptr;

void settingUpMessageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg) {
        g_qtMessageHandler(type, context, message);
        return;
    }
    const char *display = environment("WAYLAND_DISPLAY") ? environment("WAYLAND_DISPLAY") : environment("DISPLAY");
    std::fprintf(stderr, "choicetask: the display %s could not be opened.\n%s", display ? display : "(none)",
                 kNoDesktopHint);
    std::_Exit(2);
}

// Losing the display later (the X server ended, the session logged out) makes
// Qt warn and end the program with status 1. The experimenter gets the
// program's own report instead, naming the data file and how far it got, and
// the status for display problems. Every trial is already on disk.
bool isLostDisplay(QtMsgType type, const QString &message)
{
    return type == QtWarningMsg
           && (message.startsWith(QLatin1String("The X11 connection broke"))
               || message.startsWith(QLatin1String("The Wayland connection broke")));
}

bool gameWindowOpen()
{
    const auto windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [](const QWidget *window) {
        return window->objectName() == QLatin1String("frmTesting2") && window->isVisible();
    });
}

std::string progressReport(const Module1 &state, bool inGame)
{
    if (state.dataFileName.empty())
        return "No participant had been registered.";
    std::string upTo;
    if (inGame && state.trial > 1)
        upTo = "up to game " + std::to_string(state.gameNumber + 1) + ", trial " + std::to_string(state.trial - 1);
    else if (state.gameNumber > 0)
        upTo = "up to the end of game " + std::to_string(state.gameNumber);
    else
        upTo = "none yet: no trial had been played";
    return "The data file \"" + state.dataFileName + "\" (" + absolutePath(state.dataFileName)
           + ") holds every trial played, " + upTo + ".";
}

void runningMessageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!isLostDisplay(type, message)) {
        g_qtMessageHandler(type, context, message);
        return;
    }
    const char *display = environment("WAYLAND_DISPLAY") ? environment("WAYLAND_DISPLAY") : environment("DISPLAY");
    std::fprintf(stderr, "choicetask: the display %s was lost, so the program has to stop.\n%s\n",
                 display ? display : "(none)", progressReport(module1(), gameWindowOpen()).c_str());
    std::_Exit(2);
}

// Reports the first paint of a window, once the paint has completed.
class FirstPaint final : public QObject {
public:
    FirstPaint(QWidget *window, std::function<void(QWidget *)> callback)
        : QObject(window), m_window(window), m_callback(std::move(callback))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Paint && !m_reported) {
            m_reported = true;
            QTimer::singleShot(0, m_window, [this] { m_callback(m_window); });
        }
        return false;
    }

private:
    QWidget *m_window;
    std::function<void(QWidget *)> m_callback;
    bool m_reported = false;
};

} // namespace

int run(int argc, char *argv[], const std::function<void(QWidget *)> &registrationShown)
{
    // --help and --version print and end, display or not.
    if (asksForHelpOrVersion(argc, argv)) {
        QStringList arguments;
        for (int i = 1; i < argc; ++i)
            arguments.append(QString::fromLocal8Bit(argv[i]));
        const Options options = parseOptions(arguments);
        if (options.help)
            std::fputs(qUtf8Printable(usageText(builtInLanguages())), stdout);
        else
            std::puts("choicetask " CHOICETASK_VERSION);
        return 0;
    }
    if (!hasDisplay()) {
        std::fprintf(stderr, "choicetask: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n%s",
                     kNoDesktopHint);
        return 2;
    }
    g_qtMessageHandler = qInstallMessageHandler(settingUpMessageHandler);
    QApplication app(argc, argv);
    qInstallMessageHandler(runningMessageHandler);
    QApplication::setWindowIcon(QIcon(QString::fromLatin1(pictures::kIcon)));
    installFonts();

    // Qt has taken out its own options; the rest are the program's. A wrong
    // one is reported like any command's, before a window opens.
    const Options options = parseOptions(QCoreApplication::arguments().mid(1));
    if (!options.problem.isEmpty()) {
        std::fprintf(stderr, "choicetask: %s\n\n%s", qUtf8Printable(options.problem),
                     qUtf8Printable(usageText(builtInLanguages())));
        return 2;
    }
    // A macOS application started by Finder or the Dock runs in the study
    // folder, as the menu entry does on Linux.
    if (options.studyFolder || startedAsApplication()) {
        const QString folder = defaultStudyFolder();
        QString problem = prepareStudyFolder(folder);
        if (problem.isEmpty() && !QDir::setCurrent(folder))
            problem = QStringLiteral("The program could not change to the study folder %1.")
                          .arg(QDir::toNativeSeparators(folder));
        if (!problem.isEmpty()) {
            fatalError(nullptr, problem);
            return 1;
        }
    }
    const QString languageProblem = useLanguage(options.language, QStringLiteral("."));
    if (!languageProblem.isEmpty()) {
        fatalError(nullptr, languageProblem);
        return 1;
    }

    // The folder's name as the system has it, not as a QString decoded it.
    const SettingsFolder settings = settingsFolder();
    std::filesystem::path folder = settings.path;
    if (folder.empty())
        folder = QDir(QCoreApplication::applicationDirPath()).filesystemAbsolutePath();
    if (!settings.besideProgram) {
        if (const QString problem = prepareSettingsFolder(QDir(folder).absolutePath()); !problem.isEmpty()) {
            fatalError(nullptr, problem);
            return 1;
        }
    }
    Experiment experiment(module1(), systemClock(), timeSeededUniformDraw, folder);
    experiment.context().settingsFolderRole = folderRoleOf(settings);
    QWidget *registration = experiment.start();
    if (!registration)
        return 1;
    if (registrationShown)
        new FirstPaint(registration, registrationShown);
    return QApplication::exec();
}

} // namespace ct
