// Code pages through Windows itself: Qt for Windows converts none but its own
// system code page.
#include "rtf/code_pages_system.h"

#include <windows.h>

namespace ct::rtf::system_code_pages {

bool converts(int codePage)
{
    return ::IsValidCodePage(static_cast<UINT>(codePage)) != 0;
}

char32_t decodeOne(int codePage, QByteArrayView bytes)
{
    wchar_t text[4] = {};
    const int length = ::MultiByteToWideChar(static_cast<UINT>(codePage), MB_ERR_INVALID_CHARS, bytes.data(),
                                             static_cast<int>(bytes.size()), text, 4);
    if (length == 1 && (text[0] < 0xD800 || text[0] > 0xDFFF))
        return text[0];
    if (length == 2 && IS_SURROGATE_PAIR(text[0], text[1]))
        return 0x10000 + ((char32_t(text[0]) - 0xD800) << 10) + (char32_t(text[1]) - 0xDC00);
    return 0xFFFD;
}

} // namespace ct::rtf::system_code_pages
