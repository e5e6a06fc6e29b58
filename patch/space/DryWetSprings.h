#pragma once

#include "patch/core/NumberBox.h"
#include "patch/core/OnePoleSmoother.h"
#include "patch/core/Quillmore.h"
#include "patch/core/SignalBuffer.h"
#include "patch/core/SignalMonitor.h"
#include "patch/core/Slider.h"

namespace PRT
{

// "DryWetSprings": blends spring models A and B under SpringAB (A weighted 1 − ab², B weighted ab)
// and mixes them into the echo mixer's output under SpringMix: in wet/dry mode the dry part falls
// as 1 − m³, in send/return mode it stays at 1.
class Quillmore::PRTSubpatcher_46 : public GeneratedPatcher
{
public:
    PRTSubpatcher_46();

    // SpringAB 0..100: the blend of spring models A and B, shown on slider_obj-37.
    virtual void setBlendInput(float springAB);
    // The mix factor SpringMix × 0.01, from SpringUtilities.
    void setSpringMix(float mix) { mixTarget = mix; }

    void setupObjects() override;

    Slider slider_obj_37{*this, HashedText("DryWetSprings/slider_obj-37")};
    NumberBox number_obj_53{*this, HashedText("DryWetSprings/number_obj-53")}; // SendRetMode
    // Monitors of the weights, each shown on a display slider.
    SignalMonitor numberTilde_obj_47{*this, HashedText("DryWetSprings/number~_obj-47"), clocks::monitorA}; // A weight
    SignalMonitor numberTilde_obj_36{*this, HashedText("DryWetSprings/number~_obj-36"), clocks::monitorB}; // A/B
    SignalMonitor numberTilde_obj_45{*this, HashedText("DryWetSprings/number~_obj-45"), clocks::monitorC}; // mix
    SignalMonitor numberTilde_obj_46{*this, HashedText("DryWetSprings/number~_obj-46"), clocks::monitorD}; // dry
    Slider slider_obj_40{*this, HashedText("DryWetSprings/slider_obj-40")};
    Slider slider_obj_41{*this, HashedText("DryWetSprings/slider_obj-41")};
    Slider slider_obj_72{*this, HashedText("DryWetSprings/slider_obj-72")};
    Slider slider_obj_48{*this, HashedText("DryWetSprings/slider_obj-48")};

    float blendFactor = 0.01f;
    float blendInput = 0.0f;
    float blendProduct = 0.0f;
    float blendTarget = 0.0f;
    float mixTarget = 0.0f;
    float mixMode = 1.0f; // until the top level first writes SendRetMode

    // The three one-poles: A/B position, mix, dry gain.
    dsp::OnePoleSmoother blend{0.01f};
    dsp::OnePoleSmoother mix{0.01f};
    dsp::OnePoleSmoother dry{0.01f};

protected:
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;

private:
    SignalBuffer aWeight{*this};
    SignalBuffer blendSignal{*this};
    SignalBuffer mixSignal{*this};
    SignalBuffer drySignal{*this};
};

} // namespace PRT
