#pragma once

#include "rules/points.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace ct {

// Rounds to one decimal the way the game's arithmetic does: the double is
// multiplied by 10, rounded to the nearest integer with an exact half going to
// the even integer, and divided by 10. It works on the double exactly as
// computed, so 3.7499999999999996 becomes 3.7.
double roundToOneDecimal(double value);

// A decimal number as sign, significant digits and the place of the point:
// value = 0.d1 d2 d3 ... x 10^pointPosition. `digits` has neither leading nor
// trailing zeros and is empty for zero (which is never negative).
struct DecimalDigits {
    bool negative = false;
    std::string digits;
    int pointPosition = 0;

    bool isZero() const { return digits.empty(); }
    friend bool operator==(const DecimalDigits &, const DecimalDigits &) = default;
};

// The double rounded to `significantDigits` (1 to 17) significant digits,
// correctly rounded from its exact binary value. Throws std::domain_error for
// values that are not finite.
DecimalDigits toDecimal(double value, int significantDigits = 15);
// The exact decimal value of an amount of points.
DecimalDigits toDecimal(Points value);

// The display patterns "0", "0.0" and "0.00" (decimals = 0, 1, 2): at least one
// digit before the point, exactly `decimals` after it, an exact half rounded
// away from zero, "-" in front of a negative value, no thousands separator.
// A double is first read as its 15-significant-digit decimal, so 1.005 counts
// as the half it was meant to be, not as the binary value just below it.
std::string formatFixed(const DecimalDigits &value, int decimals, std::string_view decimalPoint = ".");
std::string formatFixed(double value, int decimals, std::string_view decimalPoint = ".");
std::string formatFixed(Points value, int decimals, std::string_view decimalPoint = ".");

// The shortest plain decimal text: no thousands separator, no trailing zeros,
// "-" only for a negative value (523, 523.5, 0.25, -60).
std::string plainText(Points value, std::string_view decimalPoint = ".");

// The shortest plain decimal text that reads back as the same double: no
// exponent and no thousands separator, however large or small the number
// ("0.9", "148.8", "150", "0.0000000000000000000000000000000000000001").
// Throws std::domain_error for values that are not finite.
std::string shortestText(double value, std::string_view decimalPoint = ".");

// The form of a number in the data file: the sign place (a space, or "-"),
// then at most 15 significant digits with "." as the point, no trailing zeros
// and no zero before the point: " 150", " .9", " 148.8", "-3".
std::string dataFileNumber(double value);
std::string dataFileNumber(Points value);
std::string dataFileNumber(std::int64_t value);

} // namespace ct
