#pragma once

namespace ct {

// The Windows Western code page 1252, byte by byte, as Windows itself decodes
// it (MultiByteToWideChar): bytes below 0x80 are ASCII, 0xA0 to 0xFF are
// Latin-1, 0x80 to 0x9F hold the euro sign, curly quotes, dashes and a few
// letters. The five bytes the code page leaves unassigned (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) become the C1 control characters of the same number (U+0081...),
// so every byte stands for exactly one character and nothing is lost.
char16_t cp1252ToUnicode(unsigned char byte);

} // namespace ct
