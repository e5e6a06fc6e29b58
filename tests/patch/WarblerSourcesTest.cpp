// The warbler's modulation sources: the stereo drift, the crinkle's blips, the flutter band, the
// instability's stepped branch and the wow rate.
#include "patch/core/QuillmoreModules.h"
#include "patch/core/SegmentRamp.h"
#include "patch/heads/DamageCrinkle.h"
#include "patch/heads/StDrift.h"

#include "tests/patch/ModuleTestRoot.h"
#include "tests/patch/PatchEngine.h"
#include "tests/patch/SchedulingRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace PRT;
using namespace PRT::test;

namespace
{
using Warbler = Quillmore::PRTSubpatcher_54;
using StDrift = Warbler::PRTSubpatcher_37;
using Crinkle = Warbler::PRTSubpatcher_38;

// Runs StDrift's block by itself (inside a real patch, for the shared cosine table) with input 0.
struct DriftRun
{
    std::vector<float> left, right;
};
DriftRun runDrift(StDrift& drift, size_t blocks)
{
    std::vector<float> in(64, 0.0f), l(64), r(64);
    const SampleValue* inputs[] = {in.data()};
    SampleValue* outputs[] = {l.data(), r.data()};
    DriftRun run;
    for (size_t b = 0; b < blocks; ++b)
    {
        drift.process(inputs, 1, outputs, 2, 64);
        run.left.insert(run.left.end(), l.begin(), l.end());
        run.right.insert(run.right.end(), r.begin(), r.end());
    }
    return run;
}

float peak(const std::vector<float>& x)
{
    float p = 0.0f;
    for (float v : x)
        p = std::max(p, std::fabs(v));
    return p;
}
} // namespace

TEST(StDrift, TheAmountShapesBothSides)
{
    PatchEngine patch;
    Quillmore& top = patch.install(new Quillmore());
    patch.prepare(48000.0f, 64);
    StDrift& drift = *top.warbler->stDrift;

    // Before any amount: the left silent, the right the cosine at full gain; the offset at 1.4 Hz.
    EXPECT_EQ(drift.leftDriftGain, 0.0f);
    EXPECT_EQ(drift.rightDriftGain, 1.0f);
    EXPECT_FLOAT_EQ(drift.driftRateHz, 1.4f);
    DriftRun run = runDrift(drift, 750);
    EXPECT_EQ(peak(run.left), 0.0f);
    EXPECT_NEAR(peak(run.right), 1.0f, 1e-4f);

    struct Row
    {
        float amount, left, right, rate;
    };
    for (const Row& row : {Row{0, 0, 0, 0}, {1, 1, 0.66f, 0.33f}, {0.5f, std::pow(0.5f, 1.7f), 0.33f, 0.165f}})
    {
        drift.updateTime(patch.engine.getCurrentTime());
        drift.setAmountInput(row.amount);
        EXPECT_FLOAT_EQ(drift.leftDriftGain, row.left) << row.amount;
        EXPECT_FLOAT_EQ(drift.rightDriftGain, row.right) << row.amount;
        EXPECT_FLOAT_EQ(drift.driftRateHz, row.rate) << row.amount;
        patch.prepare(44100.0f + row.amount, 64); // the oscillator back to phase 0: its peak comes first
        run = runDrift(drift, 750);
        if (row.amount == 0.0f)
        {
            EXPECT_EQ(peak(run.left), 0.0f) << "exact zeros";
            EXPECT_EQ(peak(run.right), 0.0f) << "exact zeros";
        }
        else
        {
            EXPECT_NEAR(peak(run.right), row.right, 1e-4f) << row.amount;
        }
    }
}

TEST(StDrift, TheRandomOffsetGlidesBetweenItsTargetsAndWrapsItsPhase)
{
    PatchEngine patch;
    Quillmore& top = patch.install(new Quillmore());
    patch.prepare(48000.0f, 64);
    StDrift& drift = *top.warbler->stDrift;
    drift.driftRateHz = 0.0f; // raised to 0.0001 Hz: it still moves
    const float phase = drift.offsetPhasor.phase();
    runDrift(drift, 10);
    EXPECT_GT(drift.offsetPhasor.phase(), phase);

    drift.driftRateHz = 40.0f;
    float lowest = 1.0f, highest = -1.0f;
    for (int b = 0; b < 750; ++b)
    {
        runDrift(drift, 1);
        lowest = std::min(lowest, drift.lastOffset);
        highest = std::max(highest, drift.lastOffset);
    }
    EXPECT_GE(lowest, -1.0f);
    EXPECT_LT(highest, 1.0f);
    EXPECT_LT(lowest, -0.3f) << "forty new targets a second wander over the range";
    EXPECT_GT(highest, 0.3f);
}

