#pragma once

#include "patch/core/NumberBox.h"
#include "patch/core/Quillmore.h"
#include "patch/core/SignalBuffer.h"
#include "patch/core/Slider.h"

namespace PRT
{

// "DryWetSprings": mixes the echo mixer's output with the two spring models under SpringAB,
// SpringMix and SendRetMode.
class Quillmore::PRTSubpatcher_46 : public GeneratedPatcher
{
public:
    PRTSubpatcher_46() : GeneratedPatcher({"DryWetSprings", 6, 2})
    {
        slider_obj_37.onValue = [this](float blend) { springBlend = blend; };
        number_obj_53.onValue = [this](float mode) { mixMode = mode; };
    }

    // SpringAB 0..100: the blend of spring models A and B, shown on slider_obj-37.
    virtual void setBlendInput(float springAB)
    {
        blendInput = springAB;
        slider_obj_37.setSliderFromRange(springAB * blendFactor, 0.0f, 1.0f);
    }
    // SpringMix 0..100, from SpringUtilities.
    void setSpringMix(float springMix) { springMixInput = springMix; }

    void setupObjects() override { number_obj_53.setUp(NumberBox::floatFormat); }

    Slider slider_obj_37{*this, HashedText("DryWetSprings/slider_obj-37")};
    NumberBox number_obj_53{*this, HashedText("DryWetSprings/number_obj-53")}; // SendRetMode

    float blendFactor = 0.01f;
    float blendInput = 0.0f;
    float springBlend = 0.0f;
    float springMixInput = 0.0f;
    float mixMode = 0.0f;

protected:
    // Stand-in until the mixer is built: the echo mixer's output passes dry.
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override
    {
        copySignal(inputs[0], outputs[0], n);
        copySignal(inputs[1], outputs[1], n);
    }
};

} // namespace PRT
