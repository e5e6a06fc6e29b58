#include "patch/core/NoiseGenerator.h"
#include "patch/core/PhasorHeldNoise.h"
#include "patch/core/RampPhasor.h"
#include "patch/core/RandomState.h"
#include "patch/core/RisingPhaseSkip.h"
#include "patch/core/SampleAndHold.h"
#include "patch/core/SteadySignal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

using namespace PRT;

// Every output a jump passes over is one that next() gives, inside the bounds, and the phase after it
// is bit for bit the one next() leaves: over random phases and increments (ties in the rounding
// among them) in both the stretch above the hold's threshold and the one at or below it.
TEST(RisingPhaseSkip, PassesOnlyWhatNextWouldOutputAndLandsOnTheSamePhase)
{
    RandomState random;
    seedRandomState(3.0f, random);
    auto uniform = [&] { return static_cast<float>(nextRandomBits(random)) * 0x1p-24f; };
    std::uint64_t passedInTotal = 0;
    for (int trial = 0; trial < 4000; ++trial)
    {
        const float sampleRate = trial % 3 == 0 ? 44100.0f : (trial % 3 == 1 ? 48000.0f : 192000.0f);
        // Rates from 0.001 Hz (an increment below a phase's rounding unit: the phase stands) to 2 kHz;
        // every fifth an increment of an odd number of half units of [0.5, 1), a tie there.
        const float rate = 0.001f * std::pow(2.0e6f, uniform());
        const bool above = trial % 2 == 0;
        const float floor = above ? dsp::SampleAndHold::kThreshold : 0.0f;
        const float ceiling = above ? 0.99999994f : dsp::SampleAndHold::kThreshold;
        const float start = floor + (ceiling - floor) * uniform();
        dsp::RampPhasor skipped, stepped;
        skipped.prepare(sampleRate);
        stepped.prepare(sampleRate);
        float increment = 0.0f;
        {
            dsp::RampPhasor probe = stepped;
            probe.next(rate);
            increment = probe.phase();
        }
        if (trial % 5 == 0 && above)
        {
            increment = static_cast<float>(2 * (trial % 64) + 1) * 0x1p-25f;
            skipped.prepare(1.0f);
            stepped.prepare(1.0f);
        }
        const float stepRate = trial % 5 == 0 && above ? increment : rate;
        skipped.setPhase(start);
        stepped.setPhase(start);
        const auto limit = static_cast<std::uint32_t>(1 + (nextRandomBits(random) % 6000));
        float last = -1.0f;
        const std::uint32_t passed = dsp::skipRisingPhases(skipped, increment, floor, ceiling, limit, last);
        ASSERT_LE(passed, limit);
        float output = 0.0f;
        for (std::uint32_t k = 0; k < passed; ++k)
        {
            output = stepped.next(stepRate);
            ASSERT_GT(output, floor) << "trial " << trial << ", output " << k;
            ASSERT_LE(output, ceiling) << "trial " << trial << ", output " << k;
        }
        if (passed > 0)
        {
            ASSERT_EQ(bitsOf(last), bitsOf(output)) << "trial " << trial;
        }
        ASSERT_EQ(bitsOf(skipped.phase()), bitsOf(stepped.phase())) << "trial " << trial << ", " << passed << " passed";
        passedInTotal += passed;
    }
    EXPECT_GT(passedInTotal, 1000000u) << "the jumps pass over long stretches";
}

TEST(RisingPhaseSkip, LeavesFallingNonFiniteAndOutOfRangePhasesToNext)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case
    {
        float phase, increment;
    } cases[] = {{0.5f, -0.001f}, {0.5f, 0.0f}, {0.5f, nan}, {0.5f, inf}, {0.5f, 0.7f},
                 {nan, 0.001f},   {1.5f, 0.001f}, {-0.2f, 0.001f}, {1e-40f, 0.001f}};
    for (const Case& c : cases)
    {
        dsp::RampPhasor phasor;
        phasor.setPhase(c.phase);
        float last = 0.0f;
        EXPECT_EQ(dsp::skipRisingPhases(phasor, c.increment, 0.0f, 0.99999994f, 100, last), 0u)
            << c.phase << " + " << c.increment;
        EXPECT_EQ(bitsOf(phasor.phase()), bitsOf(c.phase));
    }
}

// The whole source against a phasor, a sample-and-hold and noise drawn at every sample: the same
// takes on the same samples with the same values, over blocks of many lengths, for ordinary and
// hostile rates.
TEST(PhasorHeldNoise, TakesWhatAPhasorTriggeredHoldOfNoiseTakes)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float rate : {0.1f, 0.73f, 4.0f, 10.0f, 2000.0f, 24000.0f, 0.0f, -3.0f, 1e-6f, 1e30f, nan, inf, -inf})
    {
        dsp::PhasorHeldNoise source;
        dsp::NoiseGenerator noise;
        {
            ScopedFixedRandomSeed seed(11.0f);
            source.seedFromClock();
        }
        {
            ScopedFixedRandomSeed seed(11.0f);
            noise.seedFromClock();
        }
        source.prepare(48000.0f);
        dsp::RampPhasor phasor;
        phasor.prepare(48000.0f);
        dsp::SampleAndHold hold;

        int takes = 0;
        for (std::uint32_t n : {256u, 1u, 7u, 4096u, 300u, 64u, 20000u, 2u, 512u, 48000u, 128u})
        {
            std::vector<std::uint32_t> expectedTakes;
            std::vector<float> expectedValues;
            for (std::uint32_t i = 0; i < n; ++i)
            {
                const float before = hold.held();
                const float value = hold.next(phasor.next(rate), noise.next());
                if (bitsOf(value) != bitsOf(before))
                {
                    expectedTakes.push_back(i);
                    expectedValues.push_back(value);
                }
            }
            std::size_t next = 0;
            for (std::uint32_t i = 0; i < n;)
            {
                const std::uint32_t take = source.runToTake(rate, i, n);
                if (take == n)
                    break;
                ASSERT_LT(next, expectedTakes.size()) << "rate " << rate << ": a take on sample " << take;
                ASSERT_EQ(take, expectedTakes[next]) << "rate " << rate;
                ASSERT_EQ(bitsOf(source.held()), bitsOf(expectedValues[next])) << "rate " << rate;
                ++next;
                ++takes;
                i = take + 1;
            }
            ASSERT_EQ(next, expectedTakes.size()) << "rate " << rate << ": takes missed in a block of " << n;
            source.endBlock(n);
        }
        if (rate >= 0.73f && rate <= 2000.0f)
        {
            EXPECT_GT(takes, 1) << "rate " << rate;
        }
    }
}
