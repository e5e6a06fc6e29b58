// The noise gate inside the real engine core, as the only module of a test top level: its left input
// is the hiss on both of the gate's audio ports, its right input the key. With a hiss of 1 the output
// shows the fade gain times the gate's envelope.
#include "patch/heads/NoiseGate.h"

#include "tests/patch/ModuleTestRoot.h"
#include "tests/patch/StereoRender.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace PRT;
using namespace PRT::test;

using NoiseGate = Quillmore::PRTSubpatcher_42;

namespace
{
constexpr Index blockSize = 64;

struct GateRig
{
    // Started as the top level starts it: set-up and load clocks at installation, then the prepare,
    // then NoiseGateTime as the first block's parameter bang would hand it over.
    GateRig(float sampleRate, float gateTime)
    {
        auto& root = patch.install(new ModuleTestRoot<NoiseGate>());
        root.inputRoute = {0, 0, 1, -1, -1, -1, -1, -1};
        gate = root.module;
        prepare(sampleRate);
        gate->setGateTimeInput(gateTime);
    }

    void prepare(float sampleRate)
    {
        patch.prepare(sampleRate, blockSize);
        rate = sampleRate;
    }

    // The gated left hiss for a hiss of 1 and a constant key.
    std::vector<float> render(size_t samples, float key) { return renderSamples(patch, samples, 1.0f, key).left; }
    std::vector<float> renderSeconds(double seconds, float key)
    {
        return render(static_cast<size_t>(seconds * rate), key);
    }

    // A new NoiseGateTime arriving `offset` samples into the next block.
    void setGateTime(float time, int offset = 0)
    {
        gate->updateTime(patch.engine.getCurrentTime() + offset * 1000.0 / rate);
        gate->setGateTimeInput(time);
    }

    PatchEngine patch;
    NoiseGate* gate = nullptr;
    float rate = 0;
};

size_t at(double ms, float rate)
{
    return static_cast<size_t>(ms * 0.001 * rate);
}

const float rates[] = {44100.0f, 48000.0f, 96000.0f};
} // namespace

TEST(NoiseGate, StartUpMutesForHalfASecondThenFadesInInTwentyMillisecondSteps)
{
    struct Case
    {
        float key, gateTime;
        bool heard;
    } cases[] = {
        {0.5f, 1000, true},   // the program present
        {0.0f, 30000, true},  // the gate off
        {0.0f, 1000, false},  // a silent key: only the 3 ms of forced opening, while the fade is at 0
    };
    for (const float rate : rates)
        for (const Case& c : cases)
        {
            const std::string what = std::to_string(int(rate)) + " Hz, key " + std::to_string(c.key) + ", time " +
                                     std::to_string(int(c.gateTime));
            GateRig rig(rate, c.gateTime);
            const std::vector<float> out = rig.renderSeconds(1.2, c.key);
            if (!c.heard)
            {
                for (size_t i = 0; i < out.size(); ++i)
                    ASSERT_EQ(out[i], 0.0f) << what << ", sample " << i;
                continue;
            }
            // Silent until 500 ms (less the block that may hold the first step).
            for (size_t i = 0; i + blockSize < at(500, rate); ++i)
                ASSERT_EQ(out[i], 0.0f) << what << ", sample " << i;
            // Half way through each 20 ms step the gain is 0.04 per step; full from 1000 ms on.
            for (int step = 0; step < 25; ++step)
                EXPECT_NEAR(out[at(500 + 20 * step + 10, rate)], 0.04f * step, 1e-5f) << what << ", step " << step;
            for (size_t i = at(1000, rate) + blockSize; i < out.size(); ++i)
                ASSERT_EQ(out[i], 1.0f) << what << ", sample " << i;
            // Nothing in between: the gain moves only in whole steps.
            for (size_t i = 0; i < out.size(); ++i)
            {
                const float steps = out[i] / 0.04f;
                ASSERT_NEAR(steps, std::round(steps), 1e-3f) << what << ", sample " << i;
            }
        }
}

