#pragma once

#include "patch/core/OnePoleSmoother.h"
#include "patch/core/SignalBuffer.h"

namespace PRT
{

// A control value turned into a block signal that glides towards it per sample; the glide's state
// starts at 0 and carries over from block to block. The class grows the signal with its others.
class SmoothedSignal
{
public:
    SmoothedSignal(GeneratedPatcher& owner, float coefficient) : smoother(coefficient), samples(owner) {}

    // n samples towards target; returns them (a settled glide costs a fill).
    const SampleValue* render(float target, Index n)
    {
        smoother.render(samples.get(), n, target);
        return samples.get();
    }

    const SampleValue* get() const { return samples.get(); }
    float value() const { return smoother.value(); }

private:
    dsp::OnePoleSmoother smoother;
    SignalBuffer samples;
};

} // namespace PRT
