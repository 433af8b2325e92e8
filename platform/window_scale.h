#pragma once

class QTextDocument;
class QWidget;

namespace ct {

// Windows are designed at a fixed size. One that does not fit the area its
// screen leaves for windows (at a high display scaling, on a small screen) is
// scaled down as a whole: every control's place and size, every font and the
// pictures by the same factor, so that the layout and its proportions stay and
// every control is on the screen. A window that fits keeps its design size
// exactly.

// The factor the window of `widget` is scaled by: 1 for a window at its design
// size, less than 1 for one scaled down.
double windowScale(const QWidget *widget);

// Scales `window` (a top-level window set up with setUpWindow) down so that,
// with its frame, it fits the available area of its screen; a window that
// fits is left at its design size. The frame is taken as the window system
// reports it, or allowed for when it does not know it yet (before the window
// is first shown). Never makes a window larger than its current scale.
// Returns true when the window was scaled now.
bool fitToScreen(QWidget *window);

// Scales `window` by `factor` from its design size (1 restores it). Controls
// placed with setTwipsGeometry take their scaled rectangle; fonts set on a
// control or the window are scaled; rich-text documents shown in the window
// are scaled with their text.
void scaleWindow(QWidget *window, double factor);

// Scales a rich-text document to `factor` of the size it was made at: font
// sizes, indents, spacing, tab stops, table and picture sizes. Calling it again
// with another factor scales from the original size, not from the last one.
void scaleDocument(QTextDocument &document, double factor);

} // namespace ct
