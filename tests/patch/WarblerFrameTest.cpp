// The warbler inside the real patch and engine: its messages, start-up, state, data references and
// the fixed sequences of its control generators.
#include "patch/core/MessageTags.h"
#include "patch/core/QuillmoreModules.h"
#include "patch/core/RandomState.h"
#include "patch/heads/DamageCrinkle.h"
#include "patch/heads/StDrift.h"
#include "runtime/PatcherState.h"

#include "tests/patch/PatchEngine.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace PRT;
using namespace PRT::test;

namespace
{
using Warbler = Quillmore::PRTSubpatcher_54;

class WarblerFrameTest : public testing::Test
{
protected:
    void SetUp() override
    {
        top = &patch.install(new Quillmore());
        warbler = top->warbler;
        patch.prepare(48000.0f, 64);
        patch.processBlocks(1);
        patch.takeSent();
    }

    MillisecondTime now() { return patch.engine.getCurrentTime(); }
    void number(const char* tag, const char* path, float value)
    {
        patch.sendNumber(hashString(tag), hashString(path), value, now());
        patch.processBlocks(1);
    }
    void bang(const char* tag, const char* path)
    {
        patch.sendBang(hashString(tag), hashString(path), now());
        patch.processBlocks(1);
    }

    // What the start-up sets, to compare one start-up with another.
    struct StartupState
    {
        float weights[5];
        float depthSum, wowRateModGain, sampleRate, bandGain, stepThreshold, wanderThreshold, upperThreshold;
        bool operator==(const StartupState& o) const
        {
            for (int k = 0; k < 5; ++k)
                if (weights[k] != o.weights[k])
                    return false;
            return depthSum == o.depthSum && wowRateModGain == o.wowRateModGain && sampleRate == o.sampleRate &&
                   bandGain == o.bandGain && stepThreshold == o.stepThreshold && wanderThreshold == o.wanderThreshold &&
                   upperThreshold == o.upperThreshold;
        }
    };
    StartupState startupState() const
    {
        return {{warbler->number_obj_331.getValue(), warbler->number_obj_332.getValue(),
                 warbler->number_obj_342.getValue(), warbler->number_obj_333.getValue(),
                 warbler->number_obj_334.getValue()},
                warbler->depthSum(),
                warbler->wowRateModGain,
                warbler->number_obj_37.getValue(),
                warbler->flutterBandGain,
                warbler->stepThreshold,
                warbler->wanderThreshold,
                warbler->upperThreshold};
    }

    PatchEngine patch;
    Quillmore* top = nullptr;
    Warbler* warbler = nullptr;
};
} // namespace

TEST_F(WarblerFrameTest, StartUpSetsTheWeightsThresholdsAndTheSampleRateInForce)
{
    const StartupState s = startupState();
    EXPECT_FLOAT_EQ(s.weights[0], 0.52f);
    EXPECT_FLOAT_EQ(s.weights[1], 0.08f);
    EXPECT_FLOAT_EQ(s.weights[2], 0.32f);
    EXPECT_FLOAT_EQ(s.weights[3], 0.025f);
    EXPECT_FLOAT_EQ(s.weights[4], 0.65f);
    EXPECT_FLOAT_EQ(s.wowRateModGain, 0.8f);
    EXPECT_EQ(s.sampleRate, 48000.0f) << "number_obj-37 holds the host's rate, not the box's 48000 by chance";
    EXPECT_EQ(warbler->lastSampleRateSent(), 48000.0f);
    EXPECT_EQ(s.bandGain, 350.0f);
    EXPECT_FLOAT_EQ(s.stepThreshold, 0.55f);
    EXPECT_FLOAT_EQ(s.wanderThreshold, 0.55f);
    EXPECT_FLOAT_EQ(s.upperThreshold, 0.8f);

    // At another rate the prepare sends the new rate.
    patch.prepare(44100.0f, 64);
    EXPECT_EQ(warbler->number_obj_37.getValue(), 44100.0f);
}

