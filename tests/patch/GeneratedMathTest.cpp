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

TEST(GeneratedMath, ScaleValueMapsWithoutClampingAndKeepsTheSignOfBentPositions)
{
    const struct
    {
        float x, inLow, inHigh, outLow, outHigh, exponent, expected;
    } cases[] = {
        {64, 0, 128, 0, 1, 1, 0.5f},      {256, 0, 128, 0, 1, 1, 2.0f},  // extrapolates
        {-64, 0, 128, 0, 1, 2, -0.25f},   {64, 0, 128, 0, 1, 2, 0.25f},  // sign kept under the exponent
        {5, 3, 3, 7, 9, 1, 7.0f},         {5, 3, 3, 7, 9, 2, 7.0f},      // empty input range: outLow
        {0.5f, 0, 1, 0, 128, 1, 64.0f},   {2, 0, 4, 10, 20, 0.5f, 10.0f + 10.0f * std::sqrt(0.5f)},
        {1, 0, 1, 128, 0, 1, 0.0f},       // falling output range
    };
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(scaleValue(c.x, c.inLow, c.inHigh, c.outLow, c.outHigh, c.exponent), c.expected)
            << c.x << " in " << c.inLow << ".." << c.inHigh << " exponent " << c.exponent;

    // A power that is not a number is taken as 0 (a zero position keeps its sign).
    EXPECT_EQ(scaleValue(std::nanf(""), 0, 1, 0, 10, 2), 0.0f);
    EXPECT_EQ(scaleValue(std::nanf(""), 0, 1, 5, 10, 2), 5.0f);
}

// A NaN used to recurse without end (and overflow the stack); infinities stay what they are.
TEST(GeneratedMath, RoundToNearestPassesNonFiniteValuesThrough)
{
    EXPECT_TRUE(std::isnan(roundToNearest(std::nanf(""))));
    EXPECT_TRUE(std::isnan(roundToNearest(-std::nanf(""))));
    EXPECT_EQ(roundToNearest(INFINITY), INFINITY);
    EXPECT_EQ(roundToNearest(-INFINITY), -INFINITY);
}
