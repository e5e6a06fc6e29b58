#pragma once

#include "patch/core/PatchObject.h"

#include <functional>

namespace PRT
{

// A signal monitor ("OutputAmp/number~_obj-137"): its output either follows its input or ramps to a
// set value, and it reports its input's first sample of a block as a "monitor" list and as a value
// clock for its own class, at most once per report period and only when the value changed.
// Takes "mode" (1: ramp to the set value, 2: follow the input) and "sig" (the set value).
class SignalMonitor : public PatchObject
{
public:
    enum OutputMode : int
    {
        RampToSetValue = 0,
        FollowInput = 1
    };

    SignalMonitor(GeneratedPatcher& owner, HashedText path, ClockId clockId, float rampTimeMs = 0.0f,
                  float reportPeriodMs = 100.0f);

    // Set-up: the monitor's output mode, then "setup" with 1.
    void setUp(OutputMode mode);
    // A set value from inside the patch: stored, and reported with "assign" while the output ramps.
    void setNumberTildeInput(float value);

    // One block: the output (skipped when output is null, for a monitor nobody listens to), then the
    // report of input[0].
    void process(const SampleValue* input, SampleValue* output, Index n);

    float getSetValue() const { return setValue; }
    int getOutputMode() const { return outputMode; }
    float getLastReportedValue() const { return lastReported; }
    // Samples between reports: 100 ms at the class's rate, from the last prepare that set it up.
    int64_t getReportInterval() const { return reportInterval; }

    // The reported value, when its clock comes back at the end of the block.
    std::function<void(float)> onReport;

    void receiveNumber(MessageTag tag, float number) override;
    void receiveList(MessageTag tag, const list& values) override;
    void receiveClock(bool hasValue, ParameterValue value) override;
    void prepare(bool changed) override;

private:
    void setMode(float value);

    const float rampTimeMs;
    const float reportPeriodMs;
    float setValue = 0.0f;
    int outputMode = RampToSetValue;
    float rampLength = 0.0f;
    float lastSetValue = 0.0f;
    float currentOutput = 0.0f;
    float remainingSteps = 0.0f;
    float step = 0.0f;
    int64_t reportInterval = 0;
    int64_t countdown = 0;
    float lastReported = 0.0f;
    bool isSetUp = false;
    list report; // the one-value "monitor" list, prepared so that reports do not allocate
};

} // namespace PRT
