#include "platform/twips.h"

#include <QFont>
#include <QVariant>
#include <QWidget>

#include <cmath>

namespace ct {
namespace {

constexpr char kProperty[] = "ct_twips";

int toPixel(double twips)
{
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

} // namespace

QRect toPixels(const TwipsRect &rect)
{
    const int left = toPixel(rect.left);
    const int top = toPixel(rect.top);
    const int right = toPixel(static_cast<double>(rect.left) + static_cast<double>(rect.width));
    const int bottom = toPixel(static_cast<double>(rect.top) + static_cast<double>(rect.height));
    return QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

void setTwipsGeometry(QWidget *widget, const TwipsRect &rect)
{
    widget->setProperty(kProperty, QVariant::fromValue(QRectF(rect.left, rect.top, rect.width, rect.height)));
    widget->setGeometry(toPixels(rect));
}

TwipsRect twipsGeometry(const QWidget *widget)
{
    const QVariant stored = widget->property(kProperty);
    if (!stored.isValid()) {
        const QRect g = widget->geometry();
        const auto t = [](int pixels) { return static_cast<float>(pixels * kTwipsPerPixel); };
        return {t(g.x()), t(g.y()), t(g.width()), t(g.height())};
    }
    const QRectF r = stored.toRectF();
    return {static_cast<float>(r.x()), static_cast<float>(r.y()), static_cast<float>(r.width()),
            static_cast<float>(r.height())};
}

void setTwipsLeft(QWidget *widget, float left)
{
    TwipsRect r = twipsGeometry(widget);
    r.left = left;
    setTwipsGeometry(widget, r);
}

void setTwipsTop(QWidget *widget, float top)
{
    TwipsRect r = twipsGeometry(widget);
    r.top = top;
    setTwipsGeometry(widget, r);
}

void setTwipsWidth(QWidget *widget, float width)
{
    TwipsRect r = twipsGeometry(widget);
    r.width = width;
    setTwipsGeometry(widget, r);
}

void setTwipsHeight(QWidget *widget, float height)
{
    TwipsRect r = twipsGeometry(widget);
    r.height = height;
    setTwipsGeometry(widget, r);
}

void setClientAreaTwips(QWidget *window, int width, int height)
{
    window->setFixedSize(toPixel(width), toPixel(height));
}

QFont designFont(const char *family, double pointSize, bool bold)
{
    QFont font(QString::fromLatin1(family));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace ct
