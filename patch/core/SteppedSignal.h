#pragma once

#include "patch/core/GeneratedPatcher.h"
#include "patch/core/SignalBuffer.h"

#include <cstdint>

namespace PRT
{

// A value that steps at a sample of the block and holds from there, as a block signal (the top
// level's host tempo and transport state). Between blocks the whole signal holds the last value.
class SteppedSignal
{
public:
    SteppedSignal(GeneratedPatcher& signalOwner, float initial) : owner(signalOwner), samples(signalOwner), last(initial)
    {
    }

    // The value at sample i of the block; the last value beyond it.
    float at(uint32_t i) const
    {
        return i < owner.getVectorSize() && samples.get() != nullptr ? samples[i] : last;
    }
    // The value from sample i of the block on; beyond the block, only the last value changes.
    void stepAt(uint32_t i, float value)
    {
        if (i < owner.getVectorSize() && samples.get() != nullptr)
            fillSignalRange(samples.get(), owner.getVectorSize(), value, i);
        last = value;
        changed = true;
    }
    float lastValue() const { return last; }

    // A fresh start at value (the signal itself is filled by the next prepare).
    void reset(float value)
    {
        last = value;
        changed = false;
    }
    // The prepare: the whole signal at the last value.
    void fill()
    {
        fillSignalRange(samples.get(), owner.getVectorSize(), last, 0);
        changed = false;
    }
    // A block's end: a block that stepped leaves its n samples at the last value for the next one.
    void endBlock(Index n)
    {
        if (!changed)
            return;
        fillSignalRange(samples.get(), n, last, 0);
        changed = false;
    }

private:
    GeneratedPatcher& owner;
    SignalBuffer samples;
    float last;
    bool changed = false;
};

} // namespace PRT
