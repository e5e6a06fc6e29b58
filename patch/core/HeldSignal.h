#pragma once

#include "patch/core/PatchObject.h"
#include "patch/core/SignalBuffer.h"

namespace PRT
{

// Turns values that arrive between blocks (from clocks and messages, each at its sample offset
// inside the coming block) into a sample-accurate signal: the block's samples before a value's
// offset keep the value before it. Values set before the class was prepared only change the held
// value.
class HeldSignal : public PatchObject
{
public:
    explicit HeldSignal(GeneratedPatcher& owner);

    // A new value from the owning class's current sample offset on.
    void set(float value);
    // The held value, without touching the block's earlier samples (set-up).
    void setLastValue(float value) { lastValue = value; }
    float getLastValue() const { return lastValue; }

    // Writes the block's n samples and starts the next block from the held value.
    void render(SampleValue* output, Index n);

    void prepare(bool changed) override;

private:
    SignalBuffer samples;
    Index filled = 0; // leading samples of the block that hold earlier values
    float lastValue = 0.0f;
    bool initialised = false;
};

} // namespace PRT
