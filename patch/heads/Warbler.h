#pragma once

#include "patch/core/Button.h"
#include "patch/core/BiquadState.h"
#include "patch/core/ButterworthCascade.h"
#include "patch/core/CosineOscillator.h"
#include "patch/core/DataViewSlot.h"
#include "patch/core/EdgeDetector.h"
#include "patch/core/FilterCoefficientUpdater.h"
#include "patch/core/LoadTimeObjects.h"
#include "patch/core/MessageBox.h"
#include "patch/core/NoiseGenerator.h"
#include "patch/core/NumberBox.h"
#include "patch/core/OnePoleSmoother.h"
#include "patch/core/PeriodicSnapshot.h"
#include "patch/core/Quillmore.h"
#include "patch/core/RampPhasor.h"
#include "patch/core/RandomState.h"
#include "patch/core/SampleAndHold.h"
#include "patch/core/SignalMonitor.h"
#include "patch/core/SignalScope.h"
#include "patch/core/Slide.h"
#include "patch/core/Slider.h"
#include "patch/heads/TapeDelayLine.h"

namespace PRT
{

// "Warbler": wow, flutter, stereo drift, instability and blips move the read positions of two tape
// delays (200 ms at most), which bends the pitch; the master warble scales them all. It reports the
// warble of each side every 20 ms into WarbleL and WarbleR (0.5 is no deflection).
//
// Its parts live in files by concept: the frame, messages, clocks and start-up (Warbler.cpp), what
// the parameters and the timed control events compute (WarblerControl.cpp), and the block
// (WarblerSignalChain.cpp). Its two modules, StDrift and DamageCrinkleL, have files of their own.
class Quillmore::PRTSubpatcher_54 : public GeneratedPatcher
{
public:
    class PRTSubpatcher_37; // "Warbler/StDrift"          patch/heads/StDrift
    class PRTSubpatcher_38; // "Warbler/DamageCrinkleL"   patch/heads/DamageCrinkle

    // The warbler's own clocks (besides the load-time clock and the periodic tick).
    static constexpr ClockId leftReportClock = 0xea02ca51;
    static constexpr ClockId rightReportClock = 0x2def2952;
    static constexpr ClockId lowerComparatorClock = 0x622a0c4f;
    static constexpr ClockId upperComparatorClock = 0xa6166b50;
    static constexpr ClockId blipDisplayClock = 0xabec036d;
    static constexpr ClockId stepWrapRisingClock = 0xdb866097;
    static constexpr ClockId stepWrapFallingClock = 0xa1951a17;
    static constexpr ClockId wanderWrapRisingClock = 0xb1b14f18;
    static constexpr ClockId wanderWrapFallingClock = 0x44a6cbd6;

    // The fixed seeds of the four control generators, so that every instance and every run draws the
    // same tick intervals and rates.
    static constexpr float tickRandomBSeed = 7.0f;
    static constexpr float tickRandomASeed = 11.0f;
    static constexpr float stepRandomSeed = 16.0f;
    static constexpr float wanderRandomSeed = 22.0f;

    PRTSubpatcher_54();
    ~PRTSubpatcher_54() override;

    // The parameter inlets (WarblerControl.cpp), each with the top level's clamped value: Instability,
    // StDrift, Flutter, Wow, MstrWarble and Blips 0..100 (WowRate goes straight to number_obj-19).
    virtual void setInstabilityInput(float instability);
    virtual void setDriftInput(float drift);
    virtual void setFlutterInput(float flutter);
    virtual void setWowInput(float wow);
    virtual void setMasterInput(float masterWarble);
    virtual void setBlipsInput(float blips);

    // The start-up steps that the warbler and the tape stopper each run on both modules (whichever
    // load-time clock comes first, the second run repeats the same values). In this order:
    // message_obj-98 → wowRateModGain.
    void copyWowRateModGain();
    // The five depth weights, each from its message box.
    void resendStoredValues();
    // message_obj-51 := [value] (the sample rate; remembered as the last one sent), then number_obj-37.
    void sendMessageBoxList(float sampleRate);
    // number_obj-248 := message_obj-11's first value (the flutter band gain).
    void resendFlutterBandGain();
    // number_obj-134 and then number_obj-40 from their message boxes.
    void resendStoredThresholds();
    // All five, each after the warbler's time is brought up to the top level's: what the tape
    // stopper's load-time routine runs on the warbler.
    void runSharedStartupSteps();
    // The warbler's load-time routine: the top level's time brought up, the tape stopper's part, then
    // the shared steps.
    void handleStartup();

    void setupObjects() override;
    void allocateDataRefs() override;
    // The start-up settings: the children's load clocks, the four fixed reseeds, the periodic tick and
    // the load-time clock.
    void scheduleLoadClocks() override;

