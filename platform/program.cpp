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

void stop(QWidget *parent, const QString &english, const QString &shown)
{
    std::fprintf(stderr, "choicetask: %s\n", qUtf8Printable(english));
    if (fatalErrorListener())
        fatalErrorListener()(english);
    MessageBox::stop(parent, kProgramTitle, shown);
    endProgram(1);
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
    stop(parent, message, message);
}

void fatalError(QWidget *parent, const char *context, const char *source, const QString &first, const QString &second)
{
    const auto filled = [&](const QString &text) {
        return second.isNull() ? text.arg(first) : text.arg(first, second);
    };
    stop(parent, filled(QString::fromUtf8(source)), filled(QCoreApplication::translate(context, source)));
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