TEST(SegmentRamp, ABlipEnvelopeStartsAtZeroPeaksAtOneAndEndsAtZero)
{
    struct Probe final : GeneratedPatcher
    {
        Probe() : GeneratedPatcher({"Probe", 0, 0}, 0) {}
        SegmentRamp ramp{*this, 1};
        std::vector<float> out;
        void processBlock(const SampleValue* const*, SampleValue* const*, Index n) override
        {
            std::vector<float> block(n);
            ramp.render(block.data(), n);
            out.insert(out.end(), block.begin(), block.end());
        }
    };
    for (const auto& shape : {std::pair<float, float>{20, 1}, {50, 31}, {35, 16}})
    {
        PatchEngine patch;
        Probe& probe = patch.install(new Probe());
        patch.prepare(48000.0f, 64);
        list envelope;
        for (float v : {0.0f, 0.0f, 1.0f, shape.first, 0.0f, shape.second})
            envelope.push(v);
        probe.ramp.receive(envelope);
        patch.processBlocks(100);
        const std::vector<float>& out = probe.out;
        const size_t top = 1 + static_cast<size_t>(shape.first * 48.0f);
        EXPECT_EQ(out[0], 0.0f);
        EXPECT_EQ(out[top], 1.0f) << "the peak at the end of the rise";
        EXPECT_EQ(*std::max_element(out.begin(), out.end()), 1.0f);
        EXPECT_EQ(*std::min_element(out.begin(), out.end()), 0.0f);
        EXPECT_EQ(out[top + static_cast<size_t>(shape.second * 48.0f)], 0.0f) << "back at 0 after the fall";
        EXPECT_EQ(out.back(), 0.0f);
        EXPECT_EQ(probe.ramp.segmentCount(), 0u);
    }
}

namespace
{
class CrinkleTest : public testing::Test
{
protected:
    void SetUp() override
    {
        root = &patch.install(new ModuleTestRoot<Crinkle>());
        crinkle = root->module;
        patch.prepare(48000.0f, 64);
    }
    void setBlips(float b)
    {
        crinkle->updateTime(patch.engine.getCurrentTime());
        crinkle->number_obj_10.setNumberValue(b);
    }
    std::vector<float> render(size_t blocks)
    {
        std::vector<float> out;
        for (size_t b = 0; b < blocks; ++b)
        {
            patch.processBlocks(1);
            out.insert(out.end(), patch.outLeft.begin(), patch.outLeft.end());
        }
        return out;
    }
    PatchEngine patch;
    ModuleTestRoot<Crinkle>* root = nullptr;
    Crinkle* crinkle = nullptr;
};
} // namespace

TEST_F(CrinkleTest, StartsWithOneBlipAndTicksAtTheRateBlipsSets)
{
    patch.processBlocks(1);
    EXPECT_EQ(crinkle->slideUpSamples, 1154.0f);
    EXPECT_EQ(crinkle->slideDownSamples, 2309.0f);
    EXPECT_EQ(crinkle->follower.rampTime(), 115.47564f);
    EXPECT_GT(crinkle->envelope.segmentCount(), 0u) << "the start-up blip's envelope runs";
    EXPECT_EQ(crinkle->tickBaseMs, 1800.0f);

    struct Row
    {
        float blips, tickMs;
    };
    for (const Row& row : {Row{0, 1800}, {100, 1300}, {50, 1550}})
    {
        setBlips(row.blips);
        EXPECT_EQ(crinkle->blipTickIntervalMs, row.tickMs) << row.blips;
    }
    // The blip clock's rate: ((0.015 b)² + 0.01) × a factor in [0.12, 0.52].
    setBlips(100);
    EXPECT_GE(crinkle->blipRateHz, 2.26f * 0.12f - 1e-4f);
    EXPECT_LE(crinkle->blipRateHz, 2.26f * 0.52f + 1e-4f);

    // The clock keeps its phase when its rate changes.
    render(20);
    const float phase = crinkle->blipPhasor.phase();
    setBlips(0);
    EXPECT_EQ(crinkle->blipPhasor.phase(), phase);
}

TEST_F(CrinkleTest, BlipsAreSmoothBumpsWithinZeroToOne)
{
    patch.processBlocks(1);
    setBlips(100);
    const std::vector<float> out = render(48000 * 30 / 64);
    size_t blips = 0;
    bool rising = false;
    float lowest = 1.0f;
    for (size_t i = 1; i < out.size(); ++i)
    {
        ASSERT_TRUE(out[i] >= 0.0f && out[i] <= 1.0f) << i << ": " << out[i];
        ASSERT_LT(std::fabs(out[i] - out[i - 1]), 0.01f) << "no steps";
        if (!rising && out[i] > out[i - 1] && out[i - 1] < 0.05f)
        {
            ++blips;
            rising = true;
        }
        if (out[i] < out[i - 1])
            rising = false;
        lowest = std::min(lowest, out[i]);
    }
    EXPECT_GT(blips, 8u) << "about one a second and a half at full Blips";
    EXPECT_LT(lowest, 0.01f) << "back near rest between them";
}

