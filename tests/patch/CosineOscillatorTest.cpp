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

TEST_F(CosineOscillatorTest, NonFiniteFrequenciesHoldThePhase)
{
    oscillator.next(std::nanf(""));
    oscillator.next(INFINITY);
    oscillator.next(0.0f);
    EXPECT_EQ(oscillator.phase(), 0.0f);
}
