#pragma once

namespace ct {

// Window and control geometry is designed in twips (1/1440 inch). Fifteen
// twips make one device-independent pixel, so Qt's own scaling takes care of
// high-resolution screens.
inline constexpr double kTwipsPerPixel = 15.0;

} // namespace ct
