#pragma once

#include "patch/core/NumberBox.h"
#include "patch/core/SignalBuffer.h"
#include "patch/core/SignalMonitor.h"
#include "patch/core/Slider.h"
#include "patch/core/SmoothedSignal.h"
#include "patch/space/TapeDelay.h"

namespace PRT
{

// "TapeDelayOG/FeedbackAmp": the amplifier in the echo's feedback loop. Each channel is soft-clipped
// by an arctangent and then multiplied by the gain (EchoFdbck / 100)^0.7, which glides by 1 % per
// sample: feedback above unity saturates instead of growing, every output stays within the gain
// times π/2. Until the first EchoFdbck arrives the gain is 0 and the echo has no repeats.
class Quillmore::PRTSubpatcher_48::PRTSubpatcher_32 : public GeneratedPatcher
{
public:
    PRTSubpatcher_32();

    void setupObjects() override;

    NumberBox number_obj_69{*this, HashedText("TapeDelayOG/FeedbackAmp/number_obj-69")}; // EchoFdbck in %
    Slider slider_obj_7{*this, HashedText("TapeDelayOG/FeedbackAmp/slider_obj-7")}; // shows the gain
    SignalMonitor numberTilde_obj_35{*this, HashedText("TapeDelayOG/FeedbackAmp/number~_obj-35"), clocks::monitorB};

    float feedback = 0.0f;   // number_obj-69's value
    float gainTarget = 0.0f; // G
    SmoothedSignal gain{*this, 0.01f};

protected:
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;

private:
    SignalBuffer atanL{*this};
    SignalBuffer atanR{*this};
};

} // namespace PRT
