#include "windows/game/activation_watch.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace ct {
namespace {

// The program's own windows, as opposed to message boxes, dialogs, tool tips
// and menus.
bool isProgramWindow(const QWidget *widget)
{
    return widget->isWindow() && widget->windowType() == Qt::Window;
}

} // namespace

ActivationWatch::ActivationWatch(QWidget *window) : QObject(window), m_window(window)
{
    if (QWidget *active = QApplication::activeWindow(); active && isProgramWindow(active))
        m_lastActive = active;
    // Activation goes to whichever window the focus moves to, so the watch
    // has to see every window's, not only its own.
    qApp->installEventFilter(this);
}

void ActivationWatch::markActive()
{
    m_lastActive = m_window;
}

bool ActivationWatch::eventFilter(QObject *watched, QEvent *event)
{
    // Leaving for another application activates nothing here, so the last
    // program window stays recorded while the program is in the background.
    if (event->type() != QEvent::WindowActivate || !watched->isWidgetType())
        return false;
    const auto *widget = static_cast<const QWidget *>(watched);
    if (!isProgramWindow(widget))
        return false;
    const bool fromAnotherWindow = m_lastActive && m_lastActive != m_window;
    m_lastActive = widget;
    if (widget == m_window && fromAnotherWindow)
        emit activatedFromProgramWindow();
    return false;
}

} // namespace ct
