#pragma once

#include <cstdint>

namespace ct {

// An exact amount of points: a signed count of ten-thousandths of a point.
//
// Payoffs, a game's running total and the stored game scores are all of this
// type, so sums and comparisons are exact decimal arithmetic. Overflow throws
// std::overflow_error instead of wrapping.
class Points {
public:
    static constexpr std::int64_t kScale = 10000;

    constexpr Points() = default;

    static constexpr Points fromUnits(std::int64_t tenThousandths) { return Points(tenThousandths); }
    static Points fromWhole(std::int64_t whole);
    // The nearest ten-thousandth to `value` (exact halves to even). Payoffs are
    // doubles with at most one decimal, so they convert exactly. Throws
    // std::domain_error for values that are not finite or out of range.
    static Points fromDouble(double value);

    constexpr std::int64_t units() const { return m_units; }
    double toDouble() const;
    constexpr bool isNegative() const { return m_units < 0; }
    constexpr bool isZero() const { return m_units == 0; }

    Points operator-() const;
    Points &operator+=(Points other);
    Points &operator-=(Points other);
    friend Points operator+(Points a, Points b) { return a += b; }
    friend Points operator-(Points a, Points b) { return a -= b; }

    friend constexpr bool operator==(Points a, Points b) { return a.m_units == b.m_units; }
    friend constexpr bool operator!=(Points a, Points b) { return a.m_units != b.m_units; }
    friend constexpr bool operator<(Points a, Points b) { return a.m_units < b.m_units; }
    friend constexpr bool operator<=(Points a, Points b) { return a.m_units <= b.m_units; }
    friend constexpr bool operator>(Points a, Points b) { return a.m_units > b.m_units; }
    friend constexpr bool operator>=(Points a, Points b) { return a.m_units >= b.m_units; }

private:
    constexpr explicit Points(std::int64_t units) : m_units(units) {}
    std::int64_t m_units = 0;
};

} // namespace ct
