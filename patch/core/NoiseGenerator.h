#pragma once

#include "patch/core/RandomState.h"

namespace PRT::dsp
{

// White noise, uniform on [-1, 1) in steps of 2^-23, from a xoshiro128+ state of its own.
class NoiseGenerator
{
public:
    void seed(float seed) { seedRandomState(seed, state_); }
    // Seeds from the process clock plus seedOffset and a draw of the process-wide generator.
    void seedFromClock(int32_t seedOffset = 0) { seedRandomStateFromClock(state_, seedOffset); }
    RandomState& state() { return state_; }

    float next()
    {
        return static_cast<float>(nextRandomBits(state_)) * kRandomBitsScale - 1.0f;
    }

private:
    RandomState state_;
};

} // namespace PRT::dsp
