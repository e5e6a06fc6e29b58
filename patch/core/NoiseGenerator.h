#pragma once

#include "patch/core/RandomState.h"

namespace PRT::dsp
{

// White noise, uniform on [-1, 1) in steps of 2^-23, from a xoshiro128+ state of its own.
class NoiseGenerator
{
public:
    void seed(float seed) { seedRandomState(seed, state_); }
    RandomState& state() { return state_; }

    float next()
    {
        return static_cast<float>(nextRandomBits(state_)) * kRandomBitsScale - 1.0f;
    }

private:
    RandomState state_;
};

} // namespace PRT::dsp
