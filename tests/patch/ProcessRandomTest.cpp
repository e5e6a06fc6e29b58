#include "patch/core/NoiseGenerator.h"
#include "patch/core/RandomState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <thread>
#include <vector>

using namespace PRT;

namespace
{
// What the process-wide generator yields when seeded with seed: |bits × 2^-23 − 1| of a state
// filled by seedRandomState.
std::vector<float> expectedDraws(float seed, int count)
{
    RandomState state;
    seedRandomState(seed, state);
    std::vector<float> draws;
    for (int i = 0; i < count; ++i)
        draws.push_back(std::fabs(static_cast<float>(nextRandomBits(state)) * kRandomBitsScale - 1.0f));
    return draws;
}

std::vector<float> draw(int count)
{
    std::vector<float> draws;
    for (int i = 0; i < count; ++i)
        draws.push_back(nextRandomValue());
    return draws;
}
} // namespace

TEST(ProcessRandom, AFixedSeedContinuesTheSequenceOfThatSeed)
{
    ScopedFixedRandomSeed fixed(1234.0f);
    EXPECT_EQ(draw(16), expectedDraws(1234.0f, 16));

    useFixedRandomSeed(1234.0f);
    const std::vector<float> expected = expectedDraws(1234.0f, 3);
    EXPECT_FLOAT_EQ(randomInRange(0.0f, 10000.0f), expected[0] * 10000.0f);
    EXPECT_FLOAT_EQ(randomInRange(-2.0f, 2.0f), expected[1] * 4.0f - 2.0f);
    EXPECT_FLOAT_EQ(randomInRange(5.0f, 5.0f), 5.0f);
}

TEST(ProcessRandom, DrawsStayWithinZeroAndOne)
{
    for (float seed : {0.0f, 1.0f, 77.5f, 1e6f})
    {
        ScopedFixedRandomSeed fixed(seed);
        float lowest = 1.0f, highest = 0.0f;
        for (int i = 0; i < 200000; ++i)
        {
            const float value = nextRandomValue();
            lowest = std::min(lowest, value);
            highest = std::max(highest, value);
        }
        EXPECT_GE(lowest, 0.0f);
        EXPECT_LE(highest, 1.0f);
        EXPECT_LT(lowest, 0.001f) << "the whole range is reached";
        EXPECT_GT(highest, 0.999f);
    }
}

TEST(ProcessRandom, ClockSeedsRepeatUnderAFixedSeedAndDifferWithinOneSetUp)
{
    auto seedTwoSources = [](float seed) {
        ScopedFixedRandomSeed fixed(seed);
        dsp::NoiseGenerator first, second;
        first.seedFromClock();
        second.seedFromClock();
        return std::vector<float>{first.next(), first.next(), second.next(), second.next()};
    };
    const std::vector<float> run = seedTwoSources(42.0f);
    EXPECT_EQ(seedTwoSources(42.0f), run) << "reproducible renders";
    EXPECT_NE(run[0], run[2]) << "each source draws its own addend";
    EXPECT_NE(seedTwoSources(43.0f), run);

    // The clock reads 0 under the seam: the seed is the offset plus the draw.
    ScopedFixedRandomSeed fixed(9.0f);
    EXPECT_FLOAT_EQ(clockSeed(3), 3.0f + expectedDraws(9.0f, 1)[0] * 10000.0f);
}

TEST(ProcessRandom, ThreadsDrawFromStatesOfTheirOwn)
{
    ScopedFixedRandomSeed fixed(500.0f);
    std::vector<float> drawsA, drawsB;
    std::thread a([&] { drawsA = draw(1000); });
    std::thread b([&] { drawsB = draw(1000); });
    a.join();
    b.join();

    // The first thread to draw continues seed 500, the second seed 501, whichever started first.
    const std::vector<float> first = expectedDraws(500.0f, 1000);
    const std::vector<float> second = expectedDraws(501.0f, 1000);
    EXPECT_TRUE((drawsA == first && drawsB == second) || (drawsA == second && drawsB == first));
}
