#pragma once

#include "patch/core/Button.h"
#include "patch/core/ControlRateRamp.h"
#include "patch/core/CosineOscillator.h"
#include "patch/core/CrossfadedDelay.h"
#include "patch/core/DataViewSlot.h"
#include "patch/core/HeldSignal.h"
#include "patch/core/LoadTimeObjects.h"
#include "patch/core/MessageBox.h"
#include "patch/core/NumberBox.h"
#include "patch/core/Quillmore.h"
#include "patch/core/SignalBuffer.h"
#include "patch/core/SignalMonitor.h"
#include "patch/core/Toggle.h"
#include "patch/space/OutputLimiter.h"

namespace PRT
{

// "TapeDelayOG": the tape echo. Two five-second lines with four-point interpolation whose time
// glides like a tape changing speed (the right line's time offset by a factor), the echo filter
// swept by a cosine LFO, the output limiter on the echo, and the saturating feedback amplifier whose
// output re-enters the lines one engine block later.
//
// The echo time: the free time (ms) waits in message_obj-42 behind a gate that is open while sync
// is off; the synced time (host tempo × note division) reaches the conversion to samples through a
// gate open while sync is on. A sync switch acts 5 ms later, when the re-send passes both. The glide
// time is 0 for 200 ms after start-up and then rises to 0.7 × sr samples over 500 ms, so the first
// time set applies at once and later ones glide; a new sample rate restarts that ramp and re-sends
// the time in force, so that its milliseconds hold.
class Quillmore::PRTSubpatcher_48 : public GeneratedPatcher
{
public:
    class PRTSubpatcher_32; // "TapeDelayOG/FeedbackAmp"
    class PRTSubpatcher_33; // "TapeDelayOG/Biquad"

    // The clock of the sync switch's 5 ms delay, which the EchoSyncOn setter schedules.
    static constexpr ClockId syncDelayClock = 0xaf1d2667;
    static constexpr float syncDelayMs = 5.0f;
    static constexpr float maximumSeconds = 5.0f;

    PRTSubpatcher_48();

    // EchoFilterLFOAmount 0..100: the depth of the echo filter's LFO.
    virtual void setLfoAmountInput(float amount);
    // hostTempo in beats per minute: the tempo the synced echo time follows.
    virtual void setHostTempoInput(float tempo);
    // EchoSyncOn 0 or 1: sets the gates now and re-sends the time 5 ms later.
    virtual void setSyncOnInput(float syncOn);

    void setupObjects() override;
    void allocateDataRefs() override;
    void processDataViewUpdate(DataRefIndex index, MillisecondTime time) override;

    PRTSubpatcher_32* feedbackAmp = nullptr;
    PRTSubpatcher_33* biquad = nullptr;

    // The module's objects, in its object order.
    NumberBox number_obj_48{*this, HashedText("TapeDelayOG/number_obj-48")};   // EchoTime in ms
    MessageBox message_obj_42{*this, HashedText("TapeDelayOG/message_obj-42")}; // the free time, until released
    Toggle toggle_obj_113{*this, HashedText("TapeDelayOG/toggle_obj-113")};     // EchoSyncOn
    NumberBox number_obj_101{*this, HashedText("TapeDelayOG/number_obj-101")};  // EchoSyncDiv index
    MessageBox message_obj_30{*this, HashedText("TapeDelayOG/message_obj-30")}; // the host tempo
    NumberBox number_obj_103{*this, HashedText("TapeDelayOG/number_obj-103")};  // the synced time in ms
    MessageBox message_obj_54{*this, HashedText("TapeDelayOG/message_obj-54")}; // shows T in samples
    NumberBox number_obj_132{*this, HashedText("TapeDelayOG/number_obj-132")};  // EchoStOffset
    NumberBox number_obj_68{*this, HashedText("TapeDelayOG/number_obj-68")};    // EchoFilterLFOSpeed
    MessageBox message_obj_67{*this, HashedText("TapeDelayOG/message_obj-67")}; // the top glide time in ms
    NumberBox number_obj_14{*this, HashedText("TapeDelayOG/number_obj-14")};    // that time in samples
    MessageBox message_obj_56{*this, HashedText("TapeDelayOG/message_obj-56")}; // the glide ramp's program
    MessageBox message_obj_27{*this, HashedText("TapeDelayOG/message_obj-27")}; // display only
    Button button_obj_40{*this, HashedText("TapeDelayOG/button_obj-40")};   // the sample-rate chain
    Button button_obj_45{*this, HashedText("TapeDelayOG/button_obj-45")};   // releases the free time
    Button button_obj_76{*this, HashedText("TapeDelayOG/button_obj-76")};   // sends the glide program
    Button button_obj_108{*this, HashedText("TapeDelayOG/button_obj-108")}; // a new tempo
    Button button_obj_115{*this, HashedText("TapeDelayOG/button_obj-115")}; // the re-send after a switch
    LoadBang loadbang_obj_90{*this, HashedText("TapeDelayOG/loadbang_obj-90")};
    SignalMonitor numberTilde_obj_5{*this, HashedText("TapeDelayOG/number~_obj-5"), clocks::monitorA};     // glided time
    SignalMonitor numberTilde_obj_161{*this, HashedText("TapeDelayOG/number~_obj-161"), clocks::monitorB}; // right time
    ControlRateRamp glideRamp{*this, clocks::rampStep};
    HeldSignal echoTime{*this}; // T in samples, from each new value's sample offset on

