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

} // namespace PRT
