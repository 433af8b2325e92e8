#pragma once

// Conversion of Windows code pages as each system provides it:
// code_pages_qt.cpp through Qt's converters (ICU-backed on Linux),
// code_pages_win.cpp through Windows itself.

#include <QByteArrayView>

namespace ct::rtf::system_code_pages {

// True when this system converts the Windows code page `codePage`.
bool converts(int codePage);

// The one character that `bytes` (one byte, or a lead and a trail byte) stand
// for in `codePage`; U+FFFD when they stand for none.
char32_t decodeOne(int codePage, QByteArrayView bytes);

} // namespace ct::rtf::system_code_pages
