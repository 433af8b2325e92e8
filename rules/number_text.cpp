#include "rules/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <system_error>

namespace ct {
namespace {

void normalise(DecimalDigits &d)
{
    const auto first = d.digits.find_first_not_of('0');
    if (first == std::string::npos) {
        d = DecimalDigits{};
        return;
    }
    d.digits.erase(0, first);
    d.pointPosition -= static_cast<int>(first);
    d.digits.erase(d.digits.find_last_not_of('0') + 1);
}

std::string digitsFromUnsigned(std::uint64_t value)
{
    std::array<char, 24> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    if (result.ec != std::errc())
        throw std::length_error("number text longer than its buffer");
    return std::string(buffer.data(), result.ptr);
}

// Writes the digits of |value| with the point placed; a value below 1 gets a
// zero before the point only when `zeroBeforePoint` is set.
std::string placePoint(const DecimalDigits &value, bool zeroBeforePoint, std::string_view decimalPoint)
{
    if (value.isZero())
        return "0";
    const int count = static_cast<int>(value.digits.size());
    const int before = value.pointPosition;
    std::string text;
    if (before <= 0) {
        if (zeroBeforePoint)
            text += '0';
        text += decimalPoint;
        text.append(static_cast<std::size_t>(-before), '0');
        text += value.digits;
    } else if (before >= count) {
        text = value.digits;
        text.append(static_cast<std::size_t>(before - count), '0');
    } else {
        text = value.digits.substr(0, static_cast<std::size_t>(before));
        text += decimalPoint;
        text += value.digits.substr(static_cast<std::size_t>(before));
    }
    return text;
}

// The digits of a finite double written in scientific form, with `precision`
// digits after the first one, or the fewest that read back as the same
// double when `precision` is empty.
DecimalDigits fromScientific(double value, std::optional<int> precision)
{
    DecimalDigits d;
    if (value == 0.0)
        return d;
    std::array<char, 64> buffer{};
    const auto result = precision ? std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                                  std::chars_format::scientific, *precision)
                                  : std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                                  std::chars_format::scientific);
    if (result.ec != std::errc())
        throw std::length_error("number text longer than its buffer");
    // Form: d[.ddd]e(+|-)xx
    const std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
    const auto e = text.find('e');
    for (char c : text.substr(0, e))
        if (c != '.')
            d.digits += c;
    int exponent = 0;
    const std::string_view exponentText = text.substr(e + 1);
    const char *begin = exponentText.data() + (exponentText.front() == '+' ? 1 : 0);
    std::from_chars(begin, exponentText.data() + exponentText.size(), exponent);
    d.pointPosition = exponent + 1;
    d.negative = value < 0;
    normalise(d);
    return d;
}

} // namespace

double roundToOneDecimal(double value)
{
    // nearbyint follows the default rounding mode, round-half-to-even.
    return std::nearbyint(value * 10.0) / 10.0;
}

DecimalDigits toDecimal(double value, int significantDigits)
{
    if (!std::isfinite(value))
        throw std::domain_error("number not finite");
    if (significantDigits < 1 || significantDigits > 17)
        throw std::invalid_argument("significant digits out of range");
    return fromScientific(value, significantDigits - 1);
}

DecimalDigits toDecimal(Points value)
{
    DecimalDigits d;
    const std::int64_t units = value.units();
    const std::uint64_t magnitude = units < 0 ? 0 - static_cast<std::uint64_t>(units)
                                              : static_cast<std::uint64_t>(units);
    d.digits = digitsFromUnsigned(magnitude);
    d.pointPosition = static_cast<int>(d.digits.size()) - 4;
    d.negative = units < 0;
    normalise(d);
    return d;
}

std::string formatFixed(const DecimalDigits &value, int decimals, std::string_view decimalPoint)
{
    if (decimals < 0)
        throw std::invalid_argument("negative number of decimals");
    // Keep the digits down to the last decimal shown, as a whole number of
    // units of the last place; round on the first digit dropped.
    const int keep = value.pointPosition + decimals;
    std::string units;
    if (keep > 0) {
        units = value.digits.substr(0, std::min<std::size_t>(value.digits.size(), static_cast<std::size_t>(keep)));
        units.append(static_cast<std::size_t>(keep) - units.size(), '0');
    }
    const bool roundUp = keep >= 0 && static_cast<std::size_t>(keep) < value.digits.size()
                         && value.digits[static_cast<std::size_t>(keep)] >= '5';
    if (roundUp) {
        int i = static_cast<int>(units.size()) - 1;
        while (i >= 0 && units[static_cast<std::size_t>(i)] == '9')
            units[static_cast<std::size_t>(i--)] = '0';
        if (i < 0)
            units.insert(units.begin(), '1');
        else
            ++units[static_cast<std::size_t>(i)];
    }
    // Pad so that there is at least one digit before the point.
    if (units.size() < static_cast<std::size_t>(decimals) + 1)
        units.insert(0, static_cast<std::size_t>(decimals) + 1 - units.size(), '0');
    const bool isZero = units.find_first_not_of('0') == std::string::npos;
    std::string text = (value.negative && !isZero) ? "-" : "";
    text += units.substr(0, units.size() - static_cast<std::size_t>(decimals));
    if (decimals > 0) {
        text += decimalPoint;
        text += units.substr(units.size() - static_cast<std::size_t>(decimals));
    }
    return text;
}

std::string formatFixed(double value, int decimals, std::string_view decimalPoint)
{
    return formatFixed(toDecimal(value, 15), decimals, decimalPoint);
}

std::string formatFixed(Points value, int decimals, std::string_view decimalPoint)
{
    return formatFixed(toDecimal(value), decimals, decimalPoint);
}

std::string shortestText(double value, std::string_view decimalPoint)
{
    if (!std::isfinite(value))
        throw std::domain_error("number not finite");
    const DecimalDigits d = fromScientific(value, std::nullopt);
    return (d.negative ? "-" : "") + placePoint(d, true, decimalPoint);
}

std::string plainText(Points value, std::string_view decimalPoint)
{
    const DecimalDigits d = toDecimal(value);
    return (d.negative ? "-" : "") + placePoint(d, true, decimalPoint);
}

namespace {
std::string dataFileForm(const DecimalDigits &d)
{
    return (d.negative ? "-" : " ") + placePoint(d, false, ".");
}
} // namespace

std::string dataFileNumber(double value)
{
    return dataFileForm(toDecimal(value, 15));
}

std::string dataFileNumber(Points value)
{
    return dataFileForm(toDecimal(value));
}

std::string dataFileNumber(std::int64_t value)
{
    return dataFileNumber(Points::fromWhole(value));
}

} // namespace ct
