// The dropouts and the high roll-off as the only module of a test top level in the real engine
// core: the Degrade chain, the roll-off slide and factor, and sines measured through each channel's
// low-pass.
#include "patch/core/FilterMode.h"
#include "patch/core/RandomState.h"
#include "patch/heads/Dropouts.h"

#include "tests/patch/ModuleTestRoot.h"
#include "tests/patch/ReferenceDesign.h"
#include "tests/patch/SineGain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace PRT;
using namespace PRT::test;

namespace
{
using Dropouts = Quillmore::PRTSubpatcher_50;

struct DropoutsRig
{
    DropoutsRig(float sampleRate, float degrade, float rolloff, float seed = 1.0f) : rate(sampleRate)
    {
        {
            const ScopedFixedRandomSeed fixed(seed);
            dropouts = patch.install(new ModuleTestRoot<Dropouts>()).module;
        }
        patch.prepare(sampleRate, 128);
        setDegrade(degrade);
        setRolloff(rolloff);
    }

    // As the top level's setters hand them over.
    void setDegrade(float degrade)
    {
        dropouts->updateTime(patch.engine.getCurrentTime());
        dropouts->number_obj_28.setNumberValue(degrade);
    }
    void setRolloff(float hz)
    {
        dropouts->updateTime(patch.engine.getCurrentTime());
        dropouts->setRolloffInput(hz);
    }

    PatchEngine patch;
    Dropouts* dropouts = nullptr;
    float rate;
};
} // namespace

TEST(Dropouts, DegradeSetsTheCutoffScaleAndTheGeneratorsAmounts)
{
    struct Row
    {
        float degrade, scale, position, amount;
    };
    for (const Row& row : {Row{0, 40000, 128, 0}, Row{50, 25000, 80, 0.5f}, Row{100, 10000, 32, 1}, Row{250, 10000, 32, 1}})
    {
        DropoutsRig rig(48000, row.degrade, 18000);
        EXPECT_FLOAT_EQ(rig.dropouts->cutoffScaleLeft, row.scale) << row.degrade;
        EXPECT_FLOAT_EQ(rig.dropouts->cutoffScaleRight, row.scale) << row.degrade;
        EXPECT_FLOAT_EQ(rig.dropouts->slider_3.getPosition(), row.position) << row.degrade;
        EXPECT_FLOAT_EQ(rig.dropouts->freqDropoutsL->getAmount(), row.amount) << row.degrade;
        EXPECT_FLOAT_EQ(rig.dropouts->freqDropoutsR->getAmount(), row.amount) << row.degrade;
    }
}

TEST(Dropouts, TheRollOffFactorIsLinearFrom100To18000Hz)
{
    struct Row
    {
        float hz, factor;
    };
    for (const Row& row : {Row{18000, 1.2f}, Row{100, 0.0075f}, Row{9050, 0.60375f}, Row{20, 0.0075f - 80 * 1.1925f / 17900}})
        EXPECT_NEAR(Dropouts::rolloffFactor(row.hz), row.factor, 1e-6f) << row.hz;
}

TEST(Dropouts, AtRestTheCutoffIsAbout18090HzTimesTheRollOff)
{
    // Degrade 0: the generators settle at 0, the control is the offset 0.4, x = 16000.
    EXPECT_NEAR(Dropouts::cutoffForControl(16000), 18090.17, 0.05);
    struct Row
    {
        float rolloff, factor;
        double probe; // a sine where the low-pass's slope shows
    };
    for (const Row& row : {Row{18000, 1.2f, 15000}, Row{100, 0.0075f, 500}})
    {
        DropoutsRig rig(96000, 0, row.rolloff);
        rig.patch.processBlocks(1500); // the roll-off slide settled
        const double cutoff = 18090.17 * row.factor;
        EXPECT_NEAR(rig.dropouts->getDesignedCutoff(0), cutoff, cutoff * 1e-4) << row.rolloff;
        EXPECT_NEAR(rig.dropouts->getDesignedCutoff(1), cutoff, cutoff * 1e-4) << row.rolloff;
        const SineGains gains = measureSineGains(rig.patch, row.probe, rig.rate, 96000);
        const double expected = biquadGain(referenceDesign(rig.rate, static_cast<float>(cutoff), 0.5f, 1.0f, dsp::LowPass), row.probe, rig.rate);
        EXPECT_NEAR(gains.left, expected, 0.01 * expected) << row.rolloff;
        EXPECT_NEAR(gains.right, expected, 0.01 * expected) << row.rolloff;
    }
}

TEST(Dropouts, TheRollOffSlideRisesAndFallsAtFixedRatesPerSample)
{
    for (float rate : {48000.0f, 96000.0f})
    {
        DropoutsRig rig(rate, 0, 18000);
        rig.patch.processBlocks(2); // 256 samples
        EXPECT_NEAR(rig.dropouts->getRolloffSlide(), 18000.0 * (1.0 - std::pow(0.995, 256.0)), 1.0) << rate;
        rig.patch.processBlocks(200);
        EXPECT_NEAR(rig.dropouts->getRolloffSlide(), 18000.0f, 0.5f);
        rig.setRolloff(100);
        rig.patch.processBlocks(4); // 512 samples
        EXPECT_NEAR(rig.dropouts->getRolloffSlide(), 100.0 + 17900.0 * std::pow(0.998, 512.0), 2.0) << rate;
    }
}

TEST(Dropouts, FullDegradePullsEachChannelsCutoffOnItsOwnPath)
{
    DropoutsRig rig(48000, 100, 18000, 5.0f);
    std::vector<float> left, right;
    for (int b = 0; b < 30 * 375; ++b) // 30 s
    {
        rig.patch.processBlocks(1);
        left.push_back(rig.dropouts->getDesignedCutoff(0));
        right.push_back(rig.dropouts->getDesignedCutoff(1));
    }
    for (const std::vector<float>* cutoffs : {&left, &right})
    {
        const auto [low, high] = std::minmax_element(cutoffs->begin() + 400, cutoffs->end());
        EXPECT_LT(*low, 2000.0f) << "the dropouts pull the cut-off down";
        EXPECT_GT(*high, 5000.0f);
        // x = scale × (control + 0.4) stays within [−6000, 14000]: at most about 15878 Hz × 1.2.
        EXPECT_LT(*high, 15880.0f * 1.2f);
    }
    size_t apart = 0;
    for (size_t i = 0; i < left.size(); ++i)
        apart += std::fabs(left[i] - right[i]) > 1000.0f;
    EXPECT_GT(apart, left.size() / 4) << "the channels wander independently";
}

TEST(Dropouts, SilenceOnOneInputLeavesTheOtherChannelUnchanged)
{
    auto render = [](bool leftSilent) {
        DropoutsRig rig(48000, 100, 5000, 3.0f);
        return renderSignals(
            rig.patch, 48000 * 3,
            [leftSilent](size_t i) { return leftSilent ? 0.0f : static_cast<float>(std::sin(0.05 * static_cast<double>(i))); },
            [](size_t i) { return static_cast<float>(std::sin(0.11 * static_cast<double>(i))); });
    };
    const StereoSignal both = render(false);
    const StereoSignal rightOnly = render(true);
    EXPECT_EQ(both.right, rightOnly.right);
    EXPECT_EQ(*std::max_element(rightOnly.left.begin(), rightOnly.left.end()), 0.0f);
}
