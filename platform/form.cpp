#include "platform/form.h"

#include "platform/controls.h"
#include "platform/window_scale.h"

namespace ct {

void Form::setVisible(bool visible)
{
    // Before the first showing, so that every control has its final size
    // before it is shown.
    if (visible && !m_fitted) {
        m_fitted = true;
        fitToScreen(this);
    }
    QWidget::setVisible(visible);
}

void Form::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    // Once shown the window system may report a frame larger than allowed
    // for, or the window may have gone to a smaller screen.
    if (m_shown && fitToScreen(this))
        centreOnScreen(this);
}

void Form::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    centreOnScreen(this);
    firstShown();
}

} // namespace ct
