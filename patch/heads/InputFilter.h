#pragma once

#include "patch/core/Button.h"
#include "patch/core/FilterMode.h"
#include "patch/core/LoadTimeObjects.h"
#include "patch/core/MessageBox.h"
#include "patch/core/Quillmore.h"
#include "patch/core/SignalBuffer.h"
#include "patch/core/SignalMonitor.h"
#include "patch/core/Slide.h"
#include "patch/core/StereoStateVariableFilter.h"

namespace PRT
{

// "InputFilter": the Heads section's second-order high-pass on both channels. Its cut-off glides to
// HighPass with a 10 ms time constant and reaches the filter at block starts; HighPassQ (0.1..2)
// applies at the next block without a glide. The high-pass runs in state-variable form: in direct
// form a q jumping up at a cut-off in the low tens of hertz rang at 3 to 7 times the input.
class Quillmore::PRTSubpatcher_51 : public GeneratedPatcher
{
public:
    static constexpr float minimumQ = 0.1f;
    static constexpr float maximumQ = 2.0f;
    static constexpr float slideSeconds = 0.01f;

    PRTSubpatcher_51();

    // HighPassQ: above 2 takes 2, anything else at least 0.1 (a NaN 0.1).
    virtual void setQInput(float q);

    void setupObjects() override;

    // The smoothed cut-off, and the cut-off and q the filter was last designed at (after the clamp to
    // 1 Hz .. sr/2).
    float getSlidCutoff() const { return slide.value(); }
    float getDesignedCutoff() const { return filter.designedFrequency(); }
    float getDesignedQ() const { return filter.designedQ(); }
    float getSlideLength() const { return slideLength; }

    SignalMonitor numberTilde_obj_32{*this, HashedText("InputFilter/number~_obj-32"), clocks::monitorB}; // cut-off
    MessageBox message_obj_1{*this, HashedText("InputFilter/message_obj-1")}; // filter gain
    LoadBang loadbang{*this, HashedText("InputFilter/loadbang_obj-2")};
    Button button_obj_10{*this, HashedText("InputFilter/button_obj-10")}; // reruns the sample-rate chain

    std::int64_t filterMode = dsp::HighPassWithGain; // told to the updater; the filter is a high-pass whatever it holds
    float filterGain = 1.0f;
    float filterQ = 1.0f;

protected:
    void prepareSignalObjects(bool changed) override;
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;

private:
    // Both slide lengths := sr × 0.01 samples.
    void runSampleRateChain(float sampleRate);

    float lastRateSent = 0.0f;
    float slideLength = 1000.0f;
    dsp::Slide slide;
    dsp::StereoStateVariableFilter<dsp::StateVariableOutput::HighPass> filter; // times the gain
    SignalBuffer cutoff{*this};
};

} // namespace PRT
