#pragma once

#include "patch/core/NoiseGenerator.h"
#include "patch/core/RandomStateJump.h"
#include "patch/core/SampleAndHold.h"

#include <cstdint>

namespace PRT::dsp
{

// White noise through a sample-and-hold (a take when the trigger rises through 0.01, as
// SampleAndHold): the value held is the noise of the take's sample, the noise running on every
// sample. The noise is drawn only on a take; the samples in between advance its state in one jump,
// so a hold that takes rarely costs little more than its trigger test per sample.
class HeldNoise
{
public:
    void seedFromClock() { noise_.seedFromClock(); }

    // Sample i of the current block (i counting up from 0 in each block); whether it took a value.
    bool next(float trigger, std::uint32_t i)
    {
        const bool takes = lastTrigger_ <= SampleAndHold::kThreshold && trigger > SampleAndHold::kThreshold;
        if (takes)
            take(i);
        lastTrigger_ = trigger;
        return takes;
    }

    // Samples that the caller knows take nothing: only the last one's trigger counts.
    void passOver(float lastTrigger) { lastTrigger_ = lastTrigger; }
    float lastTrigger() const { return lastTrigger_; }

    // After the last sample of a block of n: the noise catches up with the samples not drawn.
    void endBlock(std::uint32_t n)
    {
        advanceRandomState(noise_.state(), n - drawn_);
        drawn_ = 0;
    }

    float held() const { return held_; }

private:
    // Out of line: a rare event, kept out of the per-sample loop that calls next().
    void take(std::uint32_t i);

    NoiseGenerator noise_;
    float lastTrigger_ = 0.0f;
    float held_ = 0.0f;
    std::uint32_t drawn_ = 0; // samples of this block the noise has already run through
};

} // namespace PRT::dsp
