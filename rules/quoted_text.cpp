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

void appendHex(std::string &out, const char *prefix, unsigned value, int digits)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += prefix;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        out += kHex[(value >> shift) & 0xF];
}

// The length of the UTF-8 sequence at the start of `text`, or 0 when it is
// not one (a stray continuation byte, a cut or overlong sequence, a
// surrogate, a value beyond U+10FFFF).
std::size_t utf8Length(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = byte(0);
    std::size_t length = 0;
    unsigned value = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (byte(i) & 0x3F);
    }
    const bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    return overlong || surrogate || value > 0x10FFFF ? 0 : length;
}

} // namespace

std::string visibleText(std::string_view text, bool keepLineFeeds)
{
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const std::size_t length = utf8Length(text);
        const auto lead = static_cast<unsigned char>(text.front());
        if (length == 0) {
            appendHex(out, "\\x", lead, 2);
            text.remove_prefix(1);
            continue;
        }
        if (length == 1) {
            if (lead == '\n' && keepLineFeeds)
                out += '\n';
            else
                appendVisible(out, lead);
        } else if (length == 2 && lead == 0xC2 && static_cast<unsigned char>(text[1]) < 0xA0) {
            appendHex(out, "\\u00", static_cast<unsigned char>(text[1]), 2); // C1 control
        } else {
            out.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    return out;
}

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
