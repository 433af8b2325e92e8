#include "app/experiment.h"
#include "assets/pictures.h"
#include "platform/clock.h"
#include "platform/fonts.h"
#include "setup/participant_id.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <cstdlib>

namespace {

// Without a display Qt would fail with a message about platform plugins;
// say plainly what is wrong instead.
bool hasDisplay()
{
    const char *platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform)
        return true;
    const char *x11 = std::getenv("DISPLAY");
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

} // namespace

int main(int argc, char *argv[])
{
    if (!hasDisplay()) {
        std::fputs("choicetask: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                   "Start it from a desktop session, or try it on a virtual display:\n"
                   "    xvfb-run -a choicetask\n",
                   stderr);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QString::fromLatin1(ct::pictures::kIcon)));
    ct::installFonts();

    ct::Experiment experiment(ct::module1(), ct::systemClock(), ct::timeSeededUniformDraw,
                              QCoreApplication::applicationDirPath());
    if (!experiment.start())
        return 1;
    return QApplication::exec();
}
