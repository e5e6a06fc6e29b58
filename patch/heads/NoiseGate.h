#pragma once

#include "patch/core/Button.h"
#include "patch/core/LoadTimeObjects.h"
#include "patch/core/NumberBox.h"
#include "patch/core/Quillmore.h"
#include "patch/core/SignalBuffer.h"
#include "patch/core/Toggle.h"

namespace PRT
{

// "NoiseGate": gates the hiss by the program's level; NoiseGateTime sets its decay, its maximum
// switches the gate off.
class Quillmore::PRTSubpatcher_42 : public GeneratedPatcher
{
public:
    static constexpr float gateOffTime = 30000.0f;

    PRTSubpatcher_42() : GeneratedPatcher({"NoiseGate", 3, 2})
    {
        number_obj_14.onValue = [this](float samples) { decaySamples = samples; };
        button_obj_49.onBang = [this] { number_obj_14.setNumberValue(decayFactor * sampleCount); };
    }

    // NoiseGateTime 30..30000 ms.
    virtual void setGateTimeInput(float time)
    {
        button_obj_60.bangButton();
        toggle_obj_41.setToggleValue(time == gateOffTime ? 1.0f : 0.0f);
        decayTime = time;
        const float product = time * decayScale;
        button_obj_49.bangButton();
        decayFactor = product;
        number_obj_14.setNumberValue(decayFactor * sampleCount);
    }

    void setupObjects() override { number_obj_14.setUp(NumberBox::floatFormat); }

    Button button_obj_60{*this, HashedText("NoiseGate/button_obj-60")}; // applies the lengths to the slide
    Toggle toggle_obj_41{*this, HashedText("NoiseGate/toggle_obj-41")}; // gate off
    Button button_obj_49{*this, HashedText("NoiseGate/button_obj-49")};
    NumberBox number_obj_14{*this, HashedText("NoiseGate/number_obj-14")}; // decay in samples
    LoadBang loadbang_obj_1{*this, HashedText("NoiseGate/loadbang_obj-1")};

    float decayTime = 0.0f;
    float decayScale = 0.0003f;
    float decayFactor = 0.0f;
    float sampleCount = 48000.0f;
    float decaySamples = 0.0f;

protected:
    // Stand-in until the gate is built: the hiss passes ungated.
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override
    {
        copySignal(inputs[0], outputs[0], n);
        copySignal(inputs[1], outputs[1], n);
    }
};

} // namespace PRT
