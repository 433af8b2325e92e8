#include "platform/program.h"

#include "platform/message_box.h"

#include <QApplication>
#include <QThread>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace ct {
namespace {

std::function<void(int)> &endHook()
{
    static std::function<void(int)> hook;
    return hook;
}

std::function<void()> &beepHook()
{
    static std::function<void()> hook;
    return hook;
}

std::function<void(const QString &)> &fatalErrorListener()
{
    static std::function<void(const QString &)> listener;
    return listener;
}

} // namespace

void setFatalErrorListener(std::function<void(const QString &)> listener)
{
    fatalErrorListener() = std::move(listener);
}

void setEndProgramHook(std::function<void(int)> hook)
{
    endHook() = std::move(hook);
}

void setBeepHook(std::function<void()> hook)
{
    beepHook() = std::move(hook);
}

void endProgram(int exitStatus)
{
    if (endHook()) {
        endHook()(exitStatus);
        return;
    }
    std::fflush(nullptr);
    if (QCoreApplication::instance() && QThread::currentThread()->loopLevel() > 0) {
        // Take every window off the screen now; the event loop ends before it
        // handles anything else, so no close handler runs.
        for (QWidget *window : QApplication::topLevelWidgets())
            window->hide();
        QCoreApplication::exit(exitStatus);
        return;
    }
    std::exit(exitStatus);
}

void fatalError(QWidget *parent, const QString &message)
{
    std::fprintf(stderr, "choicetask: %s\n", qUtf8Printable(message));
    if (fatalErrorListener())
        fatalErrorListener()(message);
    MessageBox::stop(parent, kProgramTitle, message);
    endProgram(1);
}

void beep()
{
    if (beepHook()) {
        beepHook()();
        return;
    }
    QApplication::beep();
}

} // namespace ct
