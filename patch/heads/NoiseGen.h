#pragma once

#include "patch/core/LoadTimeObjects.h"
#include "patch/core/MessageBox.h"
#include "patch/core/NoiseGenerator.h"
#include "patch/core/NumberBox.h"
#include "patch/core/Quillmore.h"
#include "patch/core/SignalMonitor.h"
#include "patch/core/StereoBiquad.h"

namespace PRT
{

// "NoiseGen": the tape hiss. Two white-noise generators, seeded apart, coloured by its "Biquad" and
// scaled by (NoiseAmnt / 100)² × 0.1; NoiseAmnt 0 gives exact silence.
class Quillmore::PRTSubpatcher_40 : public GeneratedPatcher
{
public:
    class PRTSubpatcher_29; // "NoiseGen/Biquad"

    static constexpr double hissScale = 0.1;

    PRTSubpatcher_40();

    // Message box contents, the amount's format, then the two generators' seeds (through the
    // process-wide generator, so a fixed random seed repeats them).
    void setupObjects() override;

    PRTSubpatcher_29* biquad = nullptr;

    NumberBox number_obj_46{*this, HashedText("NoiseGen/number_obj-46")}; // NoiseAmnt × 0.01
    MessageBox message_obj_15{*this, HashedText("NoiseGen/message_obj-15")}; // the colouring filter's gain
    LoadBang loadmess_obj_26{*this, HashedText("NoiseGen/loadmess_obj-26"), clocks::loadObjectA};

    dsp::NoiseGenerator noiseLeft;
    dsp::NoiseGenerator noiseRight;
    int32_t seedOffset = 0;
    float hissGainLeft = 0.0f;
    float hissGainRight = 0.0f;

protected:
    void createChildren() override;
    // No inputs; outputs 0 and 1 are the left and right hiss.
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;

private:
    SignalBuffer whiteLeft{*this};
    SignalBuffer whiteRight{*this};
    SignalBuffer colouredLeft{*this};
    SignalBuffer colouredRight{*this};
};

// "NoiseGen/Biquad": the band-pass (q 0.2, 0 dB at its centre) that colours the hiss; NoiseFreq sets
// its centre. Both channels share one design, redesigned at most once per block.
class Quillmore::PRTSubpatcher_40::PRTSubpatcher_29 : public GeneratedPatcher
{
public:
    PRTSubpatcher_29();

    // NoiseFreq 1..20000 Hz onto the centre 20 Hz × 1000^(NoiseFreq / 20000), by way of a 0..127
    // pitch number (15000 gives about 3556.56 Hz, 20000 about 20000.006 Hz).
    virtual void setFrequencyInput(float noiseFreq);

    void setupObjects() override;

    // The centre the filter is asked for (before the clamp to the Nyquist frequency).
    float getCentreFrequency() const { return numberTilde_obj_32.getSetValue(); }
    // The coefficients both channels run on.
    const dsp::BiquadCoefficients& getCoefficients() const { return filter.coefficients(); }

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
    // Inputs 0 and 1: white noise; outputs 0 and 1: the coloured noise.
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;
    // The design and both filter states start afresh on the first prepare and on any change.
    void prepareSignalObjects(bool changed) override;

private:
    dsp::StereoBiquad filter;
    SignalBuffer frequency{*this};
    SignalBuffer gain{*this};
};

} // namespace PRT
