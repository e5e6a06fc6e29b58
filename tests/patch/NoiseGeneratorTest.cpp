#include "patch/core/NoiseGenerator.h"
#include "patch/core/RandomState.h"
#include "patch/core/RandomStateJump.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace PRT;

TEST(RandomState, OneStepFollowsTheXoshiro128PlusOrder)
{
    RandomState state{1, 2, 3, 4};
    EXPECT_EQ(nextRandomBits(state), (1u + 4u) >> 8);
    EXPECT_EQ(state.s0, 7u);
    EXPECT_EQ(state.s1, 0u);
    EXPECT_EQ(state.s2, 1026u);
    EXPECT_EQ(state.s3, 6u << 11);

    RandomState wrapping{0xffffffffu, 0, 0, 0x100u};
    EXPECT_EQ(nextRandomBits(wrapping), 0u) << "the sum wraps modulo 2^32";
}

TEST(RandomState, SeedingIsDeterministicAndSpreadsNearbySeeds)
{
    RandomState a, b, c;
    seedRandomState(1234.5f, a);
    seedRandomState(1234.5f, b);
    seedRandomState(1234.6f, c);
    EXPECT_EQ(a.s0, b.s0);
    EXPECT_EQ(a.s3, b.s3);
    EXPECT_NE(a.s0, c.s0);
    EXPECT_NE(a.s1, a.s2) << "each word comes from its own step";

    RandomState zero, negative, positive, notANumber;
    seedRandomState(0.0f, zero);
    EXPECT_NE(zero.s0 | zero.s1 | zero.s2 | zero.s3, 0u) << "seed 0 still gives a usable state";
    seedRandomState(-5.0f, negative);
    seedRandomState(5.0f, positive);
    EXPECT_NE(negative.s0, positive.s0);
    seedRandomState(std::nanf(""), notANumber);
    EXPECT_EQ(notANumber.s0, zero.s0) << "a seed no integer holds counts as 0";
}

TEST(NoiseGenerator, IsUniformOnMinusOneToOneAndNeverReachesOne)
{
    dsp::NoiseGenerator noise;
    noise.seed(77.0f);
    double sum = 0.0, squares = 0.0;
    float lowest = 1.0f, highest = -1.0f;
    constexpr int kCount = 1 << 20;
    for (int i = 0; i < kCount; ++i)
    {
        const float x = noise.next();
        sum += x;
        squares += double(x) * x;
        lowest = std::min(lowest, x);
        highest = std::max(highest, x);
    }
    EXPECT_GE(lowest, -1.0f);
    EXPECT_LT(highest, 1.0f);
    EXPECT_NEAR(sum / kCount, 0.0, 5e-3);
    EXPECT_NEAR(squares / kCount, 1.0 / 3.0, 5e-3);

    // The largest possible sum of s0 and s3 gives the largest output, one step below 1.
    noise.state() = RandomState{0xfffffff0u, 0, 0, 0xfu};
    EXPECT_EQ(noise.next(), 1.0f - 1.0f / 8388608.0f);
    noise.state() = RandomState{};
    EXPECT_EQ(noise.next(), -1.0f);
}

TEST(RandomState, AJumpLandsWhereAsManySingleStepsWould)
{
    // Below, at and across every table size, and beyond the largest table.
    for (std::uint64_t steps : {0ull, 1ull, 31ull, 32ull, 33ull, 255ull, 256ull, 1000ull, 8191ull, 8192ull, 8193ull,
                                16384ull + 7ull, 3ull * 8192ull + 100ull})
    {
        RandomState jumped, stepped;
        seedRandomState(static_cast<float>(steps) + 0.25f, jumped);
        stepped = jumped;
        advanceRandomState(jumped, steps);
        for (std::uint64_t k = 0; k < steps; ++k)
            nextRandomBits(stepped);
        EXPECT_EQ(jumped.s0, stepped.s0) << steps << " steps";
        EXPECT_EQ(jumped.s1, stepped.s1) << steps << " steps";
        EXPECT_EQ(jumped.s2, stepped.s2) << steps << " steps";
        EXPECT_EQ(jumped.s3, stepped.s3) << steps << " steps";
    }
}
