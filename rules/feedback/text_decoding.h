#pragma once

#include <QByteArrayView>
#include <QString>

namespace ct {

// Text written by hand on the lab computer: bytes that are valid UTF-8 are read
// as UTF-8 (plain ASCII included); anything else is taken to be in the Windows
// Western code page 1252, which is what an older editor saves. Every byte then
// stands for one character, so no text is ever refused or lost.
QString decodeUtf8OrWindows1252(QByteArrayView bytes);

// Code page 1252 alone, as Windows decodes it (see platform/cp1252.h).
QString decodeWindows1252(QByteArrayView bytes);

} // namespace ct
