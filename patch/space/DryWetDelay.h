#pragma once

#include "patch/core/NumberBox.h"
#include "patch/core/Quillmore.h"
#include "patch/core/SignalBuffer.h"
#include "patch/core/SignalMonitor.h"
#include "patch/core/SmoothedSignal.h"
#include "patch/core/Slider.h"

namespace PRT
{

// "DryWetDelay": mixes the section input with the echo under EchoMix and SendRetMode. The wet gain
// glides to m = EchoMix / 100 and the dry gain to clamp(1 − m³ + mode, 0, 1), so in wet/dry mode
// the input falls as the echo rises and in send/return mode it stays at full level. Its third output
// is the weighted echo summed to mono, for the analyser.
class Quillmore::PRTSubpatcher_47 : public GeneratedPatcher
{
public:
    PRTSubpatcher_47();

    // EchoMix 0..100, shown on slider_obj-1, whose value is the wet target.
    virtual void setMixInput(float echoMixPercent);

    void setupObjects() override;

    Slider slider_obj_1{*this, HashedText("DryWetDelay/slider_obj-1")};
    Slider slider_obj_48{*this, HashedText("DryWetDelay/slider_obj-48")}; // shows the dry gain
    NumberBox number_obj_38{*this, HashedText("DryWetDelay/number_obj-38")}; // SendRetMode
    SignalMonitor numberTilde_obj_25{*this, HashedText("DryWetDelay/number~_obj-25"), clocks::monitorA}; // dry
    SignalMonitor numberTilde_obj_35{*this, HashedText("DryWetDelay/number~_obj-35"), clocks::monitorB}; // wet

    float mixFactor = 0.01f;
    float mixInput = 0.0f;
    float cubeInput = 0.0f; // EchoMix × 0.01: the dry target falls with its cube
    float wetTarget = 0.0f;
    float mixMode = 1.0f;   // until the top level first writes SendRetMode

    // The two gains, each gliding by 0.01 of the distance per sample from 0 at start-up.
    SmoothedSignal dry{*this, 0.01f};
    SmoothedSignal wet{*this, 0.01f};

protected:
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;

private:
    SignalBuffer dryGain{*this};
};

} // namespace PRT
