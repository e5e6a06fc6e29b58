#pragma once

#include "patch/core/Button.h"
#include "patch/core/ClockIds.h"
#include "patch/core/CosineOscillator.h"
#include "patch/core/DataViewSlot.h"
#include "patch/core/GeneratedPatcher.h"
#include "patch/core/Quillmore.h"
#include "patch/core/LoadTimeObjects.h"
#include "patch/core/MessageBox.h"
#include "patch/core/NumberBox.h"
#include "patch/core/PhasorHeldNoise.h"
#include "patch/core/SegmentRamp.h"
#include "patch/core/SignalMonitor.h"

#include <array>

namespace PRT
{

// The object paths and constants that tell one random control generator from another.
struct RandomControlGeneratorSetup
{
    const char* name;           // the sub-state key
    HashedText amountBox;       // the amount, 0..1
    HashedText frequencyRateBox; // how often the cosine's frequency is redrawn, per second
    HashedText levelRateBox;    // how often a new level is drawn, per second (0..10)
    HashedText frequencyRateLoad;
    HashedText levelRateLoad;
    HashedText rampTimeBox;     // the glide time to a new level, in ms
    HashedText targetMonitor;   // reports the drawn level at most every 250 ms: the only way it reaches the glide
    HashedText reloadButton;    // re-sends both rates
    float frequencyRedrawRate;
    float levelDrawRate;
    float rampTimeMs;
};

// A smooth random control signal in [−amount, amount]: a cosine whose frequency (below 1 Hz) is
// redrawn at random, times a ramp gliding to random levels. Each of its two noise sources is seeded
// from the process clock through the process-wide generator, so a fixed random seed repeats it. The
// output is 0 until the first level is reported, 250 ms after start-up.
class RandomControlGenerator : public GeneratedPatcher
{
public:
    static constexpr ClockId rampDoneClock = 0xef31b990;
    static constexpr float initialRate = 0.1f;
    static constexpr float initialAmount = 5.0f;

    explicit RandomControlGenerator(const RandomControlGeneratorSetup& setup);

    // Seeds, formats, modes and box contents, in the generated order; the variant's own last.
    void setupObjects() override;
    void allocateDataRefs() override;

    NumberBox frequencyRateBox;
    NumberBox levelRateBox;
    NumberBox amountBox;
    LoadMessage frequencyRateLoad; // clock 0x01be208a
    LoadMessage levelRateLoad;     // clock 0x35360389
    MessageBox rampTimeBox;
    SignalMonitor targetMonitor;
    Button reloadButton;
    TopLevelDataView<Float64Buffer> cosineTable{*this, Quillmore::cosineTableIndex};

    float getFrequencyRate() const { return frequencyRate; }
    float getLevelRate() const { return levelRate; }
    float getAmount() const { return amount; }
    const SegmentRamp& getRamp() const { return ramp; }
    // The level drawn last (before the amount), whether or not it has been reported yet.
    float getDrawnLevel() const { return levelDraw.held(); }

    // For an owner that reads the output at a few samples only: the next block works the output out
    // at these samples (ascending, the first 0 and the last the block's last) and leaves the rest of
    // the output buffer as it was (finishOutput sees the same); every state runs on as in a whole
    // block. Lasts one block; a list that does not fit the block renders it whole.
    static constexpr Index maxSampledOutputs = 16;
    void sampleOutputAt(const Index* samples, Index count);

protected:
    // The variant's objects after the shared ones (the amount box's set-up included).
    virtual void setupVariantObjects();
    // What the variant does with the finished product (cosine × ramp) in place, before the level draw
    // is reported.
    virtual void finishOutput(SampleValue* output, Index n) = 0;
    // After "bangout", before both rates are re-sent.
    virtual void onReload() {}

    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;
    void prepareSignalObjects(bool changed) override;
    void processDataViewUpdate(DataRefIndex index, MillisecondTime time) override;

private:
    void bindCosineTable();

    const float rampTimeMs;
    float frequencyRate = initialRate;
    float levelRate = initialRate;
    float amount = initialAmount;

    dsp::PhasorHeldNoise frequencyDraw;
    dsp::CosineOscillator oscillator;
    dsp::PhasorHeldNoise levelDraw;
    SegmentRamp ramp{*this, rampDoneClock};
    bool operatorsPrepared = false;
    SignalBuffer glide{*this};
    std::array<Index, maxSampledOutputs> sampled{};
    Index sampledCount = 0; // 0: the whole block

};

} // namespace PRT
