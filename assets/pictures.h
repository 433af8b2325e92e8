#pragma once

#include <QStringList>

#include <array>
#include <span>

// The program's pictures, compiled into the binary by ct_assets. Load them by
// these paths (QPixmap, QImage, QIcon); they do not depend on the working
// directory and need no Q_INIT_RESOURCE.
namespace ct::pictures {

inline constexpr char kIcon[] = ":/pictures/icon.png";                    // 32 x 32, window icon
inline constexpr char kDot[] = ":/pictures/dot.png";                      // 15 x 15
inline constexpr char kMoverClosed[] = ":/pictures/mover_closed.png";     // 108 x 100
inline constexpr char kMoverOpen[] = ":/pictures/mover_open.png";         // 108 x 100, mouth to the right
inline constexpr char kFaceSurprised[] = ":/pictures/face_surprised.png"; // 69 x 66
inline constexpr char kFaceWretched[] = ":/pictures/face_wretched.png";   // 259 x 233
inline constexpr char kFaceNeutral[] = ":/pictures/face_neutral.png";     // 250 x 249
inline constexpr char kFaceHappy[] = ":/pictures/face_happy.png";         // 180 x 177

inline constexpr std::array<const char *, 8> kAll = {
    kIcon, kDot, kMoverClosed, kMoverOpen, kFaceSurprised, kFaceWretched, kFaceNeutral, kFaceHappy,
};

// The paths among `paths` that do not load as an image; empty when all do.
// Lets the program refuse to start with a clear message rather than show
// blank pictures.
QStringList missing(std::span<const char *const> paths = kAll);

} // namespace ct::pictures
