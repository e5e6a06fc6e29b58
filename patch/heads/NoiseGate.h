#pragma once

#include "patch/core/Button.h"
#include "patch/core/ClockDelay.h"
#include "patch/core/ControlRateRamp.h"
#include "patch/core/HeldSignal.h"
#include "patch/core/HysteresisTrigger.h"
#include "patch/core/LoadTimeObjects.h"
#include "patch/core/MessageBox.h"
#include "patch/core/NumberBox.h"
#include "patch/core/Quillmore.h"
#include "patch/core/SignalMonitor.h"
#include "patch/core/SignalScope.h"
#include "patch/core/Slide.h"
#include "patch/core/Toggle.h"

namespace PRT
{

// "NoiseGate": lets the hiss through while the program is present (its key, at least 0.01) and lets
// it die away after the program stops, by a slide that opens over 96 samples and closes over
// NoiseGateTime × 14.4 samples (fixed sample counts, the same at every rate). NoiseGateTime's maximum
// switches the gate off (always open). The hiss is muted at start-up and fades in over 500 ms from
// 500 ms after the first prepare, and again after every change of the sample rate.
class Quillmore::PRTSubpatcher_42 : public GeneratedPatcher
{
public:
    static constexpr float gateOffTime = 30000.0f;
    static constexpr ClockId startDelayClock = 0xaf1d2667;
    static constexpr ClockId forceDelayClock = 0x36f5e469;
    static constexpr ClockId rateDelayClock = 0xf3098568;

    PRTSubpatcher_42();

    // NoiseGateTime 30..30000 ms. The new decay length reaches the slide at once (the slide takes it
    // after the length has been computed, not before).
    virtual void setGateTimeInput(float time);

    void setupObjects() override;

    float getGainLeft() const { return gainLeft; }
    float getGainRight() const { return gainRight; }
    float getDecaySamples() const { return decaySamples; }
    float getSlideUp() const { return slideUp; }
    float getSlideDown() const { return slideDown; }

    LoadBang loadbang_obj_1{*this, HashedText("NoiseGate/loadbang_obj-1")};
    Button button_obj_34{*this, HashedText("NoiseGate/button_obj-34")}; // start-up
    Button button_obj_26{*this, HashedText("NoiseGate/button_obj-26")}; // start-up: delays, forced opening
    Button button_obj_49{*this, HashedText("NoiseGate/button_obj-49")}; // the decay length
    Button button_obj_60{*this, HashedText("NoiseGate/button_obj-60")}; // the lengths into the slide
    Toggle toggle_obj_41{*this, HashedText("NoiseGate/toggle_obj-41")}; // gate off
    Toggle toggle_obj_57{*this, HashedText("NoiseGate/toggle_obj-57")}; // slide lengths on (off at start-up)
    NumberBox number_obj_69{*this, HashedText("NoiseGate/number_obj-69")}; // trigger threshold
    NumberBox number_obj_18{*this, HashedText("NoiseGate/number_obj-18")}; // attack in samples
    NumberBox number_obj_14{*this, HashedText("NoiseGate/number_obj-14")}; // decay in samples
    NumberBox number_obj_55{*this, HashedText("NoiseGate/number_obj-55")}; // decay in effect
    NumberBox number_obj_44{*this, HashedText("NoiseGate/number_obj-44")}; // gate-off value
    SignalMonitor numberTilde_obj_46{*this, HashedText("NoiseGate/number~_obj-46"), clocks::monitorB}; // trigger
    SignalMonitor numberTilde_obj_63{*this, HashedText("NoiseGate/number~_obj-63"), clocks::monitorB}; // envelope
    SignalScope scope_obj_32{*this, HashedText("NoiseGate/scope~_obj-32")};
    MessageBox message_obj_43{*this, HashedText("NoiseGate/message_obj-43")}; // [0, 0, 0, 200]
    MessageBox message_obj_52{*this, HashedText("NoiseGate/message_obj-52")}; // [0, 0, 1, 500]: fade-in
    MessageBox message_obj_72{*this, HashedText("NoiseGate/message_obj-72")}; // [0.01]
    MessageBox message_obj_29{*this, HashedText("NoiseGate/message_obj-29")}; // [48000] × 0.002
    MessageBox message_obj_31{*this, HashedText("NoiseGate/message_obj-31")}; // [48000]
    MessageBox message_obj_24{*this, HashedText("NoiseGate/message_obj-24")}; // [1]: forced open
    MessageBox message_obj_21{*this, HashedText("NoiseGate/message_obj-21")}; // [0]: forced opening over
    MessageBox message_obj_37{*this, HashedText("NoiseGate/message_obj-37")}; // [0]
    MessageBox message_obj_38{*this, HashedText("NoiseGate/message_obj-38")}; // [1]
    ControlRateRamp fadeRamp{*this, clocks::rampStep};
    ClockDelay startDelay{*this, startDelayClock, 500.0};
    ClockDelay forceDelay{*this, forceDelayClock, 3.0};
    ClockDelay rateDelay{*this, rateDelayClock, 500.0};
    HeldSignal disableSignal{*this};
    HeldSignal forceSignal{*this};

protected:
    // Inputs 0 and 1: the hiss; input 2: the key. Outputs 0 and 1: the gated hiss.
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;
    // A new sample rate mutes the hiss and starts the rate delay, whose event fades it in again.
    void prepareSignalObjects(bool changed) override;

private:
    void setSlideLengths(float up, float down);

    float gainLeft = 0.0f;
    float gainRight = 0.0f;
    dsp::HysteresisTrigger trigger;
    dsp::Slide slide;
    float slideUp = 1.0f;
    float slideDown = 1.0f;
    float attackCount = 0.0f;
    float attackFactor = 0.002f;
    float decayTime = 0.0f;
    float decayScale = 0.0003f;
    float decayFactor = 0.0f;
    float sampleCount = 0.0f;
    float slideEnableUp = 0.0f;
    float slideEnableDown = 0.0f;
    float attackSamples = 0.0f;
    float decaySamples = 0.0f;
    float lastSampleRate = 0.0f;
    bool ratePrepared = false;

    SignalBuffer disableValues{*this};
    SignalBuffer forceValues{*this};
    SignalBuffer triggered{*this};
    SignalBuffer envelope{*this};
};

} // namespace PRT