TEST_F(WarblerFrameTest, ARepeatedStartUpGivesTheSameStateAsOne)
{
    // Disturb what the start-up sets, then run it once and twice.
    auto disturb = [&] {
        number("valin", "Warbler/number_obj-331", 0.9f);
        number("valin", "Warbler/number_obj-134", 0.1f);
        number("valin", "Warbler/number_obj-37", 7.0f);
    };
    disturb();
    bang("startupbang", "Warbler/loadbang_obj-190");
    const StartupState once = startupState();
    disturb();
    bang("startupbang", "Warbler/loadbang_obj-190");
    bang("startupbang", "Warbler/loadbang_obj-190");
    EXPECT_TRUE(startupState() == once);
    EXPECT_FLOAT_EQ(once.weights[0], 0.52f);

    disturb();
    bang("bangin", "Warbler/button_obj-119");
    EXPECT_TRUE(startupState() == once) << "the start-up button runs the same routine";
    bool echoed = false;
    for (const SentMessage& m : patch.takeSent())
        echoed = echoed || (m.tag == tags::bangout.hash && m.objectId == hashString("Warbler/button_obj-119"));
    EXPECT_TRUE(echoed);
}

TEST_F(WarblerFrameTest, MessagesReachTheirObjects)
{
    // "format": clamped to 0..6 and truncated.
    struct FormatRow
    {
        float sent;
        int64_t format;
    };
    for (const FormatRow& row : {FormatRow{7.0f, 6}, {2.7f, 2}, {-1.0f, 0}, {6.0f, 6}})
    {
        number("format", "Warbler/number_obj-248", row.sent);
        EXPECT_EQ(warbler->number_obj_248.getFormat(), row.format) << row.sent;
    }
    number("valin", "Warbler/number_obj-39", 12.5f);
    EXPECT_EQ(warbler->number_obj_39.getValue(), 12.0f) << "an integer box truncates";
    EXPECT_EQ(warbler->flutterLowCut, 12.0f);

    // "mode": 1 holds the set value, 2 follows the input, anything else leaves it.
    number("mode", "Warbler/number~_obj-21", 2.0f);
    EXPECT_EQ(warbler->numberTilde_obj_21.getOutputMode(), SignalMonitor::FollowInput);
    number("mode", "Warbler/number~_obj-21", 3.0f);
    EXPECT_EQ(warbler->numberTilde_obj_21.getOutputMode(), SignalMonitor::FollowInput);
    number("mode", "Warbler/number~_obj-21", 1.0f);
    EXPECT_EQ(warbler->numberTilde_obj_21.getOutputMode(), SignalMonitor::RampToSetValue);

    // "listin" fills a message box without sending; "bangin" sends its first value on.
    number("listin", "Warbler/message_obj-355", 0.3f);
    EXPECT_EQ(warbler->message_obj_355.getContent()[0], 0.3f);
    EXPECT_FLOAT_EQ(warbler->number_obj_331.getValue(), 0.52f);
    bang("bangin", "Warbler/message_obj-355");
    EXPECT_FLOAT_EQ(warbler->number_obj_331.getValue(), 0.3f);

    patch.sendList(hashString("listin"), hashString("Warbler/message_obj-98"), {}, now());
    patch.processBlocks(1);
    bang("bangin", "Warbler/message_obj-98");
    EXPECT_EQ(warbler->wowRateModGain, 0.0f) << "an empty box sends 0";

    // Sliders take any value.
    number("valin", "Warbler/slider_obj-370", 300.0f);
    EXPECT_EQ(warbler->slider_obj_370.getPosition(), 300.0f);

    // Messages go on to the children.
    number("valin", "Warbler/DamageCrinkleL/number_obj-21", 70.0f);
    EXPECT_EQ(warbler->damageCrinkleL->followerAddend, 70.0f);
    number("valin", "Warbler/StDrift/number_obj-8", 0.5f);
    EXPECT_FLOAT_EQ(warbler->stDrift->driftRateHz, 0.25f);
    EXPECT_FLOAT_EQ(warbler->stDrift->rightDriftGain, 0.5f);
}