    // The sum of the five depth terms, each its amount times its weight in force (number_obj-327).
    float depthSum() const { return number_obj_327.getValue(); }
    float lastSampleRateSent() const { return sampleRateSent; }

    PRTSubpatcher_37* stDrift = nullptr;
    PRTSubpatcher_38* damageCrinkleL = nullptr;

    // Number boxes.
    NumberBox number_obj_27{*this, HashedText("Warbler/number_obj-27")};   // master depth, MstrWarble × 10
    NumberBox number_obj_19{*this, HashedText("Warbler/number_obj-19")};   // wow rate, Hz
    NumberBox number_obj_28{*this, HashedText("Warbler/number_obj-28")};   // wow depth
    NumberBox number_obj_18{*this, HashedText("Warbler/number_obj-18")};   // stereo drift 0..1
    NumberBox number_obj_36{*this, HashedText("Warbler/number_obj-36")};   // flutter 0..1
    NumberBox number_obj_39{*this, HashedText("Warbler/number_obj-39")};   // flutter low-pass cut-off
    NumberBox number_obj_351{*this, HashedText("Warbler/number_obj-351")}; // flutter high-pass cut-off
    NumberBox number_obj_248{*this, HashedText("Warbler/number_obj-248")}; // flutter band gain
    NumberBox number_obj_37{*this, HashedText("Warbler/number_obj-37")};   // sample rate, the tick's addend
    NumberBox number_obj_79{*this, HashedText("Warbler/number_obj-79")};   // blips gain
    NumberBox number_obj_156{*this, HashedText("Warbler/number_obj-156")}; // instability gain
    NumberBox number_obj_46{*this, HashedText("Warbler/number_obj-46")};   // wander low-pass target
    NumberBox number_obj_62{*this, HashedText("Warbler/number_obj-62")};   // wander high-pass target
    NumberBox number_obj_40{*this, HashedText("Warbler/number_obj-40")};   // upper comparator threshold
    NumberBox number_obj_134{*this, HashedText("Warbler/number_obj-134")}; // sample-and-hold thresholds
    NumberBox number_obj_331{*this, HashedText("Warbler/number_obj-331")}; // weight of the wow term
    NumberBox number_obj_332{*this, HashedText("Warbler/number_obj-332")}; // weight of the flutter term
    NumberBox number_obj_342{*this, HashedText("Warbler/number_obj-342")}; // weight of the instability term
    NumberBox number_obj_333{*this, HashedText("Warbler/number_obj-333")}; // weight of the blips term
    NumberBox number_obj_334{*this, HashedText("Warbler/number_obj-334")}; // weight of the drift term
    NumberBox number_obj_327{*this, HashedText("Warbler/number_obj-327")}; // depth sum
    // Message boxes: the start-up values.
    MessageBox message_obj_98{*this, HashedText("Warbler/message_obj-98")};   // wow-rate modulation gain
    MessageBox message_obj_355{*this, HashedText("Warbler/message_obj-355")}; // → number_obj-331
    MessageBox message_obj_357{*this, HashedText("Warbler/message_obj-357")}; // → number_obj-332
    MessageBox message_obj_359{*this, HashedText("Warbler/message_obj-359")}; // → number_obj-342
    MessageBox message_obj_361{*this, HashedText("Warbler/message_obj-361")}; // → number_obj-333
    MessageBox message_obj_363{*this, HashedText("Warbler/message_obj-363")}; // → number_obj-334
    MessageBox message_obj_11{*this, HashedText("Warbler/message_obj-11")};   // → number_obj-248
    MessageBox message_obj_51{*this, HashedText("Warbler/message_obj-51")};   // → number_obj-37
    MessageBox message_obj_41{*this, HashedText("Warbler/message_obj-41")};   // → number_obj-40
    MessageBox message_obj_182{*this, HashedText("Warbler/message_obj-182")}; // → number_obj-134
    // Buttons: the depth product, the re-sums from term 1 to 5, the two rate draws, start-up.
    Button button_obj_329{*this, HashedText("Warbler/button_obj-329")};
    Button button_obj_285{*this, HashedText("Warbler/button_obj-285")};
    Button button_obj_283{*this, HashedText("Warbler/button_obj-283")};
    Button button_obj_284{*this, HashedText("Warbler/button_obj-284")};
    Button button_obj_293{*this, HashedText("Warbler/button_obj-293")};
    Button button_obj_302{*this, HashedText("Warbler/button_obj-302")};
    Button button_obj_441{*this, HashedText("Warbler/button_obj-441")};
    Button button_obj_167{*this, HashedText("Warbler/button_obj-167")};
    Button button_obj_119{*this, HashedText("Warbler/button_obj-119")};
    // Displays.
    Slider slider_obj_370{*this, HashedText("Warbler/slider_obj-370")}; // left report
    Slider slider_obj_371{*this, HashedText("Warbler/slider_obj-371")}; // right report
    Slider slider_obj_6{*this, HashedText("Warbler/slider_obj-6")};     // scaled blips
    // Signal numbers: four watch the chain, three are the stepped-noise filter's held values.
    SignalMonitor numberTilde_obj_325{*this, HashedText("Warbler/number~_obj-325"), 0xd5c114ec};
    SignalMonitor numberTilde_obj_29{*this, HashedText("Warbler/number~_obj-29"), 0xa6ea6c67};
    SignalMonitor numberTilde_obj_344{*this, HashedText("Warbler/number~_obj-344"), 0xff96266b};
    SignalMonitor numberTilde_obj_90{*this, HashedText("Warbler/number~_obj-90"), blipDisplayClock, 0.0f, 25.0f};
    SignalMonitor numberTilde_obj_21{*this, HashedText("Warbler/number~_obj-21"), 0x296b37ea}; // frequency
    SignalMonitor numberTilde_obj_22{*this, HashedText("Warbler/number~_obj-22"), 0x53404969}; // gain
    SignalMonitor numberTilde_obj_451{*this, HashedText("Warbler/number~_obj-451"), 0x7d155ae8}; // Q
    // Scopes (display only).
    SignalScope scope_obj_2{*this, HashedText("Warbler/scope~_obj-2"), 256};     // left delay time
    SignalScope scope_obj_3{*this, HashedText("Warbler/scope~_obj-3"), 256};     // right delay time
    SignalScope scope_obj_42{*this, HashedText("Warbler/scope~_obj-42"), 128};   // wander low-pass cut-off
    SignalScope scope_obj_48{*this, HashedText("Warbler/scope~_obj-48"), 256};   // wander high-pass cut-off
    SignalScope scope_obj_141{*this, HashedText("Warbler/scope~_obj-141"), 128}; // wander phasor
    SignalScope scope_obj_146{*this, HashedText("Warbler/scope~_obj-146"), 128}; // scaled wander noise
    SignalScope scope_obj_149{*this, HashedText("Warbler/scope~_obj-149"), 128}; // instability signal
    SignalScope scope_obj_173{*this, HashedText("Warbler/scope~_obj-173"), 256}; // wow signal
    SignalScope scope_obj_203{*this, HashedText("Warbler/scope~_obj-203"), 256}; // scaled blips
    SignalScope scope_obj_239{*this, HashedText("Warbler/scope~_obj-239"), 256}; // flutter band
    SignalScope scope_obj_315{*this, HashedText("Warbler/scope~_obj-315"), 256}; // left modulation sum
    SignalScope scope_obj_420{*this, HashedText("Warbler/scope~_obj-420"), 256}; // rate modulation
    SignalScope scope_obj_446{*this, HashedText("Warbler/scope~_obj-446"), 128}; // step phasor
    LoadBang loadbang_obj_190{*this, HashedText("Warbler/loadbang_obj-190")};
    OwnedFloatDataRef delaytilde_07_del_bufferobj{*this, "delaytilde_07_del_bufferobj"}; // 19, left
    OwnedFloatDataRef delaytilde_08_del_bufferobj{*this, "delaytilde_08_del_bufferobj"}; // 20, right
    TopLevelDataView<Float64Buffer> cosineTable{*this, Quillmore::cosineTableIndex};

