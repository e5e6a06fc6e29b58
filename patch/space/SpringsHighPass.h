#pragma once

#include "patch/core/FilterMode.h"
#include "patch/core/LoadTimeObjects.h"
#include "patch/core/Quillmore.h"
#include "patch/core/SignalBuffer.h"
#include "patch/core/SignalMonitor.h"
#include "patch/core/StereoBiquad.h"

namespace PRT
{

// "SpringsHighPass": the stereo high-pass ahead of both spring models, cut-off SpringHighPass. Its
// cut-off, gain and q are signals that ramp to their set values within one sample; the gain and q
// are 0, and the output silent, until the load bang sets them to 1.
class Quillmore::PRTSubpatcher_45 : public GeneratedPatcher
{
public:
    PRTSubpatcher_45();

    void setupObjects() override;

    SignalMonitor numberTilde_obj_32{*this, HashedText("SpringsHighPass/number~_obj-32"), clocks::monitorA}; // cut-off
    SignalMonitor numberTilde_obj_18{*this, HashedText("SpringsHighPass/number~_obj-18"), clocks::monitorB}; // gain
    SignalMonitor numberTilde_obj_30{*this, HashedText("SpringsHighPass/number~_obj-30"), clocks::monitorC}; // q
    LoadBang loadbang{*this, HashedText("SpringsHighPass/loadbang_obj-2")};

    std::int64_t filterMode = dsp::HighPassWithGain;
    float loadBangValue = 1.0f;

protected:
    void prepareSignalObjects(bool changed) override;
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;

private:
    SignalBuffer cutoff{*this};
    SignalBuffer gain{*this};
    SignalBuffer q{*this};
    dsp::StereoBiquad filter;
};

} // namespace PRT
