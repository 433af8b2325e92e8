// The program itself, ending as soon as its registration window has first been
// painted. Prints the monotonic time of that moment (nanoseconds) and the
// resident memory then (kilobytes).
// With --run first, it then types participant 1, presses Run and ends once the
// instruction box has first been painted, printing also the nanoseconds from
// the press to that moment. --run=MS presses Run MS milliseconds after the
// registration window was painted (a participant typing), not at once.
#include "app/run.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

long long monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    return -1;
}

// Waits for the first paint of the instruction box's text, paints it and ends.
class InstructionsPainted : public QObject {
public:
    InstructionsPainted(long long shown, long rss) : m_shown(shown), m_rss(rss) {}
    long long pressed = 0;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (event->type() != QEvent::Paint || !widget || !widget->window()->inherits("ct::frmInstructions")
            || !qobject_cast<QAbstractScrollArea *>(widget->parentWidget()))
            return false;
        qApp->removeEventFilter(this);
        QCoreApplication::sendEvent(widget, event);
        std::printf("%lld %ld %lld\n", m_shown, m_rss, monotonicNanoseconds() - pressed);
        std::fflush(stdout);
        std::_Exit(0);
    }

private:
    long long m_shown;
    long m_rss;
};

} // namespace

int main(int argc, char *argv[])
{
    const bool pressRun = argc > 1 && std::strncmp(argv[1], "--run", 5) == 0;
    const int delay = pressRun && argv[1][5] == '=' ? std::atoi(argv[1] + 6) : 0;
    if (pressRun) {
        argv[1] = argv[0];
        --argc;
        ++argv;
    }
    return ct::run(argc, argv, [pressRun, delay](QWidget *registration) {
        const long long shown = monotonicNanoseconds();
        const long rss = residentKilobytes();
        if (!pressRun) {
            std::printf("%lld %ld\n", shown, rss);
            std::fflush(stdout);
            std::_Exit(0);
        }
        auto *watcher = new InstructionsPainted(shown, rss);
        qApp->installEventFilter(watcher);
        registration->findChild<QLineEdit *>()->setText(QStringLiteral("1"));
        QTimer::singleShot(delay, registration, [registration, watcher] {
            watcher->pressed = monotonicNanoseconds();
            registration->findChild<QPushButton *>()->click();
        });
    });
}
