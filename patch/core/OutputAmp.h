#pragma once

#include "patch/core/ClockIds.h"
#include "patch/core/OnePoleSmoother.h"
#include "patch/core/Quillmore.h"
#include "patch/core/SignalMonitor.h"

namespace PRT
{

// "OutputAmp", the last stage before the bypass crossfade: a stereo arctangent saturator followed by
// the output level. Its drive grows with the power 1.5 of the smoothed saturation amount (0.01 at 0,
// 7 at 100); the curve is normalised so that a full-scale input stays at full scale. The level,
// Output × (0.0125 − 0.000025 × saturation), undoes the top level's input scale of 0.8 at Output 100
// and trims the output by up to 20 % as the saturation rises. Both the amount and the level are
// smoothed per sample (coefficient 0.005, about 200 samples); two monitors report drive and level.
class Quillmore::PRTSubpatcher_39 : public GeneratedPatcher
{
public:
    static constexpr HashedText levelMonitorPath{"OutputAmp/number~_obj-148"};
    static constexpr HashedText driveMonitorPath{"OutputAmp/number~_obj-137"};

    PRTSubpatcher_39();

    // The routes of "Saturate" (0..100) and "Output" (0..200), with the clamped parameter values;
    // the top level brings this class's time up to its own first.
    virtual void setSaturationInput(float saturate) { saturationInput = saturate; }
    virtual void setOutputLevelInput(float output) { outputLevelInput = output; }

    // Both monitors follow their inputs, each announced with "setup".
    void setupObjects() override;

    // In the order in which messages reach them.
    SignalMonitor levelMonitor{*this, levelMonitorPath, clocks::monitorB};
    SignalMonitor driveMonitor{*this, driveMonitorPath, clocks::monitorA};

private:
    // Inputs 0 and 1: left and right; outputs the same. The outputs may be the input buffers.
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;

    float saturationInput = 0.0f;
    float outputLevelInput = 0.0f;
    dsp::OnePoleSmoother saturationSmoother{0.005f};
    dsp::OnePoleSmoother levelSmoother{0.005f};

    SignalBuffer smoothedSaturation{*this};
    SignalBuffer driveThenLevel{*this};
    SignalBuffer saturatedLeft{*this};
    SignalBuffer saturatedRight{*this};
};

} // namespace PRT
