#include "rules/quoted_text.h"

namespace ct {
namespace {

void appendVisible(std::string &out, unsigned char byte)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    switch (byte) {
    case '\r':
        out += "\\r";
        return;
    case '\n':
        out += "\\n";
        return;
    case '\t':
        out += "\\t";
        return;
    default:
        break;
    }
    if (byte < 0x20 || byte == 0x7F) {
        out += "\\x";
        out += kHex[byte >> 4];
        out += kHex[byte & 0xF];
        return;
    }
    out += static_cast<char>(byte);
}

} // namespace

std::string quotedForMessage(std::string_view text, std::size_t maxCharacters)
{
    std::string out = "\"";
    std::size_t characters = 0;
    std::size_t following = 0; // continuation bytes since the character began
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        // A continuation byte carries on the character, unless there is none
        // or it already has three (text that is not UTF-8): then it counts.
        const bool starts = (byte & 0xC0) != 0x80 || characters == 0 || following == 3;
        following = starts ? 0 : following + 1;
        if (starts && ++characters > maxCharacters) {
            out += "\xE2\x80\xA6"; // …
            break;
        }
        appendVisible(out, byte);
    }
    return out + "\"";
}

} // namespace ct
