#pragma once

namespace ct::rtf {

// RTF measures lengths in twips (1/1440 inch). QTextDocument lays out in pixels of
// its paint device; the program shows documents at 96 logical dpi, where 15 twips
// make one pixel, as it does for its windows.
constexpr double kTwipsPerPixel = 15.0;

constexpr double twipsToPixels(int twips)
{
    return twips / kTwipsPerPixel;
}

} // namespace ct::rtf