TEST_F(WarblerFrameTest, FrameHasNoParametersTwoDelayLinesAndItsTags)
{
    EXPECT_EQ(warbler->getNumParameters(), 0);
    EXPECT_STREQ(warbler->getParameterName(0), "bogus");
    EXPECT_EQ(warbler->getNumInputChannels(), 2);
    EXPECT_EQ(warbler->getNumExtraSignalInputs(), 3);
    EXPECT_EQ(warbler->getNumExtraSignalOutputs(), 3);

    EXPECT_EQ(warbler->getNumDataRefs(), 2);
    ASSERT_NE(warbler->getDataRef(19), nullptr);
    EXPECT_STREQ(warbler->getDataRef(19)->getName(), "delaytilde_07_del_bufferobj");
    EXPECT_STREQ(warbler->getDataRef(20)->getName(), "delaytilde_08_del_bufferobj");
    EXPECT_EQ(warbler->getDataRef(21), nullptr);
    EXPECT_EQ(warbler->getDataRef(14), nullptr) << "the cosine table is the top level's";
    EXPECT_EQ(warbler->delaytilde_07.maximumDelay(), 9600);
    EXPECT_EQ(warbler->delaytilde_08.capacity(), 16384u);
    EXPECT_EQ(warbler->delaytilde_07_del_bufferobj.getFrameCount(), 16384u);

    for (const char* text : {"assign", "startupbang", "bangout", "Warbler/scope~_obj-446", "Warbler/loadbang_obj-190",
                             "Warbler/message_obj-182", "Warbler/StDrift/number~_obj-26",
                             "Warbler/StDrift/Instability/number_obj-28", "Warbler/DamageCrinkleL/button_obj-174"})
        EXPECT_STREQ(warbler->resolveTag(hashString(text)), text);
    EXPECT_EQ(warbler->resolveTag(hashString("Warbler/number_obj-999")), nullptr);
}

TEST_F(WarblerFrameTest, TheSavedStateHoldsOnlyTheThreeEmptyNodes)
{
    PatcherState state;
    warbler->getPreset(state);
    EXPECT_EQ(state.getNumEntries(), 1u);
    const auto* nested = static_cast<const PatcherState*>(state.findSubState("__sps"));
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->getNumEntries(), 2u);
    const auto* drift = static_cast<const PatcherState*>(nested->findSubState("StDrift"));
    ASSERT_NE(drift, nullptr);
    EXPECT_EQ(drift->getNumEntries(), 1u);
    const PatcherStateInterface* instability = drift->findSubState("__sps")->findSubState("Instability");
    ASSERT_NE(instability, nullptr);
    EXPECT_TRUE(instability->isEmpty());
    ASSERT_NE(nested->findSubState("DamageCrinkleL"), nullptr);
    EXPECT_TRUE(nested->findSubState("DamageCrinkleL")->isEmpty());
}

namespace
{
// The control generators' values, block by block, of a patch whose noise sources are seeded with seed.
struct ControlSequence
{
    std::vector<float> slideDown, slideUp, stepRates, wanderRates;
};

ControlSequence controlSequence(float seed)
{
    ScopedFixedRandomSeed fixed(seed);
    PatchEngine patch;
    Quillmore& top = patch.install(new Quillmore());
    patch.prepare(48000.0f, 64);
    ControlSequence s;
    for (int block = 0; block < 48000 * 6 / 64; ++block)
    {
        patch.processBlocks(1);
        auto note = [](std::vector<float>& v, float x) {
            if (v.empty() || v.back() != x)
                v.push_back(x);
        };
        note(s.slideDown, top.warbler->flutterSlideDown);
        note(s.slideUp, top.warbler->flutterSlideUp);
        note(s.stepRates, top.warbler->stepRate);
        note(s.wanderRates, top.warbler->wanderRate);
    }
    return s;
}
} // namespace

TEST(WarblerControlGenerators, TwoInstancesDrawTheSameTicksAndRates)
{
    const ControlSequence a = controlSequence(1.0f);
    const ControlSequence b = controlSequence(2.0f);
    EXPECT_EQ(a.slideDown, b.slideDown);
    EXPECT_EQ(a.slideUp, b.slideUp);
    EXPECT_EQ(a.stepRates, b.stepRates);
    EXPECT_EQ(a.wanderRates, b.wanderRates);

    // Six seconds: ticks every 0 to 500 ms, a step rate per step cycle, a wander rate per cycle.
    EXPECT_GT(a.slideDown.size(), 12u);
    EXPECT_GT(a.stepRates.size(), 3u);
    EXPECT_GT(a.wanderRates.size(), 24u);
    for (float down : a.slideDown)
        EXPECT_TRUE(down >= 48000.0f && down <= 48500.0f) << down;
    for (float up : a.slideUp)
        EXPECT_TRUE(up >= 48000.0f && up <= 49000.0f) << up;
    for (size_t k = 1; k < a.stepRates.size(); ++k)
        EXPECT_TRUE(a.stepRates[k] >= 0.5f && a.stepRates[k] <= 6.5f) << a.stepRates[k];
    for (size_t k = 1; k < a.wanderRates.size(); ++k)
        EXPECT_TRUE(a.wanderRates[k] >= 4.0f && a.wanderRates[k] <= 14.0f) << a.wanderRates[k];
}
