#pragma once

#include "platform/twips_per_pixel.h"

#include <QRect>

class QFont;
class QWidget;

namespace ct {

// A control's rectangle in twips, relative to its container. Values are kept
// in single precision exactly as the game logic computes them; only the
// display is snapped to whole pixels.
struct TwipsRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;

    friend bool operator==(const TwipsRect &, const TwipsRect &) = default;
};

// The pixel rectangle for a twips rectangle. Each edge is snapped to the
// nearest pixel on its own, so controls that share an edge in twips share it on
// screen (bars that stand on one line keep a common bottom edge).
QRect toPixels(const TwipsRect &rect);

// Places a control and remembers its exact twips rectangle.
void setTwipsGeometry(QWidget *widget, const TwipsRect &rect);
// The rectangle last set by setTwipsGeometry.
TwipsRect twipsGeometry(const QWidget *widget);

// Single-property changes, as the game logic makes them.
void setTwipsLeft(QWidget *widget, float left);
void setTwipsTop(QWidget *widget, float top);
void setTwipsWidth(QWidget *widget, float width);
void setTwipsHeight(QWidget *widget, float height);

// Gives a top-level window a fixed client area of the given size in twips.
void setClientAreaTwips(QWidget *window, int width, int height);

// A font by family, point size and weight. Families missing on this system
// are substituted with metric-alike fonts (see installFonts).
QFont designFont(const char *family, double pointSize, bool bold = false);

} // namespace ct