TEST_F(CrinkleTest, ABlipsValueBeforeTheLoadBangNeverBusiesTheTick)
{
    SchedulingRecorder recorder(patch.engine);
    crinkle->setEngineAndParent(&recorder, root);
    setBlips(100); // the tick base is not set yet: a period of 0 ms
    EXPECT_EQ(crinkle->blipTickIntervalMs, 0.0f);
    crinkle->processClockEvent(patch.engine.getCurrentTime(), clocks::periodicTick, false, 0.0f);
    patch.processBlocks(48000 / 64);
    size_t ticks = 0;
    MillisecondTime last = -1.0;
    for (const auto& [clock, time] : recorder.scheduled)
        if (clock == clocks::periodicTick)
        {
            ++ticks;
            EXPECT_GT(time, last) << "never twice at one time";
            last = time;
        }
    EXPECT_LE(ticks, 3u) << "1 ms, then 1300 ms once the base is set";
}

namespace
{
class WarblerSourcesTest : public testing::Test
{
protected:
    void SetUp() override
    {
        root = &patch.install(new ModuleTestRoot<Warbler>());
        warbler = root->module;
        patch.prepare(48000.0f, 16);
        patch.processBlocks(1);
        warbler->setInstabilityInput(0);
        warbler->setDriftInput(0);
        warbler->setBlipsInput(0);
    }
    PatchEngine patch;
    ModuleTestRoot<Warbler>* root = nullptr;
    Warbler* warbler = nullptr;
};
} // namespace

TEST_F(WarblerSourcesTest, FlutterZeroSilencesTheFlutterSignalButNotTheBand)
{
    warbler->setFlutterInput(0);
    patch.takeSent();
    float signal = 0.0f;
    for (int b = 0; b < 48000 / 16; ++b)
    {
        patch.processBlocks(1);
        for (Index i = 0; i < 16; ++i)
            signal = std::max(signal, std::fabs(root->extraOutputs[0][i]));
    }
    EXPECT_EQ(signal, 0.0f) << "flutter plus instability, both 0";
    float band = 0.0f;
    for (const SentMessage& m : patch.takeSent())
        if (m.objectId == hashString("Warbler/scope~_obj-239"))
            for (float v : m.values)
                band = std::max(band, std::fabs(v));
    EXPECT_GT(band, 0.0f) << "the flutter band still runs (and drives StDrift)";

    warbler->setFlutterInput(100);
    for (int b = 0; b < 48000 / 16; ++b)
    {
        patch.processBlocks(1);
        for (Index i = 0; i < 16; ++i)
            signal = std::max(signal, std::fabs(root->extraOutputs[0][i]));
    }
    EXPECT_GT(signal, 0.0f);
}

TEST_F(WarblerSourcesTest, FullInstabilityLiftsTheWowRateByTheRateModulation)
{
    warbler->number_obj_19.setNumberValue(5.0f);
    warbler->setInstabilityInput(100);
    patch.processBlocks(48000 * 2 / 16);
    // Settled as far as the smoother's single-precision steps go (they stall within 2.4e-4 of 5.4).
    EXPECT_NEAR(warbler->wowRateSmoother.value(), 5.4f, 3e-4f) << "5 + 0.5 × 0.8";
    EXPECT_FLOAT_EQ(root->extraOutputs[2][15], 0.5f) << "the rate modulation leaves on port 4";
}

TEST_F(WarblerSourcesTest, AStepPhasorWrapSchedulesItsEdgesAtTheWrapSampleAndTheNext)
{
    SchedulingRecorder recorder(patch.engine);
    warbler->setEngineAndParent(&recorder, root);
    patch.processBlocks(48000 * 20 / 16);
    const double msPerSample = 1000.0 / 48000.0;
    std::vector<MillisecondTime> rising, falling;
    for (const auto& [clock, time] : recorder.scheduled)
    {
        if (clock == Warbler::stepWrapRisingClock)
            rising.push_back(time);
        if (clock == Warbler::stepWrapFallingClock)
            falling.push_back(time);
    }
    ASSERT_GT(rising.size(), 20u);
    ASSERT_EQ(falling.size(), rising.size());
    size_t acrossBlocks = 0;
    for (size_t k = 0; k < rising.size(); ++k)
    {
        EXPECT_NEAR(falling[k] - rising[k], msPerSample, 1e-9) << k;
        const auto sample = static_cast<int64_t>(std::llround(rising[k] / msPerSample));
        if (sample % 16 == 15)
            ++acrossBlocks;
    }
    EXPECT_GT(acrossBlocks, 0u) << "some wraps on a block's last sample, their falling edge in the next";
}
