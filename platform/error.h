#pragma once

#include <string>

namespace ct {

// Why something could not be done: the message for the experimenter, in
// UTF-8, and the 1-based line of the file it is about (0 when it is not about
// a line). Empty when nothing went wrong. Every reader and writer below the
// windows reports its failures with it; a window shows the message as plain
// text.
struct Error {
    std::string message;
    int line = 0;

    bool empty() const { return message.empty(); }
    friend bool operator==(const Error &, const Error &) = default;
};

} // namespace ct
