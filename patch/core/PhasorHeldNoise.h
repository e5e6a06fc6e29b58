#pragma once

#include "patch/core/HeldNoise.h"
#include "patch/core/RampPhasor.h"
#include "patch/core/RisingPhaseSkip.h"

#include <cstdint>

namespace PRT::dsp
{

// White noise held by a sample-and-hold that a ramp phasor triggers: a new value once per cycle, on
// the sample where the phasor's output rises through the hold's threshold. A block runs in stretches
// between those takes: where no sample can take (rising outputs all above the threshold, after one
// above it, or all at or below it) the phasor passes over them in a few exact jumps and the noise
// is not drawn, so a block costs a few steps around each wrap and take instead of one per sample.
class PhasorHeldNoise
{
public:
    void prepare(float sampleRate) { phasor_.prepare(sampleRate); }
    void seedFromClock() { hold_.seedFromClock(); }
    float held() const { return hold_.held(); }

    // Samples from..to−1 of the block (counting from 0 in each) at rate Hz, up to and including the
    // first that takes a value: its index, or `to` if none does.
    std::uint32_t runToTake(float rate, std::uint32_t from, std::uint32_t to)
    {
        constexpr float threshold = SampleAndHold::kThreshold;
        constexpr float belowOne = 0.99999994f;
        const float increment = incrementFor(rate);
        std::uint32_t i = from;
        while (i < to)
        {
            float last = 0.0f;
            const bool above = hold_.lastTrigger() > threshold;
            const std::uint32_t passed = skipRisingPhases(phasor_, increment, above ? threshold : 0.0f,
                                                          above ? belowOne : threshold, to - i, last);
            if (passed > 0)
            {
                hold_.passOver(last);
                i += passed;
                continue;
            }
            if (hold_.next(phasor_.next(rate), i))
                return i;
            ++i;
        }
        return to;
    }

    // After the last sample of a block of n.
    void endBlock(std::uint32_t n) { hold_.endBlock(n); }

private:
    // What one step adds to the phase at this rate, exactly as the phasor works it out.
    float incrementFor(float rate) const
    {
        RampPhasor probe = phasor_;
        probe.setPhase(0.0f);
        probe.next(rate);
        return probe.phase();
    }

    RampPhasor phasor_;
    HeldNoise hold_;
};

} // namespace PRT::dsp
