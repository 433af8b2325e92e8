#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ct {

// What the text typed into the ID box amounts to.
enum class IdStatus {
    Ok,         // a number that rounds into the 16-bit range and is not 0
    Zero,       // the number 0 (0, 0.0, -0): registration quietly does nothing
    NotANumber, // empty, or not a decimal number
    OutOfRange, // a number that rounds outside -32768..32767
};

struct ParticipantId {
    IdStatus status = IdStatus::NotANumber;
    // The ID rounded to the nearest whole number, exact halves to even
    // (2.5 -> 2, 3.5 -> 4); meaningful only when status is Ok.
    std::int16_t id = 0;
};

// Reads an ID as typed: a decimal number with an optional sign, an optional
// decimal point, an optional exponent and surrounding blanks. The zero check is
// made on the number as read, before rounding, so 0.4 is a valid ID that
// rounds to 0.
ParticipantId parseParticipantId(std::string_view text);

// The message for the experimenter when the ID is refused (NotANumber,
// OutOfRange); empty for Ok and Zero.
std::string participantIdProblem(IdStatus status, std::string_view text);

// Which button carries the left option, from one uniform draw on [0, 1):
// true when the draw is below one half.
constexpr bool leftOptionOnLeftFor(double draw)
{
    return draw < 0.5;
}

// One uniform draw on [0, 1) from a generator seeded with the time of day
// (and the date and the system's entropy source, so the seed differs between
// any two runs).
double timeSeededUniformDraw();

} // namespace ct
