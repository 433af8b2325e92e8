#include "platform/twips.h"

#include "platform/window_scale.h"

#include <QFont>
#include <QVariant>
#include <QWidget>

#include <cmath>

namespace ct {
namespace {

constexpr char kProperty[] = "ct_twips";
constexpr char kClientProperty[] = "ct_client_twips";

int toPixel(double twips, double scale = 1.0, int grid = 1)
{
    return grid * static_cast<int>(std::lround(twips * scale / kTwipsPerPixel / grid));
}

} // namespace

int pixelGrid(double devicePixelRatio)
{
    for (int grid = 1; grid <= 2; ++grid) {
        const double devicePixels = grid * devicePixelRatio;
        if (std::abs(devicePixels - std::round(devicePixels)) < 1e-3)
            return grid;
    }
    return 1;
}

QRect toPixels(const TwipsRect &rect, double scale, double devicePixelRatio)
{
    const int left = toPixel(rect.left, scale);
    const int top = toPixel(rect.top, scale);
    const int right = toPixel(static_cast<double>(rect.left) + static_cast<double>(rect.width), scale);
    const int bottom = toPixel(static_cast<double>(rect.top) + static_cast<double>(rect.height), scale);
    int width = std::max(0, right - left);
    int height = std::max(0, bottom - top);
    // Scaled down, a line one pixel thick stays one pixel thick.
    if (scale < 1.0) {
        width = std::max(width, rect.width > 0 ? 1 : 0);
        height = std::max(height, rect.height > 0 ? 1 : 0);
    }
    // On whole screen pixels: the corner to the nearest, the size up to the
    // next, so that no control loses room for its text.
    const int grid = pixelGrid(devicePixelRatio);
    if (grid > 1) {
        const auto roundUp = [grid](int pixels) { return (pixels + grid - 1) / grid * grid; };
        return QRect(toPixel(rect.left, scale, grid), toPixel(rect.top, scale, grid), roundUp(width), roundUp(height));
    }
    return QRect(left, top, width, height);
}

void setTwipsGeometry(QWidget *widget, const TwipsRect &rect)
{
    widget->setProperty(kProperty, QVariant::fromValue(QRectF(rect.left, rect.top, rect.width, rect.height)));
    widget->setGeometry(toPixels(rect, windowScale(widget), widget->devicePixelRatioF()));
}

bool hasTwipsGeometry(const QWidget *widget)
{
    return widget->property(kProperty).isValid();
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

namespace {
void setOne(QWidget *widget, float TwipsRect::*field, float value)
{
    TwipsRect r = twipsGeometry(widget);
    r.*field = value;
    setTwipsGeometry(widget, r);
}
} // namespace

void setTwipsLeft(QWidget *widget, float left)
{
    setOne(widget, &TwipsRect::left, left);
}

void setTwipsTop(QWidget *widget, float top)
{
    setOne(widget, &TwipsRect::top, top);
}

void setTwipsWidth(QWidget *widget, float width)
{
    setOne(widget, &TwipsRect::width, width);
}

void setTwipsHeight(QWidget *widget, float height)
{
    setOne(widget, &TwipsRect::height, height);
}

void setClientAreaTwips(QWidget *window, int width, int height)
{
    window->setProperty(kClientProperty, QSize(width, height));
    const double scale = windowScale(window);
    window->setFixedSize(toPixel(width, scale), toPixel(height, scale));
}

QSize clientAreaTwips(const QWidget *window)
{
    const QVariant stored = window->property(kClientProperty);
    return stored.isValid() ? stored.toSize() : QSize();
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
