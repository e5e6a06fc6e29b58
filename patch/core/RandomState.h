#pragma once

#include <cstdint>

namespace PRT
{

// A xoshiro128+ state: the process-wide generator and every noise source of the patch use this shape.
struct RandomState
{
    std::uint32_t s0 = 0;
    std::uint32_t s1 = 0;
    std::uint32_t s2 = 0;
    std::uint32_t s3 = 0;
};

// Scale from the 24 random bits to [0, 2).
inline constexpr float kRandomBitsScale = 1.0f / 8388608.0f;

// Fills the state from seed × 10^6 by four splitmix64 steps, each started from the previous word.
void seedRandomState(float seed, RandomState& state);

// ((s0 + s3) mod 2^32) >> 8 of the current state, then one xoshiro128+ step.
inline std::uint32_t nextRandomBits(RandomState& state)
{
    const std::uint32_t result = (state.s0 + state.s3) >> 8;
    const std::uint32_t t = state.s1 << 9;
    state.s2 ^= state.s0;
    state.s3 ^= state.s1;
    state.s1 ^= state.s2;
    state.s0 ^= state.s3;
    state.s2 ^= t;
    state.s3 = (state.s3 << 11) | (state.s3 >> 21);
    return result;
}

// The process-wide generator, seeded from the process clock when the library loads. Each thread
// draws from a state of its own, so instances processing on different threads never race: the
// first thread to draw after a seeding continues the sequence of the seed itself, the k-th one that of
// seed + k. Nothing relies on which sequence an instance sees.

// One draw in [0, 1]: |bits × 2^-23 − 1|.
float nextRandomValue();
// nextRandomValue() × (high − low) + low.
float randomInRange(float low, float high);

// The seed that the generated code gives a clock-seeded generator: the process clock's tick count
// plus seedOffset (as an unsigned 32-bit sum, converted to float) plus randomInRange(0, 10000), so
// two generators seeded within one clock tick still differ.
float clockSeed(int32_t seedOffset);
void seedRandomStateFromClock(RandomState& state, int32_t seedOffset);

// Test seam. While a fixed seed is in use the process-wide generator restarts from it and the clock
// reads 0 for seeding, so the seeds of every noise source, and with them whole renders, repeat
// exactly; useClockRandomSeed restores the shipping behaviour and reseeds from the clock.
void useFixedRandomSeed(float seed);
void useClockRandomSeed();

// Fixes the seed for its lifetime.
class ScopedFixedRandomSeed
{
public:
    explicit ScopedFixedRandomSeed(float seed) { useFixedRandomSeed(seed); }
    ~ScopedFixedRandomSeed() { useClockRandomSeed(); }
    ScopedFixedRandomSeed(const ScopedFixedRandomSeed&) = delete;
    ScopedFixedRandomSeed& operator=(const ScopedFixedRandomSeed&) = delete;
};

} // namespace PRT
