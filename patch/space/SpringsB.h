#pragma once

#include "patch/core/Allpass.h"
#include "patch/core/ClockIds.h"
#include "patch/core/CrossfadedDelay.h"
#include "patch/core/DataViewSlot.h"
#include "patch/core/DcBlocker.h"
#include "patch/core/HeldSignal.h"
#include "patch/core/NumberBox.h"
#include "patch/core/OnePoleSmoother.h"
#include "patch/core/Quillmore.h"
#include "patch/core/SignalBuffer.h"
#include "patch/core/SignalMonitor.h"
#include "patch/core/SignalScope.h"
#include "patch/core/Slider.h"
#include "patch/space/OutputLimiter.h"

#include <array>

namespace PRT
{

// "SpringsB": spring model B. Per channel, the input plus the channel's own fed-back signal runs
// through five allpass stages in series; the result leaves DC-blocked through a stereo-linked
// limiter, and it also enters a short delay whose output feeds the chain's input one engine block
// later. The channels share only the limiter's gain. SpringSize scales all ten allpass times through
// a smoothed, sample-accurate size factor; SpringDecay sets the allpass and feedback gains.
class Quillmore::PRTSubpatcher_49 : public GeneratedPatcher
{
public:
    PRTSubpatcher_49();

    // SpringDecay 0..100: the allpass gains and the feedback gain.
    virtual void setDecayInput(float springDecay);
    // SpringSize 4..12: the factor on every allpass time.
    virtual void setSizeInput(float springSize);

    void setupObjects() override;
    void allocateDataRefs() override;
    void processDataViewUpdate(DataRefIndex index, MillisecondTime time) override;

    static constexpr int numStages = 5;
    // The allpass lines' and the feedback delays' longest delays, in samples at every rate.
    static constexpr double allpassMaximumDelay = 44100.0;
    static constexpr double feedbackMaximumDelay = 600.0;
    static constexpr float crossfadeMs = 50.0f;
    static constexpr float sizeSmoothing = 0.0002f;
    static constexpr float leftDelayFactor = 0.976f;

    NumberBox number_obj_94{*this, HashedText("SpringsB/number_obj-94")}; // delay time
    NumberBox number_obj_86{*this, HashedText("SpringsB/number_obj-86")}; // feedback gain
    NumberBox number_obj_47{*this, HashedText("SpringsB/number_obj-47")};
    NumberBox number_obj_21{*this, HashedText("SpringsB/number_obj-21")};
    NumberBox number_obj_80{*this, HashedText("SpringsB/number_obj-80")};
    NumberBox number_obj_23{*this, HashedText("SpringsB/number_obj-23")};
    NumberBox number_obj_25{*this, HashedText("SpringsB/number_obj-25")};
    NumberBox number_obj_76{*this, HashedText("SpringsB/number_obj-76")};
    Slider slider_obj_88{*this, HashedText("SpringsB/slider_obj-88")};
    Slider slider_obj_96{*this, HashedText("SpringsB/slider_obj-96"), 0.0f, 5.0f};
    // Data references 19 to 40: the left feedback delay, the ten allpass stages' two lines each, the
    // right feedback delay.
    OwnedFloatDataRef delaytilde_03_del_bufferobj{*this, "delaytilde_03_del_bufferobj"};
    OwnedFloatDataRef allpass_tilde_01_feedForward_bufferobj{*this, "allpass_tilde_01_feedForward_bufferobj"};
    OwnedFloatDataRef allpass_tilde_01_feedBack_bufferobj{*this, "allpass_tilde_01_feedBack_bufferobj"};
    OwnedFloatDataRef allpass_tilde_02_feedForward_bufferobj{*this, "allpass_tilde_02_feedForward_bufferobj"};
    OwnedFloatDataRef allpass_tilde_02_feedBack_bufferobj{*this, "allpass_tilde_02_feedBack_bufferobj"};
    OwnedFloatDataRef allpass_tilde_03_feedForward_bufferobj{*this, "allpass_tilde_03_feedForward_bufferobj"};
    OwnedFloatDataRef allpass_tilde_03_feedBack_bufferobj{*this, "allpass_tilde_03_feedBack_bufferobj"};
    OwnedFloatDataRef allpass_tilde_04_feedForward_bufferobj{*this, "allpass_tilde_04_feedForward_bufferobj"};
    OwnedFloatDataRef allpass_tilde_04_feedBack_bufferobj{*this, "allpass_tilde_04_feedBack_bufferobj"};
    OwnedFloatDataRef allpass_tilde_05_feedForward_bufferobj{*this, "allpass_tilde_05_feedForward_bufferobj"};
    OwnedFloatDataRef allpass_tilde_05_feedBack_bufferobj{*this, "allpass_tilde_05_feedBack_bufferobj"};
    OwnedFloatDataRef allpass_tilde_06_feedForward_bufferobj{*this, "allpass_tilde_06_feedForward_bufferobj"};
    OwnedFloatDataRef allpass_tilde_06_feedBack_bufferobj{*this, "allpass_tilde_06_feedBack_bufferobj"};
    OwnedFloatDataRef allpass_tilde_07_feedForward_bufferobj{*this, "allpass_tilde_07_feedForward_bufferobj"};
    OwnedFloatDataRef allpass_tilde_07_feedBack_bufferobj{*this, "allpass_tilde_07_feedBack_bufferobj"};
    OwnedFloatDataRef allpass_tilde_08_feedForward_bufferobj{*this, "allpass_tilde_08_feedForward_bufferobj"};
    OwnedFloatDataRef allpass_tilde_08_feedBack_bufferobj{*this, "allpass_tilde_08_feedBack_bufferobj"};
    OwnedFloatDataRef allpass_tilde_09_feedForward_bufferobj{*this, "allpass_tilde_09_feedForward_bufferobj"};
    OwnedFloatDataRef allpass_tilde_09_feedBack_bufferobj{*this, "allpass_tilde_09_feedBack_bufferobj"};
    OwnedFloatDataRef allpass_tilde_10_feedForward_bufferobj{*this, "allpass_tilde_10_feedForward_bufferobj"};
    OwnedFloatDataRef allpass_tilde_10_feedBack_bufferobj{*this, "allpass_tilde_10_feedBack_bufferobj"};
    OwnedFloatDataRef delaytilde_04_del_bufferobj{*this, "delaytilde_04_del_bufferobj"};

