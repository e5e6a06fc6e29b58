#pragma once

#include "patch/core/Button.h"
#include "patch/core/DataViewSlot.h"
#include "patch/core/LoadTimeObjects.h"
#include "patch/core/MessageBox.h"
#include "patch/core/NumberBox.h"
#include "patch/core/Quillmore.h"
#include "patch/core/SegmentRamp.h"
#include "patch/core/SignalMonitor.h"
#include "patch/core/SignalScope.h"
#include "patch/core/Slide.h"
#include "patch/core/Toggle.h"
#include "patch/heads/TapeDelayLine.h"

#include <array>

namespace PRT
{

// "TapeStopper": stops the tape (TapeStop 1) and starts it again (TapeStop 0), with ramps scaled by
// TapeStopInertia. Both channels run through a delay line whose read point normally sits right
// behind the write point. A stop lets the read point fall behind along a cubic curve (the playback
// slows to a standstill) while the output level closes; a start throws the read point back and
// brings it forward along a quarter sine (the playback climbs back to speed), then crossfades to the
// direct signal. The third output is the hiss level, closed after a stop, open again at a start.
// The outputs are silent until TapeStop is first set.
class Quillmore::PRTSubpatcher_53 : public GeneratedPatcher
{
public:
    static constexpr ClockId startClock = 0xaf1d2667;
    static constexpr ClockId crossfadeBackClock = 0xf3098568;
    static constexpr ClockId hissCloseClock = 0xa1951a17;
    static constexpr ClockId rampDoneClock = 0xef31b990;
    // The start curve's throw in samples, the same at every rate.
    static constexpr float startCurveSamples = 144000.0f;
    static constexpr float startCurveFloor = 0.72f;

    PRTSubpatcher_53();

    // TapeStopInertia 500..3000 ms: the stop and start times from M = 2 × inertia.
    virtual void setInertiaInput(float inertia);

    void setupObjects() override;
    void allocateDataRefs() override;

    // The stopper's own part of the start-up, which the warbler's load-time routine runs too after
    // button_obj-36: the values derived from the sample rate, without comparing the rate.
    virtual void applyStartupValues() { runSampleRateChain(getSampleRate()); }

    // What the chains have set, for tests and displays.
    float getStopThreshold() const { return stopThreshold; }
    float getStopDelayScale() const { return stopDelayScale; }
    float getCrossfadeBackDelay() const { return crossfadeBackDelayMs; }
    float getHissTarget() const { return hissTarget; }
    float getHissLevel() const { return hissSlide.value(); }
    float getDelayTime() const { return envelope.delay; }
    float getOutputLevel() const { return envelope.level; }
    const list& getStopList() const { return stopList; }
    const list& getStopCrossfadeList() const { return stopCrossfadeList; }
    const list& getStopLevelList() const { return stopLevelList; }
    const list& getCrossfadeBackList() const { return crossfadeBackList; }
    const list& getStartList() const { return startList; }
    const TapeDelayLine& leftLine() const { return delaytilde_05; }
    const TapeDelayLine& rightLine() const { return delaytilde_06; }

