#include "app/run.h"

#include "app/experiment.h"
#include "assets/pictures.h"
#include "platform/clock.h"
#include "platform/fonts.h"
#include "setup/participant_id.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace ct {
namespace {

// Without a display Qt would fail with a message about platform plugins;
// say plainly what is wrong instead.
bool hasDisplay()
{
    const auto set = [](const char *name) {
        const char *value = std::getenv(name);
        return value && *value;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
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
        std::fputs("choicetask: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                   "Start it from a desktop session, or try it on a virtual display:\n"
                   "    xvfb-run -a choicetask\n",
                   stderr);
        return 2;
    }
    QApplication app(argc, argv);
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
