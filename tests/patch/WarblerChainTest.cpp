// The warbler's signal chain and parameter inlets: the delay each side reads the tape at, measured
// from the audio itself (a ramp in, so that the output at sample i is i minus the delay), and what
// it reports.
#include "patch/core/QuillmoreModules.h"
#include "patch/heads/DamageCrinkle.h"
#include "patch/heads/StDrift.h"

#include "tests/patch/CountingInput.h"
#include "tests/patch/ModuleTestRoot.h"
#include "tests/patch/PatchEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace PRT;
using namespace PRT::test;

namespace
{
using Warbler = Quillmore::PRTSubpatcher_54;

struct Amounts
{
    float instability = 0, drift = 0, flutter = 0, wowRate = 1.2f, wow = 0, master = 0, blips = 0;
};

class WarblerChainTest : public testing::Test
{
protected:
    void SetUp() override { start(48000.0f); }

    void start(float sampleRate)
    {
        root = &patch.install(new ModuleTestRoot<Warbler>());
        warbler = root->module;
        rate = sampleRate;
        patch.prepare(sampleRate, 64);
        patch.processBlocks(1); // the start-up
    }

    // The inlets as the top level runs them, each after the warbler's time is brought up.
    void set(const Amounts& a)
    {
        warbler->updateTime(patch.engine.getCurrentTime());
        warbler->setInstabilityInput(a.instability);
        warbler->setDriftInput(a.drift);
        warbler->setFlutterInput(a.flutter);
        warbler->number_obj_19.setNumberValue(a.wowRate);
        warbler->setWowInput(a.wow);
        warbler->setMasterInput(a.master);
        warbler->setBlipsInput(a.blips);
    }

    // Renders samples with the input counting up from where it stands (both sides); returns the delay
    // each side read at, sample by sample (the input minus the output).
    struct Delays
    {
        std::vector<double> left, right;
        std::vector<float> leftReports; // the left slider after each block, 0..1
    };
    Delays renderDelays(size_t samples)
    {
        Delays d;
        while (d.left.size() < samples)
        {
            processCountingBlock(patch, counter);
            for (Index i = 0; i < static_cast<Index>(patch.left.size()); ++i)
            {
                d.left.push_back(leftDelayRead(patch, i));
                d.right.push_back(rightDelayRead(patch, i));
            }
            d.leftReports.push_back(leftReport() / 128.0f);
        }
        return d;
    }

    // Reports as the sliders show them, 0..128.
    float leftReport() const { return warbler->slider_obj_370.getPosition(); }
    float rightReport() const { return warbler->slider_obj_371.getPosition(); }

    PatchEngine patch;
    ModuleTestRoot<Warbler>* root = nullptr;
    Warbler* warbler = nullptr;
    float rate = 48000.0f;
    double counter = 1.0;
};
} // namespace

TEST_F(WarblerChainTest, AtNoMasterWarbleTheTapeIsOneSampleLateAndReportsHalf)
{
    // Everything else at full: the master warble alone decides.
    set({100, 100, 100, 5, 100, 0, 100});
    renderDelays(48000); // the smoothers settle
    const Delays d = renderDelays(48000);
    for (size_t i = 0; i < d.left.size(); ++i)
    {
        ASSERT_EQ(d.left[i], 1.0) << i;
        ASSERT_EQ(d.right[i], 1.0) << i;
    }
    EXPECT_EQ(leftReport(), 64.0f) << "0.5 of the slider's 128";
    EXPECT_EQ(rightReport(), 64.0f);
}

