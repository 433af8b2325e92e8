#include "platform/form.h"

#include "platform/controls.h"

namespace ct {

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
