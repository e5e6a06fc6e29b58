#pragma once

#include "patch/core/FilterCoefficientUpdater.h"
#include "patch/core/FilterMode.h"
#include "patch/core/LoadTimeObjects.h"
#include "patch/core/MessageBox.h"
#include "patch/core/NumberBox.h"
#include "patch/core/Quillmore.h"
#include "patch/core/SignalMonitor.h"
#include "patch/core/Slider.h"
#include "patch/core/StateVariableFilter.h"
#include "patch/heads/RandomControlGenerator.h"

namespace PRT
{

// A random dropout control generator: its amount is Degrade / 100, and its output monitor reports
// every 25 ms (to no one).
class DropoutGenerator : public RandomControlGenerator
{
public:
    DropoutGenerator(const RandomControlGeneratorSetup& setup, HashedText outputMonitorPath);

    // Degrade 0..100, through the generator's pre-multiplier into its amount box.
    void setDegrade(float degrade);

    SignalMonitor outputMonitor;

    float degradeInput = 0.0f;
    float degradeFactor = 0.01f;
    float degradeProduct = 0.0f;

protected:
    void setupVariantObjects() override;
    void finishOutput(SampleValue* output, Index n) override;
};

// "Dropouts": one low-pass per channel whose cut-off its random generator pulls around (deeper and
// lower with Degrade) and the high roll-off scales (HighRolloff, through a slide). At Degrade 0 and
// HighRolloff 18000 it rests near 18090 Hz × 1.2.
class Quillmore::PRTSubpatcher_50 : public GeneratedPatcher
{
public:
    class PRTSubpatcher_34; // "Dropouts/FreqDropoutsL"
    class PRTSubpatcher_35; // "Dropouts/FreqDropoutsR"

    static constexpr float initialCutoffScale = 20000.0f;
    static constexpr float controlOffset = 0.4f;

    PRTSubpatcher_50();

    // HighRolloff 20..18000 Hz: the target of the roll-off slide, picked up at the next block.
    virtual void setRolloffInput(float hz) { rolloffTarget = hz; }

    void setupObjects() override;

    // The cut-off in Hz for a scaled control value x: a raised cosine of period 40000 in x, 0 Hz at
    // x = 0, 20000 Hz at x = ±20000.
    static float cutoffForControl(float x);
    // The factor of HighRolloff (slid) on both cut-offs: 0.0075 at 100 Hz to 1.2 at 18000 Hz, linear
    // and unclamped.
    static float rolloffFactor(float slid);

    // The cut-off each channel's filter was last designed at.
    float getDesignedCutoff(int channel) const { return (channel == 0 ? left : right).designed; }
    float getRolloffSlide() const { return rolloffSlide; }

    DropoutGenerator* freqDropoutsL = nullptr;
    DropoutGenerator* freqDropoutsR = nullptr;

    SignalMonitor numberTilde_obj_31{*this, HashedText("Dropouts/number~_obj-31"), 0xabec036d}; // left gain
    SignalMonitor numberTilde_obj_30{*this, HashedText("Dropouts/number~_obj-30"), 0xd5c114ec}; // left q
    SignalMonitor numberTilde_obj_54{*this, HashedText("Dropouts/number~_obj-54"), 0xff96266b}; // right gain
    SignalMonitor numberTilde_obj_52{*this, HashedText("Dropouts/number~_obj-52"), clocks::monitorC}; // right q
    SignalMonitor numberTilde_obj_38{*this, HashedText("Dropouts/number~_obj-38"), clocks::monitorE}; // left control
    SignalMonitor numberTilde_obj_24{*this, HashedText("Dropouts/number~_obj-24"), clocks::monitorB}; // left map
    SignalMonitor numberTilde_obj_43{*this, HashedText("Dropouts/number~_obj-43"), clocks::monitorF}; // right control
    SignalMonitor numberTilde_obj_10{*this, HashedText("Dropouts/number~_obj-10"), clocks::monitorD}; // right cut-off
    SignalMonitor numberTilde_obj_11{*this, HashedText("Dropouts/number~_obj-11"), clocks::monitorA}; // left cut-off
    NumberBox number_obj_28{*this, HashedText("Dropouts/number_obj-28")}; // Degrade
    NumberBox number_obj_16{*this, HashedText("Dropouts/number_obj-16")}; // cut-off scale
    NumberBox number_obj_3{*this, HashedText("Dropouts/number_obj-3")};   // control offset
    Slider slider_3{*this, HashedText("Dropouts/slider[3]"), 0.0f, 40000.0f}; // the scale, as a position
    Slider slider{*this, HashedText("Dropouts/slider")};
    Slider slider_1{*this, HashedText("Dropouts/slider[1]")};
    Slider slider_2{*this, HashedText("Dropouts/slider[2]")};
    Slider slider_4{*this, HashedText("Dropouts/slider[4]")};
    MessageBox message_obj_60{*this, HashedText("Dropouts/message_obj-60")}; // filter gain
    MessageBox message_obj_61{*this, HashedText("Dropouts/message_obj-61")}; // filter q
    MessageBox message_obj_2{*this, HashedText("Dropouts/message_obj-2")};   // control offset
    LoadBang loadbang{*this, HashedText("Dropouts/loadbang_obj-62")};