TEST_F(WarblerChainTest, WowAloneSwingsTheDelayAroundItsCentreAtTheWowRate)
{
    set({0, 0, 0, 2.0f, 100, 100, 0});
    renderDelays(48000 * 3); // master depth, wow depth and the centre glide in
    EXPECT_FLOAT_EQ(warbler->depthSum(), 0.52f);
    EXPECT_FLOAT_EQ(warbler->baseDelayTarget, 520.0f);

    const Delays d = renderDelays(48000 * 2);
    double lowest = 1e9, highest = -1e9;
    size_t crossings = 0;
    for (size_t i = 0; i < d.left.size(); ++i)
    {
        ASSERT_NEAR(d.left[i], d.right[i], 1e-3) << "no drift, blips, flutter or instability: both sides alike";
        lowest = std::min(lowest, d.left[i]);
        highest = std::max(highest, d.left[i]);
        if (i > 0 && (d.left[i - 1] < 520.0) != (d.left[i] < 520.0))
            ++crossings;
    }
    const auto [lowestReport, highestReport] = std::minmax_element(d.leftReports.begin(), d.leftReports.end());
    EXPECT_NEAR(lowest, 20.0, 0.5) << "520 − 500";
    EXPECT_NEAR(highest, 1020.0, 0.5) << "520 + 500";
    EXPECT_EQ(crossings, 8u) << "2 Hz for two seconds: two crossings a cycle";
    EXPECT_NEAR(*lowestReport, 0.25f, 0.01f);
    EXPECT_NEAR(*highestReport, 0.75f, 0.01f);
}

TEST_F(WarblerChainTest, EveryDepthTermTakesTheValuesInForce)
{
    // The five weights after start-up: with every amount full the sum is theirs.
    set({100, 100, 100, 5, 100, 100, 100});
    EXPECT_FLOAT_EQ(warbler->depthSum(), 0.52f + 0.08f + 0.32f + 0.025f + 0.65f);
    EXPECT_FLOAT_EQ(warbler->baseDelayTarget, 1595.0f);

    // A new Wow counts at once, not at the next change.
    set({});
    warbler->setWowInput(60);
    EXPECT_FLOAT_EQ(warbler->depthSum(), 0.6f * 0.52f);
    warbler->setWowInput(70);
    EXPECT_FLOAT_EQ(warbler->depthSum(), 0.7f * 0.52f);
    // Nor does a term wait for an earlier one: Blips, then StDrift, each counts when set.
    warbler->setBlipsInput(100);
    EXPECT_FLOAT_EQ(warbler->depthSum(), 0.7f * 0.52f + 0.025f);
    warbler->setDriftInput(50);
    EXPECT_FLOAT_EQ(warbler->depthSum(), 0.7f * 0.52f + 0.025f + 0.5f * 0.65f);
    // A weight's change takes its term with the amount in force.
    warbler->updateTime(patch.engine.getCurrentTime());
    warbler->number_obj_333.setNumberValue(0.5f);
    EXPECT_FLOAT_EQ(warbler->depthSum(), 0.7f * 0.52f + 0.5f + 0.5f * 0.65f);
    warbler->setMasterInput(10);
    EXPECT_FLOAT_EQ(warbler->baseDelayTarget, 100.0f * warbler->depthSum());
}

TEST(WarblerStartUpWeights, ATermSetBeforeStartUpTakesTheStartUpWeightAfterIt)
{
    PatchEngine patch;
    auto& root = patch.install(new ModuleTestRoot<Warbler>());
    patch.prepare(48000.0f, 64);
    Warbler& warbler = *root.module;
    warbler.setWowInput(60);
    warbler.setFlutterInput(100);
    EXPECT_FLOAT_EQ(warbler.depthSum(), 0.6f * 0.5f + 0.2f) << "the weights before start-up";
    patch.processBlocks(1);
    EXPECT_FLOAT_EQ(warbler.depthSum(), 0.6f * 0.52f + 0.08f) << "the start-up's weights, with the same amounts";
}

TEST_F(WarblerChainTest, FlutterSetsItsBandAndBlipsTheirGain)
{
    struct FlutterRow
    {
        float flutter, lowCut, highCut, depth;
    };
    for (const FlutterRow& row : {FlutterRow{0.5f, 30, 29, 0.005f}, {100, 35, 25, 1}, {0, 30, 30, 0}, {25, 32, 27, 0.25f}})
    {
        warbler->setFlutterInput(row.flutter);
        EXPECT_EQ(warbler->flutterLowCut, row.lowCut) << row.flutter;
        EXPECT_EQ(warbler->flutterHighCut, row.highCut) << row.flutter;
        EXPECT_FLOAT_EQ(warbler->flutterDepthTarget, row.depth) << row.flutter;
    }
    struct BlipsRow
    {
        float blips, gain;
    };
    for (const BlipsRow& row : {BlipsRow{0, 0}, {100, 3}, {25, 1.5f}})
    {
        warbler->setBlipsInput(row.blips);
        EXPECT_FLOAT_EQ(warbler->blipsGain, row.gain) << row.blips;
    }
    struct InstabilityRow
    {
        float instability, gain, rateDepth;
    };
    for (const InstabilityRow& row : {InstabilityRow{100, 0.85f, 1}, {0, 0, 0}})
    {
        warbler->setInstabilityInput(row.instability);
        EXPECT_FLOAT_EQ(warbler->instabilityNoiseGain, row.gain);
        EXPECT_FLOAT_EQ(warbler->instabilityDepth, row.gain);
        EXPECT_FLOAT_EQ(warbler->instabilityRateDepth, row.rateDepth);
    }
    warbler->setWowInput(100);
    EXPECT_FLOAT_EQ(warbler->wowDepthTarget, 0.5f);
}

