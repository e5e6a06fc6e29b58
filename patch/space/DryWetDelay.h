#pragma once

#include "patch/core/NumberBox.h"
#include "patch/core/Quillmore.h"
#include "patch/core/SignalBuffer.h"
#include "patch/core/SignalMonitor.h"
#include "patch/core/Slider.h"

namespace PRT
{

// "DryWetDelay": mixes the section input with the echo under EchoMix and SendRetMode; its third
// output is the weighted echo for the analyser.
class Quillmore::PRTSubpatcher_47 : public GeneratedPatcher
{
public:
    PRTSubpatcher_47() : GeneratedPatcher({"DryWetDelay", 4, 3})
    {
        slider_obj_1.onValue = [this](float mix) { echoMix = mix; };
        number_obj_38.onValue = [this](float mode) { mixMode = mode; };
    }

    // EchoMix 0..100, shown on slider_obj-1.
    virtual void setMixInput(float echoMixPercent)
    {
        mixInput = echoMixPercent;
        slider_obj_1.setSliderFromRange(echoMixPercent * mixFactor, 0.0f, 1.0f);
    }

    void setupObjects() override
    {
        numberTilde_obj_25.setUp(SignalMonitor::FollowInput);
        numberTilde_obj_35.setUp(SignalMonitor::FollowInput);
        number_obj_38.setUp(NumberBox::floatFormat);
    }

    Slider slider_obj_1{*this, HashedText("DryWetDelay/slider_obj-1")};
    NumberBox number_obj_38{*this, HashedText("DryWetDelay/number_obj-38")}; // SendRetMode
    SignalMonitor numberTilde_obj_25{*this, HashedText("DryWetDelay/number~_obj-25"), clocks::monitorA};
    SignalMonitor numberTilde_obj_35{*this, HashedText("DryWetDelay/number~_obj-35"), clocks::monitorB};

    float mixFactor = 0.01f;
    float mixInput = 0.0f;
    float echoMix = 0.0f;
    float mixMode = 0.0f;

protected:
    // Stand-in until the mixer is built: the section input passes dry, no echo reaches the analyser.
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override
    {
        copySignal(inputs[0], outputs[0], n);
        copySignal(inputs[1], outputs[1], n);
        fillSignalRange(outputs[2], n, 0.0f, 0);
    }
};

} // namespace PRT
