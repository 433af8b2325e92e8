#pragma once

namespace ct {

// The windows are designed in "MS Sans Serif", "System" and "Verdana". Where a
// family is missing, the metric-alike free fonts that ship inside the program
// (Liberation Sans, DejaVu Sans) stand in, so the layouts fit as designed.
// Call once after the application object exists.
void installFonts();

} // namespace ct
