#pragma once

#include "rtf/control_words.h"
#include "rtf/tokenizer.h"

#include <string_view>

namespace ct::rtf {

class Picture;

// The reader of one kind of group: the document's text, the font table, a picture...
// The interpreter keeps the group stack and hands each token to the destination of
// the group it appears in; a destination names the one a group switches to through
// ReaderContext::open(). Destinations keep what they read; groups nested in a
// destination share its reader, so a reader also sees the ends of inner groups.
class Destination {
public:
    virtual ~Destination() = default;

    // A group has just switched to this destination.
    virtual void start() {}
    virtual void word(Word word, const Token &token)
    {
        (void)word;
        (void)token;
    }
    // Plain text, or one byte written as \'hh when `escaped`.
    virtual void bytes(std::string_view bytes, bool escaped)
    {
        (void)bytes;
        (void)escaped;
    }
    virtual void unicode(char32_t character) { (void)character; }
    // \\ \{ \} \~ \- \_ and '\n' for a backslash before a line end.
    virtual void symbol(char symbol) { (void)symbol; }
    virtual void binary(std::string_view bytes) { (void)bytes; }
    // A picture read in a group inside this destination.
    virtual void picture(const Picture &picture) { (void)picture; }
    // A group read by this destination is about to close.
    virtual void groupEnd() {}
    // The group that switched to this destination has closed; the state is the
    // enclosing group's again.
    virtual void finish() {}
    // Whether this is the document's own text: a file may end here, but not inside
    // a table or picture (it was cut short).
    virtual bool showsText() const { return false; }
};

} // namespace ct::rtf