TEST_F(WarblerChainTest, TheDelayStaysWithinOneSampleAndTwoHundredMilliseconds)
{
    set({0, 0, 0, 1, 0, 100, 0});
    struct Row
    {
        float depthSum;
        double delay;
    };
    // The centre delay is 1000 × the depth sum (set straight on its box); far beyond either end.
    for (const Row& row : {Row{100.0f, 9600.0}, {-100.0f, 1.0}, {0.0f, 1.0}, {1.0f, 1000.0}})
    {
        warbler->updateTime(patch.engine.getCurrentTime());
        warbler->number_obj_327.setNumberValue(row.depthSum);
        renderDelays(48000 * 6);
        const Delays d = renderDelays(4800);
        EXPECT_NEAR(d.left.back(), row.delay, 0.01) << row.depthSum;
        EXPECT_NEAR(d.right.back(), row.delay, 0.01) << row.depthSum;
    }
}

TEST_F(WarblerChainTest, AfterASampleRateChangeTheLinesAreSilentUntilTheyFill)
{
    set({0, 0, 0, 1, 100, 100, 0}); // a centre of 520 samples, swinging by up to 500
    renderDelays(48000);
    patch.prepare(44100.0f, 64);
    EXPECT_EQ(warbler->delaytilde_07.maximumDelay(), 8820);
    const Index n = 64;
    std::vector<float> left, right;
    for (int block = 0; block < 4; ++block)
    {
        for (Index i = 0; i < n; ++i)
            patch.left[i] = patch.right[i] = 1.0f;
        const SampleValue* inputs[] = {patch.left.data(), patch.right.data()};
        SampleValue* outputs[] = {patch.outLeft.data(), patch.outRight.data()};
        patch.engine.process(inputs, 2, outputs, 2, n, nullptr, nullptr);
        left.insert(left.end(), patch.outLeft.begin(), patch.outLeft.end());
        right.insert(right.end(), patch.outRight.begin(), patch.outRight.end());
    }
    // At least 20 samples of delay whatever the wow's phase: nothing of what came before the change.
    for (size_t i = 0; i < 20; ++i)
    {
        EXPECT_EQ(left[i], 0.0f) << i;
        EXPECT_EQ(right[i], 0.0f) << i;
    }
}

TEST(WarblerReports, AReportBeyondTheRangeReachesTheTopLevelClamped)
{
    PatchEngine patch;
    Quillmore& top = patch.install(new Quillmore());
    patch.prepare(48000.0f, 64);
    patch.processBlocks(2);
    EXPECT_EQ(top.getParameterValue(params::WarbleR), 0.5f) << "MstrWarble 0: exactly no deflection";
    EXPECT_EQ(top.getParameterValue(params::WarbleL), 0.5f);

    Warbler& warbler = *top.warbler;
    const MillisecondTime now = patch.engine.getCurrentTime();
    warbler.processClockEvent(now, Warbler::rightReportClock, true, 1.5f);
    EXPECT_EQ(top.getParameterValue(params::WarbleR), 1.0f) << "1.25 clamped by the top level";
    EXPECT_EQ(warbler.slider_obj_371.getPosition(), 128.0f);
    warbler.processClockEvent(now, Warbler::leftReportClock, true, -0.5f);
    EXPECT_EQ(top.getParameterValue(params::WarbleL), 0.25f);
    EXPECT_EQ(warbler.slider_obj_370.getPosition(), 32.0f);
}