    OwnedFloatDataRef delaytilde_01_del_bufferobj{*this, "delaytilde_01_del_bufferobj"};
    OwnedFloatDataRef delaytilde_02_del_bufferobj{*this, "delaytilde_02_del_bufferobj"};
    TopLevelDataView<Float64Buffer> cosineTable{*this, Quillmore::cosineTableIndex};

    // Control values.
    float echoTimeMs = 0.0f;      // number_obj-48's last value
    float freeGate = 0.0f;        // open (1) while sync is off
    float syncGate = 0.0f;        // open (1) while sync is on
    float hostTempo = 0.0f;       // BPM of the synced time (message_obj-30's first element)
    float msToSamples = 0.0f;     // sr × 0.001 once the sample-rate chain ran
    float glideTopMs = 0.0f;      // k: message_obj-67's first element
    float glidePackSamples = 0.0f; // X of the glide program [0, 0, 0, 200, X, 500]
    float storedSampleRate = 0.0f; // the rate the sample-rate chain last saw
    float glideTime = 0.0f;       // G1, in samples
    float offsetGlideTime = 0.0f; // G2 = G1 / 4
    float stereoOffsetTarget = 0.0f; // K = 0.75 × offset³
    float lfoRate = 0.0f;
    float lfoAmountFactor = 0.01f;
    float lfoAmountInput = 0.0f;
    float lfoAmount = 0.0f; // A

    // Signal state.
    float glidedTime = 0.0f;   // the first follower
    float offsetFactor = 0.0f; // the second follower
    dsp::CosineOscillator lfo;
    dsp::CrossfadedDelay left{dsp::CrossfadedDelay::Interpolation::FourPoint};
    dsp::CrossfadedDelay right{dsp::CrossfadedDelay::Interpolation::FourPoint};
    dsp::OutputLimiter limiter;

protected:
    void createChildren() override;
    void prepareSignalObjects(bool changed) override;
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;
    void onClock(ClockId clockId, bool hasValue, ParameterValue value) override;

private:
    // A time in ms through the conversion: T from the current sample offset on.
    void convertTime(float ms);
    void releaseFreeTime(const list& content);
    void computeSyncedTime(float index);
    void runSampleRateChain();
    void sendGlidePack();
    void sizeLine(dsp::CrossfadedDelay& line, OwnedFloatDataRef& storage, float sampleRate, bool resize);
    void bindLines();
    void bindCosineTable();

    list glidePack;
    bool signalObjectsReady = false;

    SignalBuffer delayedL{*this}, delayedR{*this};   // the lines' outputs
    SignalBuffer timeL{*this}, timeR{*this};         // Ts and TR
    SignalBuffer modulation{*this};                  // LFO × A
    SignalBuffer filteredL{*this}, filteredR{*this}; // the echo filter's outputs
    SignalBuffer feedbackL{*this}, feedbackR{*this}; // the amplifier's outputs, for the next block
};

} // namespace PRT

#include "patch/space/EchoFilter.h"
#include "patch/space/FeedbackAmp.h"
