#include "app/run.h"

#include "assets/pictures.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "rules/setup/participant_id.h"
#include "windows/window_flow.h"

#include <QApplication>
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

bool hasDisplay()
{
    return environment("QT_QPA_PLATFORM") || environment("DISPLAY") || environment("WAYLAND_DISPLAY");
}

constexpr const char *kVirtualDisplayHint = "Start it from a desktop session, or try it on a virtual display:\n"
                                            "    xvfb-run -a choicetask\n";

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
                 kVirtualDisplayHint);
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
    if (!hasDisplay()) {
        std::fprintf(stderr, "choicetask: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n%s",
                     kVirtualDisplayHint);
        return 2;
    }
    g_qtMessageHandler = qInstallMessageHandler(settingUpMessageHandler);
    QApplication app(argc, argv);
    qInstallMessageHandler(runningMessageHandler);
    QApplication::setWindowIcon(QIcon(QString::fromLatin1(pictures::kIcon)));
    installFonts();

    Experiment experiment(module1(), systemClock(), timeSeededUniformDraw, QCoreApplication::applicationDirPath());
    QWidget *registration = experiment.start();
    if (!registration)
        return 1;
    if (registrationShown)
        new FirstPaint(registration, registrationShown);
    return QApplication::exec();
}

} // namespace ct
