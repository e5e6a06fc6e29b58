#pragma once

#include "patch/core/Button.h"
#include "patch/core/DataViewSlot.h"
#include "patch/core/LoadTimeObjects.h"
#include "patch/core/MessageBox.h"
#include "patch/core/NumberBox.h"
#include "patch/core/Quillmore.h"
#include "patch/core/SignalMonitor.h"
#include "patch/core/Toggle.h"

namespace PRT
{

// "TapeDelayOG": the tape echo, with its feedback amplifier and its echo filter.
class Quillmore::PRTSubpatcher_48 : public GeneratedPatcher
{
public:
    class PRTSubpatcher_32; // "TapeDelayOG/FeedbackAmp"
    class PRTSubpatcher_33; // "TapeDelayOG/Biquad"

    // The clock of the sync switch's delay, and that delay.
    static constexpr ClockId syncDelayClock = 0xaf1d2667;

    PRTSubpatcher_48();

    // EchoFilterLFOAmount 0..100: the depth of the echo filter's LFO.
    virtual void setLfoAmountInput(float amount);
    // hostTempo in beats per minute: the tempo the synced echo time follows.
    virtual void setHostTempoInput(float tempo);
    // EchoSyncOn 0 or 1: restarts the sync delay, then switches between free and synced echo time.
    virtual void setSyncOnInput(float syncOn);

    void setupObjects() override;
    void allocateDataRefs() override;

    PRTSubpatcher_32* feedbackAmp = nullptr;
    PRTSubpatcher_33* biquad = nullptr;

    NumberBox number_obj_132{*this, HashedText("TapeDelayOG/number_obj-132")}; // EchoStOffset
    NumberBox number_obj_68{*this, HashedText("TapeDelayOG/number_obj-68")};   // EchoFilterLFOSpeed
    NumberBox number_obj_48{*this, HashedText("TapeDelayOG/number_obj-48")};   // EchoTime
    MessageBox message_obj_42{*this, HashedText("TapeDelayOG/message_obj-42")};
    MessageBox message_obj_30{*this, HashedText("TapeDelayOG/message_obj-30")}; // the host tempo
    Button button_obj_108{*this, HashedText("TapeDelayOG/button_obj-108")};     // recomputes the synced time
    Toggle toggle_obj_113{*this, HashedText("TapeDelayOG/toggle_obj-113")};     // EchoSyncOn
    NumberBox number_obj_101{*this, HashedText("TapeDelayOG/number_obj-101")};  // EchoSyncDiv index
    LoadBang loadbang{*this, HashedText("TapeDelayOG/loadbang_obj-1")};
    OwnedDataRef delaytilde_01_del_bufferobj{*this, "delaytilde_01_del_bufferobj"};
    OwnedDataRef delaytilde_02_del_bufferobj{*this, "delaytilde_02_del_bufferobj"};
    TopLevelDataView<Float64Buffer> cosineTable{*this, Quillmore::cosineTableIndex};

    float lfoAmountFactor = 0.01f;
    float lfoAmountInput = 0.0f;
    float lfoAmount = 0.0f;
    float lfoRate = 0.0f;
    float stereoOffset = 0.0f;
    float echoTimeMs = 0.0f;
    float hostTempo = 0.0f;
    float syncDivision = 0.0f;
    float syncWeight = 0.0f; // the synced time's share; the free time has 1 − syncWeight
    float syncDelayMs = 5.0f;
    bool syncDelayKeepsAll = false;

protected:
    void createChildren() override;
    // Stand-in until the echo is built: silent.
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;
};

// "TapeDelayOG/FeedbackAmp": the saturating amplifier in the echo's feedback path.
class Quillmore::PRTSubpatcher_48::PRTSubpatcher_32 : public GeneratedPatcher
{
public:
    PRTSubpatcher_32();

    void setupObjects() override { number_obj_69.setUp(NumberBox::floatFormat); }

    NumberBox number_obj_69{*this, HashedText("TapeDelayOG/FeedbackAmp/number_obj-69")}; // EchoFdbck
    float feedback = 0.0f;

protected:
    void processBlock(const SampleValue* const*, SampleValue* const*, Index) override {}
};

// "TapeDelayOG/Biquad": the echo filter. It reports its swept centre frequency into EchoFiltMeter
// whenever message_obj-24 puts out its list.
class Quillmore::PRTSubpatcher_48::PRTSubpatcher_33 : public GeneratedPatcher
{
public:
    PRTSubpatcher_33();

    // Switches the periodic report of the filter frequency.
    virtual void setReportTimerOn(float on) { reportTimerOn = on; }

    void setupObjects() override;
    void scheduleLoadClocks() override;

    SignalMonitor numberTilde_obj_30{*this, HashedText("TapeDelayOG/Biquad/number~_obj-30"), clocks::monitorA}; // Q
    SignalMonitor numberTilde_obj_32{*this, HashedText("TapeDelayOG/Biquad/number~_obj-32"), clocks::monitorB}; // frequency
    SignalMonitor numberTilde_obj_21{*this, HashedText("TapeDelayOG/Biquad/number~_obj-21"), clocks::monitorC};
    SignalMonitor numberTilde_obj_15{*this, HashedText("TapeDelayOG/Biquad/number~_obj-15"), clocks::monitorD};
    MessageBox message_obj_24{*this, HashedText("TapeDelayOG/Biquad/message_obj-24")}; // the frequency report
    MessageBox message_obj_17{*this, HashedText("TapeDelayOG/Biquad/message_obj-17")}; // the report timer switch
    LoadBang loadbang{*this, HashedText("TapeDelayOG/Biquad/loadbang_obj-1")};

    float reportTimerOn = 0.0f;
    float reportInterval = 20.0f;

protected:
    void processBlock(const SampleValue* const*, SampleValue* const*, Index) override {}

private:
    void reportFrequency(const list& report);
};

} // namespace PRT
