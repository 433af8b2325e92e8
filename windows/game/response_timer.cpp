#include "windows/game/response_timer.h"

#include "platform/clock.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>

namespace ct {

ResponseTimer::ResponseTimer(Clock &clock, QWidget *window, QAbstractButton *left, QAbstractButton *right)
    : QObject(window), m_clock(clock), m_window(window), m_left(left), m_right(right)
{
    window->installEventFilter(this);
    left->installEventFilter(this);
    right->installEventFilter(this);
}

void ResponseTimer::buttonsShown()
{
    m_armed = true;
    m_onset = m_clock.seconds();
    m_pressed = nullptr;
}

std::optional<double> ResponseTimer::onset() const
{
    return m_onset;
}

ResponseTimer::Press ResponseTimer::press(const QAbstractButton *clicked) const
{
    if (clicked == m_pressed)
        return {m_pressedAt, m_pressedBy};
    return {m_clock.seconds(), "other"};
}

std::optional<double> ResponseTimer::responseMs(const QAbstractButton *clicked) const
{
    if (!m_onset)
        return std::nullopt;
    return (press(clicked).at - *m_onset) * 1000.0;
}

void ResponseTimer::stamp(double when)
{
    m_armed = false;
    m_onset = when;
    emit painted(when);
}

bool ResponseTimer::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == m_window) {
        if (type != QEvent::UpdateRequest || !m_armed || m_inRepaint)
            return false;
        // Run the repaint pass here, so that the time is taken once the
        // window system has the new picture. QObject::event is public.
        m_inRepaint = true;
        m_paintedInRepaint = false;
        static_cast<QObject *>(m_window)->event(event);
        m_inRepaint = false;
        if (m_paintedInRepaint)
            stamp(m_clock.seconds());
        return true;
    }
    const bool isButton = watched == m_left || watched == m_right;
    if (!isButton)
        return false;
    if (type == QEvent::Paint && m_armed) {
        if (m_inRepaint)
            m_paintedInRepaint = true;
        else
            stamp(m_clock.seconds());
    } else if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick
               || (type == QEvent::KeyPress && !static_cast<QKeyEvent *>(event)->isAutoRepeat())) {
        // A press soon after another one at the same place (a click in the
        // pause, then one on the button come back) arrives as a double click.
        m_pressed = static_cast<const QAbstractButton *>(watched);
        m_pressedAt = m_clock.seconds();
        m_pressedBy = type == QEvent::KeyPress ? "keyboard" : "mouse";
    }
    return false;
}

} // namespace ct
