#pragma once

namespace ct {

// Tells Qt's accessibility layer what the program's own controls are, so that
// screen readers and interface automation meet pictures, shapes and lines as
// graphics (not as empty client areas) and value labels with their value.
// Every such control installs this on construction; calling it again does
// nothing.
void installAccessibleControls();

} // namespace ct
