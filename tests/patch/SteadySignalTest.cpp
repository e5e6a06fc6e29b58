#include "patch/core/SteadySignal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace PRT;

// A block may skip its recursion only on an input whose every sample has the same bits: a zero of the
// other sign or a NaN among equal values must count as a change, wherever it sits.
TEST(SteadySignal, OneValueMeansTheSameBitsInEverySample)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct
    {
        const char* name;
        std::vector<float> samples;
        bool oneValue;
    } cases[] = {
        {"no samples", {}, true},
        {"one sample", {0.5f}, true},
        {"a constant", std::vector<float>(37, 440.0f), true},
        {"NaN throughout", std::vector<float>(9, nan), true},
        {"a negative zero after zeros", {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, -0.0f}, false},
        {"a change in the last of 37", [] {
             std::vector<float> x(37, 440.0f);
             x.back() = 440.00003f;
             return x;
         }(),
         false},
        {"a NaN in the middle", {1.0f, 1.0f, nan, 1.0f, 1.0f}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(holdsOneValue(c.samples.data(), static_cast<Index>(c.samples.size())), c.oneValue) << c.name;

    EXPECT_FALSE(sameBits(0.0f, -0.0f));
    EXPECT_TRUE(sameBits(nan, nan));
    EXPECT_TRUE(sameBits(1.5f, 1.5f));
}
