#include "game/frmTesting2.h"

#include "platform/controls.h"
#include "setup/app_context.h"

namespace ct {

frmTesting2::frmTesting2(AppContext &context, QWidget *parent) : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmTesting2"));
    setUpWindow(this, QStringLiteral("Game"), 9885, 6600, designFont("MS Sans Serif", 24), QPalette::Button);
}

} // namespace ct