    float controlOffsetLeft = controlOffset;
    float controlOffsetRight = controlOffset;
    float cutoffScaleLeft = initialCutoffScale;
    float cutoffScaleRight = initialCutoffScale;
    float rolloffTarget = 0.0f;
    std::int64_t filterModeLeft = dsp::LowPass;
    std::int64_t filterModeRight = dsp::LowPass;

protected:
    void createChildren() override;
    void prepareSignalObjects(bool changed) override;
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;

private:
    using ChannelLowPass = dsp::StateVariableFilter<dsp::StateVariableOutput::LowPass>;

    // One channel's low-pass and, for the block, where its cut-off comes from: control × scale
    // through the map, times the roll-off factor of the slide, computed only where the updater looks.
    // The cut-off jumps at every check and often sits near half the rate, so the low-pass runs in
    // state-variable form, which carries its signal over a redesign (the mode is always LowPass).
    struct ChannelFilter
    {
        dsp::FilterCoefficientUpdater updater;
        ChannelLowPass lowPass;
        std::int64_t mode = dsp::LowPass;
        float scale = 0.0f;
        const SampleValue* control = nullptr;
        const SampleValue* slid = nullptr;
        const SampleValue* q = nullptr;
        const SampleValue* gain = nullptr;
        float designed = 0.0f;

        void bind(std::int64_t m, float s, const SampleValue* c, const SampleValue* r, const SampleValue* qs,
                  const SampleValue* g)
        {
            mode = m;
            scale = s;
            control = c;
            slid = r;
            q = qs;
            gain = g;
        }
    };

    // The samples of a block of n where the channel's control is read: the first (the taps), those
    // where filterBothChannels finds the updater at a check, and the last (the generator ends its
    // block there). 0 when more than a generator takes (the control is then rendered whole).
    static Index controlReadSamples(const ChannelFilter& filter, Index n, Index* samples);
    // The roll-off slide, one value per sample into slid.
    void renderRolloffSlide(SampleValue* slid, Index n);
    // At the updater's checks, the cut-off of sample i and, when it or the q changed, a new design of
    // lowPass (the block's working copy of the filter's).
    static void checkDesignAt(ChannelFilter& filter, ChannelLowPass& lowPass, Index i);
    void filterBothChannels(const SampleValue* inL, const SampleValue* inR, SampleValue* outL, SampleValue* outR,
                            Index n);

    ChannelFilter left;
    ChannelFilter right;
    bool filtersPrepared = false;
    float rolloffSlide = 0.0f;

    SignalBuffer controlLeft{*this};
    SignalBuffer controlRight{*this};
    SignalBuffer passedLeft{*this};
    SignalBuffer passedRight{*this};
    SignalBuffer slide{*this};
    SignalBuffer gainLeft{*this};
    SignalBuffer qLeft{*this};
    SignalBuffer gainRight{*this};
    SignalBuffer qRight{*this};
};

class Quillmore::PRTSubpatcher_50::PRTSubpatcher_34 : public DropoutGenerator
{
public:
    PRTSubpatcher_34();
};

class Quillmore::PRTSubpatcher_50::PRTSubpatcher_35 : public DropoutGenerator
{
public:
    PRTSubpatcher_35();
};

} // namespace PRT
