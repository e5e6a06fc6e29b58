#include "patch/core/GeneratedMath.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace PRT;

TEST(GeneratedMath, RoundToNearestTakesHalvesAwayFromZero)
{
    const struct
    {
        float x, expected;
    } cases[] = {{2.5f, 3.0f}, {-2.5f, -3.0f}, {2.4f, 2.0f}, {0.5f, 1.0f}, {-0.5f, -1.0f}, {1.49f, 1.0f},
                 {0.0f, 0.0f}, {-7.0f, -7.0f}, {1e9f, 1e9f}};
    for (const auto& c : cases)
        EXPECT_EQ(roundToNearest(c.x), c.expected) << c.x;
}

TEST(GeneratedMath, SafeSqrtIsZeroOutsideThePositives)
{
    EXPECT_EQ(safeSqrt(4.0f), 2.0f);
    EXPECT_EQ(safeSqrt(-4.0f), 0.0f);
    EXPECT_EQ(safeSqrt(0.0f), 0.0f);
    EXPECT_EQ(safeSqrt(std::nanf("")), 0.0f);
}

TEST(GeneratedMath, NextPowerOfTwo)
{
    const struct
    {
        std::uint64_t n, expected;
    } cases[] = {{0, 0}, {1, 1}, {2, 2}, {5, 8}, {64, 64}, {4097, 8192}, {220500, 262144}, {(1ull << 40) + 1, 1ull << 41}};
    for (const auto& c : cases)
        EXPECT_EQ(nextPowerOfTwo(c.n), c.expected) << c.n;
}
