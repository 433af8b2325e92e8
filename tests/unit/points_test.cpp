#include "rules/points.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

using ct::Points;

TEST(Points, SumsOfTenthsAreExact)
{
    // 0.1 added ten times is exactly 1 point, unlike in binary floating point.
    Points sum;
    for (int i = 0; i < 10; ++i)
        sum += Points::fromDouble(0.1);
    EXPECT_EQ(sum, Points::fromWhole(1));
    EXPECT_EQ(sum.units(), 10000);
}

TEST(Points, FromDoubleTakesTheNearestTenThousandth)
{
    struct Case {
        double value;
        std::int64_t units;
    } const cases[] = {
        {4.4, 44000},
        {1.2, 12000},
        {3.7, 37000},
        {-0.8, -8000},
        {5.0, 50000},
        {0.00005, 0} /* half to even */,
        {0.00015, 1} /* the double lies just below the half */,
        {759.4, 7594000},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(Points::fromDouble(c.value).units(), c.units);
    }
}

TEST(Points, ToDoubleIsTheNearestDouble)
{
    EXPECT_EQ(Points::fromUnits(44000).toDouble(), 4.4);
    EXPECT_EQ(Points::fromUnits(7594000).toDouble(), 759.4);
    EXPECT_EQ(Points::fromUnits(-1).toDouble(), -0.0001);
}

TEST(Points, ComparisonsAreExact)
{
    const Points a = Points::fromDouble(700);
    const Points b = Points::fromDouble(699.9999);
    EXPECT_LT(b, a);
    EXPECT_GT(a, b);
    EXPECT_EQ(a - b, Points::fromUnits(1));
}

TEST(Points, OverflowThrowsInsteadOfWrapping)
{
    const Points max = Points::fromUnits(std::numeric_limits<std::int64_t>::max());
    Points p = max;
    EXPECT_THROW(p += Points::fromUnits(1), std::overflow_error);
    EXPECT_EQ(p, max) << "a failed addition leaves the value alone";
    EXPECT_THROW(-Points::fromUnits(std::numeric_limits<std::int64_t>::min()), std::overflow_error);
    EXPECT_THROW(Points::fromUnits(std::numeric_limits<std::int64_t>::min()) - Points::fromUnits(1),
                 std::overflow_error);
    EXPECT_THROW(Points::fromWhole(std::numeric_limits<std::int64_t>::max() / 1000), std::overflow_error);
    EXPECT_THROW(Points::fromDouble(1e300), std::domain_error);
    EXPECT_THROW(Points::fromDouble(std::numeric_limits<double>::quiet_NaN()), std::domain_error);
}
