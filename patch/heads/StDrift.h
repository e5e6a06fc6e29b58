#pragma once

#include "patch/core/CosineOscillator.h"
#include "patch/core/LoadTimeObjects.h"
#include "patch/core/NumberBox.h"
#include "patch/core/RampPhasor.h"
#include "patch/core/RandomState.h"
#include "patch/core/SignalMonitor.h"
#include "patch/core/SignalScope.h"
#include "patch/heads/Warbler.h"

namespace PRT
{

// "Warbler/StDrift": makes the two tape channels wander apart. Output 0 (left) is its Instability
// child's random signal times d^1.7; output 1 (right) is a cosine whose frequency is its input plus a
// random offset gliding between −1 and +1 Hz, times min(0.66 d, 1). d is the drift amount 0..1; at 0
// both outputs are exactly 0.
class Quillmore::PRTSubpatcher_54::PRTSubpatcher_37 : public GeneratedPatcher
{
public:
    class PRTSubpatcher_36; // "Warbler/StDrift/Instability"

    PRTSubpatcher_37();

    // The amount inlet, d 0..1 (the warbler's number_obj-18 chain).
    void setAmountInput(float amount);

    void setupObjects() override;
    void allocateDataRefs() override;

    PRTSubpatcher_36* instability = nullptr;

    NumberBox number_obj_8{*this, HashedText("Warbler/StDrift/number_obj-8")};   // 0.66 d
    NumberBox number_obj_16{*this, HashedText("Warbler/StDrift/number_obj-16")}; // right gain
    NumberBox number_obj_18{*this, HashedText("Warbler/StDrift/number_obj-18")}; // d^1.7 (display)
    SignalMonitor numberTilde_obj_26{*this, HashedText("Warbler/StDrift/number~_obj-26"), clocks::monitorB};
    SignalScope scope_obj_103{*this, HashedText("Warbler/StDrift/scope~_obj-103")}; // output 0
    SignalScope scope_obj_27{*this, HashedText("Warbler/StDrift/scope~_obj-27")};   // random offset
    SignalScope scope_obj_24{*this, HashedText("Warbler/StDrift/scope~_obj-24")};   // output 1
    TopLevelDataView<Float64Buffer> cosineTable{*this, Quillmore::cosineTableIndex};

    float leftDriftGain = 0.0f;
    float driftCurveExponent = 1.7f;
    float driftSpeedScale = 0.66f;
    float rightDriftGain = 1.0f;
    float driftRateScale = 0.5f;
    float driftRateHz = 1.4f;

    // The random offset: a phase ramp that draws a new target at every wrap and glides there from
    // where it stood.
    RandomState driftRandom;
    dsp::RampPhasor offsetPhasor;
    float previousOffsetPhase = 0.0f;
    float offsetStart = 0.0f;
    float offsetTarget = 0.0f;
    float lastOffset = 0.0f;
    dsp::CosineOscillator oscillator;

protected:
    void createChildren() override;
    void processDataViewUpdate(DataRefIndex index, MillisecondTime time) override;
    void prepareSignalObjects(bool changed) override;
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;

private:
    void bindCosineTable();

    bool operatorsPrepared = false;
    SignalBuffer a{*this};
};

} // namespace PRT
