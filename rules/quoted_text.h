#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ct {

// Text from outside the program (a typed ID, a line of a settings file) as a
// message quotes it, in double quotes: control characters are written out
// (`\r`, `\n`, `\t`, `\x01`) so that an invisible character is seen, and a
// text longer than `maxCharacters` is cut there and ends with "…", so that a
// message stays readable whatever was typed. UTF-8 in, UTF-8 out; a character
// is never cut in half.
std::string quotedForMessage(std::string_view text, std::size_t maxCharacters = 60);

} // namespace ct
