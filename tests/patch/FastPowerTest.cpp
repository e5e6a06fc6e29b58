#include "patch/core/FastPower.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace PRT::dsp;

TEST(FastPower, FollowsTheLibraryToAboutAPartInAMillionForGains)
{
    double worstPower = 0.0, worstGain = 0.0, worstLog = 0.0, worstExp = 0.0;
    for (float base = 1e-30f; base <= 1e4f; base *= 1.00071f)
        for (const float exponent : {0.0f, 1e-3f, 1.0f / 3.0f, 0.5f, 1.0f, 2.5f})
        {
            const double expected = std::pow(static_cast<double>(base), static_cast<double>(exponent));
            if (expected < 1e-36 || expected > 1e36)
                continue;
            const double error = std::fabs(fastPow(base, exponent) / expected - 1.0);
            worstPower = std::max(worstPower, error);
            if (expected >= 1e-5 && expected <= 1.0)
                worstGain = std::max(worstGain, error);
        }
    for (float x = 1e-37f; x < 1e37f; x *= 1.00013f)
        worstLog = std::max(worstLog, std::fabs(fastLog2(x) - std::log2(static_cast<double>(x))));
    for (float y = -125.5f; y < 125.5f; y += 0.00071f)
        worstExp = std::max(worstExp, std::fabs(fastExp2(y) / std::exp2(static_cast<double>(y)) - 1.0));
    EXPECT_LT(worstGain, 2e-6) << "gains down to −100 dB";
    EXPECT_LT(worstPower, 1e-5);
    EXPECT_LT(worstLog, 8e-6) << "absolute, for logarithms up to ±123";
    EXPECT_LT(worstExp, 3e-7);
    EXPECT_EQ(fastPow(0.25f, 0.0f), 1.0f);
    EXPECT_NEAR(fastPow(0.001f, 1.0f / 3.0f), 0.1f, 1e-7f);
}

TEST(FastPower, OutOfItsRangeItStaysFinite)
{
    const float inputs[] = {0.0f, -1.0f, 1e-40f, INFINITY, NAN};
    for (const float x : inputs)
    {
        EXPECT_TRUE(std::isfinite(fastLog2(x))) << x;
        EXPECT_TRUE(std::isfinite(fastPow(x, 0.5f))) << x;
    }
}
