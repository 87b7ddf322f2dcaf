#include "protocol/generator_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zelvo {
namespace {

TEST(GeneratorLayout, DividerPointsAndPeriodsForTypicalFrequencies) {
    struct Case {
        double hz;
        uint32_t divider;
        int16_t points, periods;
    } cases[] = {
        {1000.0, 48, 2083, 1}, {50000.0, 0, 4000, 1}, {200000.0, 0, 4000, 4},
        {0.5, 48828, 2048, 1}, {0.0, 48828, 2048, 1}, {100000.0, 0, 2000, 1},
        {1.0e6, 0, 4000, 20},  {3.0e6, 0, 4066, 61},
    };
    for (const Case& c : cases) {
        const auto g = generatorLayout(c.hz);
        ASSERT_TRUE(g) << c.hz;
        EXPECT_EQ(g->divider, c.divider) << c.hz;
        EXPECT_EQ(g->points, c.points) << c.hz;
        EXPECT_EQ(g->periods, c.periods) << c.hz;
    }
}

TEST(GeneratorLayout, PointsNeverExceedTheBuffer) {
    for (double hz : {10.0, 20.0, 100.0, 1.0e5 + 1, 1.0e7, 1.9e8, 2.0e8, 5.0e8}) {
        const auto g = generatorLayout(hz);
        ASSERT_TRUE(g);
        EXPECT_LE(g->points, 4096) << hz;
        EXPECT_GE(g->periods, 1) << hz;
    }
}

TEST(GeneratorLayout, FrequencyThatIsNotFiniteHasNoLayout) {
    EXPECT_FALSE(generatorLayout(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(generatorLayout(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(generatorLayout(-std::numeric_limits<double>::infinity()));
}

TEST(GeneratorLayout, HugeFrequencyEndsAtOnceWithinThePeriodCount) {
    const auto g = generatorLayout(1.0e300);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->periods, std::numeric_limits<int16_t>::max());
    EXPECT_LE(g->points, 4096);
}

}  // namespace
}  // namespace zelvo