    SignalMonitor numberTilde_obj_145{*this, HashedText("SpringsB/number~_obj-145"), clocks::monitorA}; // size
    SignalScope scope_obj_2{*this, HashedText("SpringsB/scope~_obj-2")}; // left input
    SignalScope scope_obj_3{*this, HashedText("SpringsB/scope~_obj-3")}; // left output

    // The size factor as a signal: a new factor takes effect from its event's sample in the block.
    HeldSignal sizeControl{*this};
    // The glide of the size factor: about 5000 samples per time constant; it starts at 0.
    dsp::OnePoleSmoother sizeGlide{sizeSmoothing};

    // Stage position 1 to 5 of each channel; each position's gain is the same on both channels.
    std::array<dsp::Allpass, numStages> leftStages, rightStages;
    std::array<float, numStages> stageGains{0.5f, 0.5f, 0.5f, 0.5f, 0.5f};
    float leftFeedback = 0.0f, rightFeedback = 0.0f;
    float leftDelayTime = 0.0f, rightDelayTime = 0.0f; // samples
    dsp::CrossfadedDelay leftDelay, rightDelay;
    dsp::DcBlocker leftDcBlocker, rightDcBlocker;
    dsp::OutputLimiter limiter;

protected:
    void prepareSignalObjects(bool changed) override;
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;

private:
    struct BoundLine
    {
        OwnedFloatDataRef* storage;
        dsp::DelayLine* line;
    };
    // The 22 data references and the lines they hold, in reference order.
    std::array<BoundLine, 22> boundLines();
    void bindLines();

    // The size signal of the block, smoothed; true when it stood still for the whole block.
    bool renderSize(Index n);
    // One channel's chain on `signal` in place, under the block's gliding size signal.
    void runStages(std::array<dsp::Allpass, numStages>& stages, bool isLeft, float* signal, Index n);
    // Both chains in place and their DC blockers, at the block's one size.
    void runSteadyNetwork(Index n);
    // The DC blockers from the chains into the blocked signals, samples from..to.
    void blockDc(Index from, Index to);
    // Whether a chain or blocked sample of the block left the range audio reaches (or is NaN).
    bool overflowed(Index n);
    // Empties every memory after a block that overflowed, so the model does not stay silenced.
    void restartAfterOverflow();

    SignalBuffer size{*this};        // the size factor, then its glide
    SignalBuffer stageDelays{*this}; // one stage's delays in samples while the size glides
    SignalBuffer leftChain{*this}, rightChain{*this};
    SignalBuffer leftCarry{*this}, rightCarry{*this}; // the previous block's feedback delay outputs
    SignalBuffer leftBlocked{*this}, rightBlocked{*this};
    bool linesSetUp = false;
};

} // namespace PRT
