#pragma once

#include "platform/twips_per_pixel.h"

#include <QRect>
#include <QSize>

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
// screen (bars that stand on one line keep a common bottom edge). In a window
// scaled down by `scale` (see window_scale.h) the pixels are that much smaller;
// a control that has a size keeps at least one pixel of it. At a
// `devicePixelRatio` of 1.5 (display scaling of 150 %) the corner is snapped to
// whole pixels of the screen (see pixelGrid) and the size rounded up to them: a
// control placed between two of them loses the one-pixel lines of its frame.
QRect toPixels(const TwipsRect &rect, double scale = 1.0, double devicePixelRatio = 1.0);

// The fewest pixels that make a whole number of the screen's pixels at
// `devicePixelRatio`: 2 at 150 % (and 250 %), otherwise 1. At 125 % it would
// take 4, a step that cuts into the captions of narrow controls: there
// controls stay where their twips put them.
int pixelGrid(double devicePixelRatio);

// Places a control and remembers its exact twips rectangle; the control is
// placed at its window's scale.
void setTwipsGeometry(QWidget *widget, const TwipsRect &rect);
// The rectangle last set by setTwipsGeometry.
TwipsRect twipsGeometry(const QWidget *widget);
// True for a control placed by setTwipsGeometry.
bool hasTwipsGeometry(const QWidget *widget);

// Single-property changes, as the game logic makes them.
void setTwipsLeft(QWidget *widget, float left);
void setTwipsTop(QWidget *widget, float top);
void setTwipsWidth(QWidget *widget, float width);
void setTwipsHeight(QWidget *widget, float height);

// Gives a top-level window a fixed client area of the given size in twips, at
// its scale.
void setClientAreaTwips(QWidget *window, int width, int height);
// The client area set by setClientAreaTwips; invalid for other windows.
QSize clientAreaTwips(const QWidget *window);

// A font by family, point size and weight. Families missing on this system
// are substituted with metric-alike fonts (see installFonts).
QFont designFont(const char *family, double pointSize, bool bold = false);

} // namespace ct
