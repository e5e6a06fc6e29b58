#include "patch/core/CosineOscillator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace PRT::dsp;

namespace
{
class CosineOscillatorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        table.assign(kCosineTableSize, 0.0);
        fillCosineTable({table.data(), table.size()});
        oscillator.bindTable({table.data(), table.size()});
        oscillator.prepare(48000.0f);
    }
    std::vector<double> table;
    CosineOscillator oscillator;
};
} // namespace

TEST_F(CosineOscillatorTest, AtZeroHertzItStaysAtOne)
{
    for (int i = 0; i < 1000; ++i)
    {
        ASSERT_EQ(oscillator.next(0.0f), 1.0f);
        ASSERT_EQ(oscillator.phase(), 0.0f);
    }
}

TEST_F(CosineOscillatorTest, FollowsTheCosineAtItsFrequency)
{
    for (const float frequency : {1.0f, 440.0f, 1000.0f, -250.0f, 12000.0f})
    {
        oscillator.prepare(48000.0f);
        double maxError = 0.0;
        for (int n = 0; n < 48000; ++n)
        {
            const double expected = std::cos(2.0 * 3.141592653589793 * frequency * n / 48000.0);
            maxError = std::max(maxError, std::fabs(double(oscillator.next(frequency)) - expected));
        }
        EXPECT_LT(maxError, 2e-4) << frequency << " Hz";
    }
}

TEST_F(CosineOscillatorTest, ANegativeFrequencyRunsThePhaseBackwards)
{
    oscillator.next(-1200.0f);
    oscillator.next(-1200.0f);
    EXPECT_NEAR(oscillator.phase(), 1.0f - 1200.0f / 48000.0f, 1e-6f);
}

TEST_F(CosineOscillatorTest, NeverReadsATableShorterThanAPeriod)
{
    std::vector<double> shortTable(100, 0.5);
    for (const SampleSpan span : {SampleSpan{}, SampleSpan{shortTable.data(), 0}, SampleSpan{shortTable.data(), 100},
                                  SampleSpan{table.data(), kCosineTableSize - 1}})
    {
        CosineOscillator o;
        o.bindTable(span);
        o.prepare(48000.0f);
        for (int i = 0; i < 2000; ++i)
            ASSERT_EQ(o.next(3001.0f), 0.0f);
        EXPECT_GT(o.phase(), 0.0f) << "the phase runs on";
    }
}

TEST_F(CosineOscillatorTest, ABlockRenderGivesTheSamplesAndPhaseOfStepByStep)
{
    // Increments that wrap the phase within a group of four, run backwards, or stand still; block
    // lengths with and without a tail; a table too short to read.
    std::vector<double> shortTable(100, 0.5);
    for (const SampleSpan span : {SampleSpan{table.data(), table.size()}, SampleSpan{shortTable.data(), 100}})
        for (const float frequency : {0.5f, 440.0f, 11999.0f, 23999.0f, -3000.0f, 0.0f})
            for (const std::size_t n : {1u, 4u, 7u, 64u, 257u})
            {
                CosineOscillator stepped;
                CosineOscillator block;
                for (CosineOscillator* o : {&stepped, &block})
                {
                    o->bindTable(span);
                    o->prepare(48000.0f);
                    o->next(1234.5f); // some phase to start from
                }
                std::vector<float> rendered(n);
                for (int round = 0; round < 3; ++round)
                {
                    block.render(rendered.data(), n, block.increment(frequency));
                    for (std::size_t i = 0; i < n; ++i)
                        ASSERT_EQ(rendered[i], stepped.next(frequency))
                            << frequency << " Hz, block of " << n << ", sample " << i << " of round " << round;
                    ASSERT_EQ(block.phase(), stepped.phase()) << frequency << " Hz, block of " << n;
                }
            }
}

TEST_F(CosineOscillatorTest, NonFiniteFrequenciesHoldThePhase)
{
    oscillator.next(std::nanf(""));
    oscillator.next(INFINITY);
    oscillator.next(0.0f);
    EXPECT_EQ(oscillator.phase(), 0.0f);
}
