#include "rules/points.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace ct {

Points Points::fromWhole(std::int64_t whole)
{
    std::int64_t units = 0;
    if (__builtin_mul_overflow(whole, kScale, &units))
        throw std::overflow_error("points out of range");
    return Points(units);
}

Points Points::fromDouble(double value)
{
    const double scaled = std::nearbyint(value * static_cast<double>(kScale));
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    constexpr double kLimit = 9223372036854775808.0;
    if (!std::isfinite(scaled) || scaled >= kLimit || scaled < -kLimit)
        throw std::domain_error("points value not finite or out of range");
    return Points(static_cast<std::int64_t>(scaled));
}

double Points::toDouble() const
{
    // One correctly rounded division gives the double nearest to the decimal
    // amount, as long as the count of units itself is exact (below 2^53).
    return static_cast<double>(m_units) / static_cast<double>(kScale);
}

Points Points::operator-() const
{
    if (m_units == std::numeric_limits<std::int64_t>::min())
        throw std::overflow_error("points out of range");
    return Points(-m_units);
}

Points &Points::operator+=(Points other)
{
    std::int64_t sum = 0;
    if (__builtin_add_overflow(m_units, other.m_units, &sum))
        throw std::overflow_error("points out of range");
    m_units = sum;
    return *this;
}

Points &Points::operator-=(Points other)
{
    std::int64_t difference = 0;
    if (__builtin_sub_overflow(m_units, other.m_units, &difference))
        throw std::overflow_error("points out of range");
    m_units = difference;
    return *this;
}

} // namespace ct