TEST(NoiseGate, OpensAtTheThresholdInNinetySixSamplesAndClosesOverGateTimeTimesFourteenPointFour)
{
    // The same sample counts at every rate.
    for (const float rate : rates)
    {
        const std::string what = std::to_string(int(rate)) + " Hz";
        GateRig rig(rate, 1000);
        rig.renderSeconds(1.1, 0.0f);

        const std::vector<float> below = rig.render(2000, 0.0099999f);
        EXPECT_EQ(below.back(), 0.0f) << what << ": a key below 0.01 leaves the gate shut";

        const std::vector<float> opening = rig.render(2 * blockSize * 3, 0.01f);
        EXPECT_NEAR(opening[95], 1.0 - std::pow(1.0 - 1.0 / 96, 96), 1e-4) << what << ": a key of exactly 0.01 opens";
        EXPECT_NEAR(opening[287], 1.0 - std::pow(1.0 - 1.0 / 96, 288), 1e-4) << what;

        const float open = opening.back();
        const std::vector<float> closing = rig.render(14400, 0.0099999f);
        EXPECT_NEAR(closing[0] / open, 1.0 - 1.0 / 14400, 1e-6) << what << ": the first sample below closes";
        EXPECT_NEAR(closing[14399] / open, std::pow(1.0 - 1.0 / 14400, 14400), 1e-4) << what;
    }
}

TEST(NoiseGate, ANewGateTimeAppliesWhenItArrives)
{
    struct Case
    {
        float gateTime;
        size_t decaySamples;
    } cases[] = {{200, 2880}, {30, 432}, {5000, 72000}, {29999, 431986}};
    for (const Case& c : cases)
    {
        GateRig rig(48000, 1000);
        rig.renderSeconds(1.1, 0.5f);
        rig.setGateTime(c.gateTime); // once
        const std::vector<float> closing = rig.render(c.decaySamples, 0.0f);
        EXPECT_NEAR(closing[c.decaySamples - 1], std::exp(-1.0), 1e-3) << "NoiseGateTime " << c.gateTime;
    }
}

TEST(NoiseGate, TheGateOffHoldsTheHissOpenUntilTheSampleAtWhichGatingReturns)
{
    GateRig rig(48000, 1000);
    EXPECT_EQ(rig.renderSeconds(1.1, 0.0f).back(), 0.0f);

    rig.setGateTime(30000);
    for (const float out : rig.render(4800, 0.0f))
        ASSERT_EQ(out, 1.0f) << "whatever the key";

    rig.setGateTime(1000, 10);
    const std::vector<float> back = rig.render(blockSize, 0.0f);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(back[i], 1.0f) << i;
    for (Index i = 10; i < blockSize; ++i)
        EXPECT_EQ(back[i], 0.0f) << i;
}

TEST(NoiseGate, ANewSampleRateMutesAndFadesInAgain)
{
    GateRig rig(48000, 1000);
    rig.renderSeconds(1.1, 0.5f);
    rig.prepare(96000);
    const std::vector<float> out = rig.renderSeconds(1.1, 0.5f);
    EXPECT_EQ(out[at(400, 96000)], 1.0f);
    EXPECT_EQ(out[at(505, 96000)], 0.0f);
    EXPECT_NEAR(out[at(750, 96000)], 0.48f, 1e-5f);
    EXPECT_EQ(out.back(), 1.0f);
}

TEST(NoiseGate, HostileKeysKeepTheGainBetweenZeroAndOne)
{
    GateRig rig(48000, 200);
    rig.renderSeconds(1.1, 0.5f);
    const float hostile[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity(), 1e30f, 1e-40f};
    float last = 0.0f;
    for (const float key : hostile)
    {
        for (const float out : rig.render(256, key))
            ASSERT_TRUE(out >= 0.0f && out <= 1.0f) << key;
        for (const float out : rig.render(256, 0.5f))
            ASSERT_TRUE((last = out) >= 0.0f && out <= 1.0f) << key;
    }
    const std::vector<float> closing = rig.render(2880, 0.0f);
    EXPECT_NEAR(closing.back() / last, std::exp(-1.0), 1e-3) << "the gate still closes as set";
}