    // Control values (WarblerControl.cpp) that the block reads.
    float masterDepthTarget = 0.0f;
    float baseDelayTarget = 0.0f;
    float wowDepthTarget = 0.0f;
    float wowRateHz = 0.0f;
    float wowRateModGain = 2.0f;
    float flutterDepthTarget = 0.0f;
    float flutterLowCut = 1000.0f;
    float flutterHighCut = 1000.0f;
    float flutterBandGain = 0.5f;
    float flutterSlideUp = 0.0f;
    float flutterSlideDown = 0.0f;
    float instabilityNoiseGain = 0.5f;
    float instabilityDepth = 0.0f;
    float instabilityRateDepth = 0.0f;
    float blipsGain = 1.0f;
    float stepThreshold = 0.5f;
    float wanderThreshold = 0.4f;
    float upperThreshold = 0.6f;
    float stepRate = 8.0f;
    float wanderRate = 8.0f;
    float wanderCutoffTarget = 0.0f;
    float wanderHighCutTarget = 0.0f;
    float reportGainL = 0.0f;
    float reportGainR = 0.0f;
    float reportScale = 0.5f;
    float reportOffset = 0.5f;
    float tickIntervalMs = 0.0f;
    float tickOn = 10.0f;

    // The amounts of the five depth terms (Wow × 0.01, the clamped flutter amount, (Instability ×
    // 0.01)^0.8, Blips × 0.01, StDrift × 0.01), kept so that every re-sum takes the values in force.
    float wowAmount = 0.0f;
    float flutterAmount = 0.0f;
    float blipsAmount = 0.0f;
    float driftAmount = 0.0f;