    SignalMonitor numberTilde_obj_42{*this, HashedText("TapeStopper/number~_obj-42"), clocks::monitorA};   // crossfade
    SignalMonitor numberTilde_obj_191{*this, HashedText("TapeStopper/number~_obj-191"), clocks::monitorB}; // gate × flag
    SignalMonitor numberTilde_obj_40{*this, HashedText("TapeStopper/number~_obj-40"), clocks::monitorC};   // hiss level
    SignalMonitor numberTilde_obj_28{*this, HashedText("TapeStopper/number~_obj-28"), clocks::monitorD};   // smoothed gate
    SignalMonitor numberTilde_obj_152{*this, HashedText("TapeStopper/number~_obj-152"), clocks::monitorE}; // output level
    SignalMonitor numberTilde_obj_46{*this, HashedText("TapeStopper/number~_obj-46"), clocks::monitorF};   // gate + offset
    SignalMonitor numberTilde_obj_378{*this, HashedText("TapeStopper/number~_obj-378"), 0xd5c114ec};       // delay time
    NumberBox number_obj_99{*this, HashedText("TapeStopper/number_obj-99")};   // stop threshold
    NumberBox number_obj_116{*this, HashedText("TapeStopper/number_obj-116")}; // start time y1, ms
    NumberBox number_obj_53{*this, HashedText("TapeStopper/number_obj-53")};   // stop crossfade, ms
    NumberBox number_obj_135{*this, HashedText("TapeStopper/number_obj-135")}; // crossfade-back delay, ms
    NumberBox number_obj_11{*this, HashedText("TapeStopper/number_obj-11")};   // crossfade-back factor
    Toggle toggle_obj_136{*this, HashedText("TapeStopper/toggle_obj-136")};    // TapeStop
    MessageBox message_obj_20{*this, HashedText("TapeStopper/message_obj-20")};   // hiss open
    MessageBox message_obj_59{*this, HashedText("TapeStopper/message_obj-59")};   // stop curve off
    MessageBox message_obj_166{*this, HashedText("TapeStopper/message_obj-166")}; // start ramp's segments
    MessageBox message_obj_21{*this, HashedText("TapeStopper/message_obj-21")};   // hiss close
    MessageBox message_obj_112{*this, HashedText("TapeStopper/message_obj-112")}; // [M]: the inertia fan-out
    MessageBox message_obj_110{*this, HashedText("TapeStopper/message_obj-110")}; // stop ramp's segments
    MessageBox message_obj_60{*this, HashedText("TapeStopper/message_obj-60")};   // stop curve on
    Button button_obj_119{*this, HashedText("TapeStopper/button_obj-119")}; // load-time bang
    Button button_obj_36{*this, HashedText("TapeStopper/button_obj-36")};   // hiss open
    Button button_obj_33{*this, HashedText("TapeStopper/button_obj-33")};   // hiss close
    Button button_obj_51{*this, HashedText("TapeStopper/button_obj-51")};   // stop chain
    Button button_obj_114{*this, HashedText("TapeStopper/button_obj-114")}; // start chain
    LoadBang loadbang{*this, HashedText("TapeStopper/loadbang_obj-190")};
    SignalScope scope_obj_13{*this, HashedText("TapeStopper/scope~_obj-13")};   // output level
    SignalScope scope_obj_32{*this, HashedText("TapeStopper/scope~_obj-32")};   // direct gain
    SignalScope scope_obj_41{*this, HashedText("TapeStopper/scope~_obj-41")};   // gate + offset
    SignalScope scope_obj_321{*this, HashedText("TapeStopper/scope~_obj-321")}; // delayed gain
    SignalScope scope_obj_204{*this, HashedText("TapeStopper/scope~_obj-204")}; // delay time
    SignalScope scope_obj_172{*this, HashedText("TapeStopper/scope~_obj-172")}; // start curve
    SignalScope scope_obj_104{*this, HashedText("TapeStopper/scope~_obj-104")}; // gate × flag
    SignalScope scope_obj_27{*this, HashedText("TapeStopper/scope~_obj-27")};   // smoothed gate
    SignalScope scope_obj_7{*this, HashedText("TapeStopper/scope~_obj-7")};     // hiss level
    SignalScope scope_obj_132{*this, HashedText("TapeStopper/scope~_obj-132")}; // cubed stop ramp
    OwnedFloatDataRef delaytilde_05_del_bufferobj{*this, "delaytilde_05_del_bufferobj"};
    OwnedFloatDataRef delaytilde_06_del_bufferobj{*this, "delaytilde_06_del_bufferobj"};

protected:
    void onClock(ClockId clockId, bool hasValue, ParameterValue value) override;
    void processDataViewUpdate(DataRefIndex index, MillisecondTime time) override;
    void prepareSignalObjects(bool changed) override;
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;

private:
    void connectObjects();
    void runStopChain();
    void runStartChain();
    void runStartClock();
    // message_obj-112's content L through its fan-out (L[0] = M; a second element replaces the
    // right operand of every multiplier it reaches).
    void runInertiaFanOut(const list& values);
    void runLoadTimeBang();
    void runSampleRateChain(float sampleRate);

