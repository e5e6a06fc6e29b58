#pragma once

#include "patch/core/PatchObject.h"

namespace PRT
{

// A signal scope ("NoiseGate/scope~_obj-32"): collects one value of its input per sampling interval
// (in peak mode, the largest magnitude since the last one, with its sign) and sends every 128 of them
// as a "monitor" list; announces itself with a "setup" list at each rate set-up. Takes no messages.
class SignalScope : public PatchObject
{
public:
    static constexpr size_t valuesPerReport = 128;

    SignalScope(GeneratedPatcher& owner, HashedText path, int64_t samplingInterval = 256);

    void process(const SampleValue* input, Index n);

    int64_t getMode() const { return mode; }

    void prepare(bool changed) override;

private:
    const int64_t samplingInterval;
    int64_t mode = 0;
    float countdown = 0.0f;
    float peak = 0.0f;
    bool isSetUp = false;
    list values; // room for a whole report, so that collecting does not allocate
    list setupValues; // room for the "setup" list, so that a prepare does not allocate
};

} // namespace PRT
