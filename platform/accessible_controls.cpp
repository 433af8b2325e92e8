#include "platform/accessible_controls.h"

#include "platform/controls.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace ct {
namespace {

// A value label reads as static text named after what its value stands for;
// the text it shows is its value, and its description unless it has one of
// its own. Both are read from the label when asked, so they are never stale.
class AccessibleValueLabel : public QAccessibleWidget {
public:
    explicit AccessibleValueLabel(ValueLabel *label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        QString shown = static_cast<const ValueLabel *>(object())->text();
        if (t == QAccessible::Value)
            return shown;
        if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty())
            return shown;
        return QAccessibleWidget::text(t);
    }
};

bool is(const QString &className, const QMetaObject &type)
{
    return className == QLatin1String(type.className());
}

QAccessibleInterface *accessibleControl(const QString &className, QObject *object)
{
    if (is(className, ValueLabel::staticMetaObject))
        return new AccessibleValueLabel(static_cast<ValueLabel *>(object));
    // Pictures, filled shapes and lines have no text: they are graphics,
    // named by what they show.
    if (is(className, PictureBox::staticMetaObject) || is(className, ShapeBox::staticMetaObject)
        || is(className, LineBox::staticMetaObject))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Graphic);
    return nullptr;
}

} // namespace

void installAccessibleControls()
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleControl);
        return true;
    }();
    (void)installed;
}

} // namespace ct