    // The states the envelopes and the delay time carry from one sample to the next.
    struct EnvelopeState
    {
        float gate = 0.0f, level = 0.0f, hissEdge = 0.0f, delay = 0.0f;
    };
    // One sample of the envelopes and the delay time: the values it gives and the states after it.
    struct SampleStep
    {
        float cubed, flagged, offset;
        EnvelopeState after;
    };
    SampleStep stepOnce(const EnvelopeState& before, float levelRampValue, float stopValue, float curve) const;
    // The block's gains, envelopes and delay time, in the buffers the monitors and scopes read.
    struct EnvelopeSignals
    {
        SampleValue *direct, *delayedShare, *hiss, *gate, *flagged, *offset, *outLevel, *cubed, *curve, *smoothed;
    };
    EnvelopeSignals envelopeSignals();
    // What the last settled block filled the envelope signals with, and over how many samples: a
    // settled block on the same constants finds them in place (only this class writes them).
    struct SettledFill
    {
        std::array<float, 10> values{};
        EnvelopeSignals buffers{};
        Index samples = 0;
    };
    SettledFill settledFill;
    // The block sample by sample, from the rendered ramps.
    void renderMovingBlock(const SampleValue* level, const SampleValue* crossfade, const SampleValue* stop,
                           const SampleValue* start, float steadyDirect, float steadyDelayed, bool crossfadeSteady,
                           bool startSteady, Index n);

    // The segment lists the chains hand the ramps (element 4, index 3, follows the inertia).
    list stopList;
    list stopCrossfadeList;
    list stopLevelList;
    list startLevelList;
    list crossfadeBackList;
    list startList;

    // The multipliers' right operands that a list into the fan-out may replace.
    float crossfadeBackFactor = 0.066f;
    float clockDelayFactor = 0.333f;
    float stopCrossfadeFactor = 0.025f;
    float holdFactor = 0.75f;
    float crossfadeBackDelayMs = 200.0f;

    // Signal-side state.
    float stopThreshold = 0.5f;
    float stopFlag = 0.0f;
    float runOffsetA = 1.0f;
    float runOffsetB = 0.0f;
    float startEnable = 1.0f;
    float stopDelayEnable = 1.0f;
    float stopDelayScale = 144000.0f;
    float hissTarget = 0.0f;
    dsp::Slide hissSlide;
    EnvelopeState envelope;
    float lastSampleRate = 0.0f;
    bool linesPrepared = false;

    SegmentRamp stopRamp{*this, rampDoneClock};
    SegmentRamp crossfadeRamp{*this, rampDoneClock};
    SegmentRamp levelRamp{*this, rampDoneClock};
    SegmentRamp startRamp{*this, rampDoneClock};
    TapeDelayLine delaytilde_05{delaytilde_05_del_bufferobj, 0.5};
    TapeDelayLine delaytilde_06{delaytilde_06_del_bufferobj, 0.5};

    SignalBuffer levelRampSignal{*this};
    SignalBuffer crossfadeSignal{*this};
    SignalBuffer stopRampSignal{*this};
    SignalBuffer startRampSignal{*this};
    SignalBuffer directGain{*this};
    SignalBuffer delayedGain{*this};
    SignalBuffer hissLevel{*this};
    SignalBuffer smoothedGate{*this};
    SignalBuffer flaggedGate{*this};
    SignalBuffer offsetGate{*this};
    SignalBuffer outputLevel{*this};
    SignalBuffer cubedStopRamp{*this};
    SignalBuffer startCurve{*this};
    SignalBuffer smoothedDelay{*this};
    SignalBuffer delayTime{*this};
    SignalBuffer delayed{*this};
};

} // namespace PRT
