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

// Text from outside the program as it may reach a terminal or a table: every
// control character written out as above (`\x1B`, `\r`, ...), with line
// feeds kept when `keepLineFeeds` is set; the C1 controls U+0080 to U+009F as
// `\u0080` to `\u009F`, and bytes that are not UTF-8 as `\xNN`, since
// terminals act on those too. Nothing is cut.
std::string visibleText(std::string_view text, bool keepLineFeeds = false);

} // namespace ct
