#pragma once

#include "patch/core/FilterMode.h"
#include "patch/core/LoadTimeObjects.h"
#include "patch/core/MessageBox.h"
#include "patch/core/SignalBuffer.h"
#include "patch/core/SignalMonitor.h"
#include "patch/core/SignalScope.h"
#include "patch/core/StereoStateVariableFilter.h"
#include "patch/space/TapeDelay.h"

#include <cstdint>

namespace PRT
{

// "TapeDelayOG/Biquad": the band-pass inside the echo loop, one design shared by both channels. Its
// centre glides towards EchoFilterFreq by 0.002 of the distance per sample (500 samples to 63 %) and
// is swept by the echo's LFO: F = S × (1 + LFO × amount), so a full LFO sweeps it between 0 and twice
// the set frequency. Every 20 ms the report timer hands the last monitored F to EchoFiltMeter.
// The band-pass runs in state-variable form: in direct form the LFO's block-sized jumps down to the
// 1 Hz floor, and a q jumping up at a low centre, rang and held the echo at 2.5 times a -6 dBFS input.
class Quillmore::PRTSubpatcher_48::PRTSubpatcher_33 : public GeneratedPatcher
{
public:
    PRTSubpatcher_33();

    // Switches the periodic report of the filter frequency; on, the first report is at once.
    virtual void setReportTimerOn(float on);

    void setupObjects() override;
    void scheduleLoadClocks() override;

    SignalMonitor numberTilde_obj_30{*this, HashedText("TapeDelayOG/Biquad/number~_obj-30"), clocks::monitorC}; // Q
    SignalMonitor numberTilde_obj_32{*this, HashedText("TapeDelayOG/Biquad/number~_obj-32"), clocks::monitorD}; // frequency
    SignalMonitor numberTilde_obj_21{*this, HashedText("TapeDelayOG/Biquad/number~_obj-21"), clocks::monitorA}; // F
    SignalMonitor numberTilde_obj_15{*this, HashedText("TapeDelayOG/Biquad/number~_obj-15"), clocks::monitorB}; // sweep
    MessageBox message_obj_24{*this, HashedText("TapeDelayOG/Biquad/message_obj-24")}; // the last reported F
    MessageBox message_obj_17{*this, HashedText("TapeDelayOG/Biquad/message_obj-17")}; // the report timer's switch
    LoadBang loadbang_obj_18{*this, HashedText("TapeDelayOG/Biquad/loadbang_obj-18")};
    SignalScope scope_obj_16{*this, HashedText("TapeDelayOG/Biquad/scope~_obj-16")}; // the sweep in Hz
    SignalScope scope_obj_14{*this, HashedText("TapeDelayOG/Biquad/scope~_obj-14")}; // F

    std::int64_t filterMode = dsp::BandPass; // told to the updater; the filter is a band-pass whatever it holds
    float freqSmoothed = 0.0f; // S
    float reportTimerOn = 0.0f;
    float reportInterval = 20.0f;

protected:
    void prepareSignalObjects(bool changed) override;
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;
    void onClock(ClockId clockId, bool hasValue, ParameterValue value) override;

private:
    void reportFrequency(const list& report);

    dsp::StereoStateVariableFilter<dsp::StateVariableOutput::BandPass> filter;

    SignalBuffer q{*this};
    SignalBuffer frequency{*this};
    SignalBuffer sweep{*this};
    SignalBuffer swept{*this};
};

} // namespace PRT
