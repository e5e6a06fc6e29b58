#include "patch/core/HeldNoise.h"
#include "patch/core/NoiseGenerator.h"
#include "patch/core/RandomState.h"
#include "patch/core/SampleAndHold.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace PRT;

// The held noise must hold exactly what noise drawn every sample through a sample-and-hold holds, over
// blocks of any length and takes at any spacing (none in a block, several, on a block's first sample).
TEST(HeldNoise, HoldsWhatAHoldOfNoiseDrawnEverySampleHolds)
{
    dsp::HeldNoise held;
    dsp::NoiseGenerator noise;
    {
        ScopedFixedRandomSeed seed(7.0f);
        held.seedFromClock();
    }
    {
        ScopedFixedRandomSeed seed(7.0f);
        noise.seedFromClock();
    }
    dsp::SampleAndHold hold;

    std::uint32_t sample = 0;
    int takes = 0;
    for (std::uint32_t blockLength : {1u, 7u, 64u, 300u, 2u, 5000u, 33u, 256u, 9000u, 1u})
    {
        for (std::uint32_t i = 0; i < blockLength; ++i, ++sample)
        {
            // Rises through the threshold at irregular spacings, some on consecutive samples.
            const std::uint32_t x = sample * 2654435761u;
            const float trigger = (x >> 29) == 0 || sample % 997 == 0 ? 1.0f : 0.0f;
            const float before = hold.held();
            const float expected = hold.next(trigger, noise.next());
            const bool took = held.next(trigger, i);
            takes += took;
            ASSERT_EQ(took, expected != before) << "sample " << sample;
            ASSERT_EQ(held.held(), expected) << "sample " << sample;
        }
        held.endBlock(blockLength);
    }
    EXPECT_GT(takes, 100);
    // After the blocks, both sources have run through every sample: the next take matches too.
    held.next(0.0f, 0);
    held.next(1.0f, 1);
    hold.next(0.0f, noise.next());
    EXPECT_EQ(held.held(), hold.next(1.0f, noise.next()));
}
