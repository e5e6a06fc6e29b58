#pragma once

#include "patch/core/LoadTimeObjects.h"
#include "patch/core/MessageBox.h"
#include "patch/core/NumberBox.h"
#include "patch/core/Quillmore.h"
#include "patch/core/RandomState.h"
#include "patch/core/SignalMonitor.h"

namespace PRT
{

// "NoiseGen": the tape hiss, two noise generators coloured by its "Biquad" at the NoiseAmnt level.
class Quillmore::PRTSubpatcher_40 : public GeneratedPatcher
{
public:
    class PRTSubpatcher_29; // "NoiseGen/Biquad"

    PRTSubpatcher_40();

    void setupObjects() override;

    PRTSubpatcher_29* biquad = nullptr;

    NumberBox number_obj_46{*this, HashedText("NoiseGen/number_obj-46")}; // NoiseAmnt × 0.01
    MessageBox message_obj_15{*this, HashedText("NoiseGen/message_obj-15")};
    LoadBang loadmess_obj_26{*this, HashedText("NoiseGen/loadmess_obj-26"), clocks::loadObjectA};

    RandomState noiseStateLeft;
    RandomState noiseStateRight;
    int32_t seedOffset = 0;
    float hissGainLeft = 0.0f;
    float hissGainRight = 0.0f;

protected:
    void createChildren() override;
    // Stand-in until the hiss is built: silent.
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;
};

// "NoiseGen/Biquad": the band-pass that colours the hiss; NoiseFreq sets its centre.
class Quillmore::PRTSubpatcher_40::PRTSubpatcher_29 : public GeneratedPatcher
{
public:
    PRTSubpatcher_29();

    // NoiseFreq 1..20000 Hz, mapped onto 0..127 and from there onto about 20 Hz .. 20 kHz.
    virtual void setFrequencyInput(float noiseFreq);

    void setupObjects() override;

    SignalMonitor numberTilde_obj_32{*this, HashedText("NoiseGen/Biquad/number~_obj-32"), clocks::monitorA}; // centre
    SignalMonitor numberTilde_obj_18{*this, HashedText("NoiseGen/Biquad/number~_obj-18"), clocks::monitorB}; // gain
    MessageBox message_obj_41{*this, HashedText("NoiseGen/Biquad/message_obj-41")}; // filter mode
    MessageBox message_obj_3{*this, HashedText("NoiseGen/Biquad/message_obj-3")};   // Q
    LoadBang loadbang_obj_1{*this, HashedText("NoiseGen/Biquad/loadbang_obj-1"), clocks::secondLoadBang};
    LoadBang loadbang_obj_4{*this, HashedText("NoiseGen/Biquad/loadbang_obj-4")};

    // The frequency mapping's range.
    float frequencyInLow = 0.0f, frequencyInHigh = 20000.0f, frequencyOutLow = 0.0f, frequencyOutHigh = 127.0f;
    float filterQ = 1.0f;
    int64_t filterMode = 15;

protected:
    void processBlock(const SampleValue* const*, SampleValue* const*, Index) override {}
};

} // namespace PRT
