#pragma once

#include "platform/twips_per_pixel.h"

namespace ct::rtf {

// RTF measures lengths in twips (1/1440 inch). QTextDocument lays out in pixels of
// its paint device; the program shows documents at 96 logical dpi, where 15 twips
// make one pixel, as it does for its windows.
using ct::kTwipsPerPixel;

// Lengths beyond a 22-inch page are nonsense; clamping them keeps the layout sane.
constexpr int kMaxTwips = 31680;

constexpr double twipsToPixels(int twips)
{
    return twips / kTwipsPerPixel;
}

} // namespace ct::rtf