    // The control generators' states.
    RandomState tickRandomA;
    RandomState tickRandomB;
    RandomState stepRandom;
    RandomState wanderRandom;

    // The block's operators (WarblerSignalChain.cpp), in the order the block runs them.
    dsp::OnePoleSmoother masterDepthSmoother{0.0005f};
    dsp::OnePoleSmoother wowDepthSmoother{0.0005f};
    dsp::OnePoleSmoother baseDelaySmoother{1.0f / 1500.0f};
    dsp::NoiseGenerator flutterNoise;
    dsp::Slide flutterSlide;
    dsp::ButterworthCascade flutterLowPass{dsp::LowPass};
    dsp::ButterworthCascade flutterHighPass{dsp::HighPass};
    dsp::OnePoleSmoother leftDriftSmoother{0.002f};
    dsp::OnePoleSmoother rightDriftSmoother{0.002f};
    dsp::Slide wanderCutoffSlide;
    dsp::OnePoleSmoother flutterDepthSmoother{0.0005f};
    dsp::NoiseGenerator stepNoise;
    dsp::FilterCoefficientUpdater stepCoefficients;
    dsp::RampPhasor stepPhasor;
    dsp::RampPhasor tripleRatePhasor;
    PeriodicSnapshot tripleRateSnapshot{*this, lowerComparatorClock, 2.0f};
    dsp::SampleDelta stepDelta;
    EdgeDetector stepWrap{*this, stepWrapRisingClock, stepWrapFallingClock};
    dsp::SampleAndHold stepHold;
    dsp::BiquadState stepFilter;
    PeriodicSnapshot filteredNoiseSnapshot{*this, upperComparatorClock, 2.0f};
    dsp::Slide wanderHighCutSlide;
    dsp::NoiseGenerator wanderNoise;
    dsp::RampPhasor wanderPhasor;
    dsp::SampleAndHold wanderHold;
    dsp::Slide wanderSlew;
    dsp::ButterworthCascade wanderHighPass{dsp::HighPass};
    dsp::ButterworthCascade wanderLowPass{dsp::LowPass};
    dsp::SampleDelta wanderDelta;
    EdgeDetector wanderWrap{*this, wanderWrapRisingClock, wanderWrapFallingClock};
    dsp::OnePoleSmoother wowRateSmoother{0.001f};
    dsp::CosineOscillator wowOscillator;
    PeriodicSnapshot rightReport{*this, rightReportClock, 20.0f};
    TapeDelayLine delaytilde_08{delaytilde_08_del_bufferobj, 5.0};
    PeriodicSnapshot leftReport{*this, leftReportClock, 20.0f};
    TapeDelayLine delaytilde_07{delaytilde_07_del_bufferobj, 5.0};

protected:
    void createChildren() override;
    void onClock(ClockId clockId, bool hasValue, ParameterValue value) override;
    void processDataViewUpdate(DataRefIndex index, MillisecondTime time) override;
    void prepareSignalObjects(bool changed) override;
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;

private:
    void connectObjects();
    // The depth sum with every term at its amount and weight in force, into number_obj-327.
    void resumDepthTerms();
    void runPeriodicTick();
    void report(ClockId clockId, float value);
    void bindCosineTable();

    float sampleRateSent = 0.0f;
    bool operatorsPrepared = false;

    // The block's signals.
    SignalBuffer masterDepth{*this};
    SignalBuffer wowDepth{*this};
    SignalBuffer baseDelay{*this};
    SignalBuffer blips{*this};
    SignalBuffer flutterBand{*this};
    SignalBuffer driftInput{*this};
    SignalBuffer driftLeft{*this};
    SignalBuffer driftRight{*this};
    SignalBuffer wanderCutoff{*this};
    SignalBuffer flutter{*this};
    SignalBuffer heldFrequency{*this};
    SignalBuffer heldGain{*this};
    SignalBuffer heldQ{*this};
    SignalBuffer stepPhase{*this};
    SignalBuffer tripleRatePhase{*this};
    SignalBuffer steppedNoise{*this};
    SignalBuffer rateModulation{*this};
    SignalBuffer wanderHighCut{*this};
    SignalBuffer wanderPhase{*this};
    SignalBuffer instability{*this};
    SignalBuffer scratch{*this};
    SignalBuffer wow{*this};
    SignalBuffer modulationRight{*this};
    SignalBuffer modulationLeft{*this};
    SignalBuffer delayTime{*this};
};

} // namespace PRT
