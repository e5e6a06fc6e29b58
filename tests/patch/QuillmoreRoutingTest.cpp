#include "patch/core/MessageTags.h"
#include "patch/core/QuillmoreModules.h"

#include "tests/patch/PatchEngine.h"
#include "tests/patch/QuillmoreSpies.h"
#include "tests/runtime/CountingPlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

using namespace PRT;
using namespace PRT::test;

namespace
{
// One step of a parameter's routing: an entry point of a module (spied, "Module.entryPoint") or an
// object of the top level or a module that the top level drives directly, with the value it echoed.
struct Step
{
    std::string what;
    float value;
};

struct Row
{
    ParameterIndex index;
    float set;
    float stored;
    std::vector<Step> steps;
};

// Every parameter in index order, each set once; the state carries over from row to row (EchoMix
// comes before the send mode is on, EchoToSpring after it).
const std::vector<Row> routingTable = {
    {params::TrueBypass, 0.5f, 0.5f, {{"toggle_obj-173", 1}}},
    {params::Saturate, 40, 40, {{"OutputAmp.setSaturationInput", 40}}},
    {params::Output, 150, 150, {{"OutputAmp.setOutputLevelInput", 150}}},
    {params::HighPass, 500, 500, {{"InputFilter/number~_obj-32", 500}}},
    {params::HighPassQ, 1.5f, 1.5f, {{"InputFilter.setQInput", 1.5f}}},
    {params::Input, 150, 150, {}},
    {params::EchoFdbck, 0, 1, {{"TapeDelayOG/FeedbackAmp/number_obj-69", 1}}},
    {params::EchoStOffset, -0.5f, -0.5f, {{"TapeDelayOG/number_obj-132", -0.5f}}},
    {params::EchoFilterQ, 0.5f, 0.5f, {{"TapeDelayOG/Biquad/number~_obj-30", 0.5f}}},
    {params::EchoFilterFreq, 1000, 1000, {{"TapeDelayOG/Biquad/number~_obj-32", 1000}}},
    {params::EchoFilterLFOSpeed, 2, 2, {{"TapeDelayOG/number_obj-68", 2}}},
    {params::EchoFilterLFOAmount, 30, 30, {{"TapeDelayOG.setLfoAmountInput", 30}}},
    {params::EchoTime, 0, 1, {{"TapeDelayOG/number_obj-48", 1}}},
    {params::EchoMix, 50, 50, {{"DryWetDelay.setMixInput", 50}, {"number_obj-210", 0}, {"DelToSprings.setGainInput", 0}}},
    {params::SpringAB, 25, 25, {{"DryWetSprings.setBlendInput", 25}}},
    {params::SpringHighPass, 800, 800, {{"SpringsHighPass/number~_obj-32", 800}}},
    {params::SpringDecay, 40, 40, {{"SpringsB.setDecayInput", 40}, {"SpringUtilities.setDecayInput", 40}}},
    {params::SpringSize, 8, 8, {{"SpringsB.setSizeInput", 8}, {"SpringUtilities.setSizeInput", 8}}},
    {params::SpringMix, 60, 60, {{"SpringUtilities/number_obj-92", 60}}},
    {params::NoiseFreq, 1000, 1000, {{"NoiseGen/Biquad.setFrequencyInput", 1000}}},
    {params::NoiseAmnt, 50, 50, {{"NoiseGen/number_obj-46", 0.5f}}},
    {params::NoiseDuckTime, 200, 200,
     {{"NoiseDucker/compressor.setTimeInput", 200}, {"NoiseDucker[1]/compressor.setTimeInput", 200}}},
    {params::NoiseGateTime, 30000, 30000, {{"NoiseGate.setGateTimeInput", 30000}}},
    {params::NoiseDuckThresh, 3, 0, {{"NoiseDucker/compressor/flonum", 0}, {"NoiseDucker[1]/compressor/flonum", 0}}},
    {params::Instability, 10, 10, {{"Warbler.setInstabilityInput", 10}}},
    {params::StDrift, 20, 20, {{"Warbler.setDriftInput", 20}}},
    {params::Flutter, 30, 30, {{"Warbler.setFlutterInput", 30}}},
    {params::WowRate, 2.5f, 2.5f, {{"Warbler/number_obj-19", 2.5f}}},
    {params::Wow, 40, 40, {{"Warbler.setWowInput", 40}}},
    {params::MstrWarble, 50, 50, {{"Warbler.setMasterInput", 50}}},
    {params::Blips, 60, 60, {{"Warbler.setBlipsInput", 60}}},
    {params::Degrade, 70, 70, {{"Dropouts/number_obj-28", 70}}},
    {params::HighRolloff, 5000, 5000, {{"Dropouts.setRolloffInput", 5000}}},
    {params::hostTempo, 90, 90, {{"TapeDelayOG.setHostTempoInput", 90}, {"TapeDelayOG/number_obj-101", 0}}},
    {params::EchoSyncOn, 0.6f, 1, {{"TapeDelayOG.setSyncOnInput", 1}}},
    {params::EchoSyncDiv, 7.5f, 8, {{"number_obj-57", 8}, {"TapeDelayOG/number_obj-101", 8}}},
    {params::EchoFiltMeter, 5, 20, {}},
    {params::SendRetMode, 1, 1,
     {{"toggle_obj-53", 1},
      {"button_obj-167", 0},
      {"button_obj-208", 0},
      {"number_obj-210", 0},
      {"DelToSprings.setGainInput", 0},
      {"number_obj-26", 0},
      {"DryWetSprings/number_obj-53", 1},
      {"DryWetDelay/number_obj-38", 1}}},
    {params::WarbleR, 0.7f, 0.7f, {}},
    {params::WarbleL, 1.5f, 1, {}},
    {params::TapeStopInertia, 2000, 2000, {{"TapeStopper.setInertiaInput", 2000}}},
    {params::TapeStop, 1, 1, {{"TapeStopper/toggle_obj-136", 1}}},
    {params::EchoSend, 50, 50, {{"number_obj-73", 50}}},
    {params::SpringSend, 30, 30, {{"number_obj-22", 30}}},
    // g = (EchoToSpring × m) × (EchoMix × 0.01) = 100 × 1 × 0.5.
    {params::EchoToSpring, 100, 100,
     {{"number_obj-51", 100}, {"button_obj-208", 0}, {"number_obj-210", 50}, {"DelToSprings.setGainInput", 50}}},
    {params::Order, 1, 1, {{"toggle_obj-75", 1}}},
    {params::HeadsOn, 0, 0, {{"toggle_obj-149", 0}}},
    {params::SpaceOn, 0, 0, {{"toggle_obj-158", 0}}},
};

class QuillmoreRoutingTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (const Row& row : routingTable)
            for (const Step& step : row.steps)
                known.insert(step.what);
        top = &patch.install(new Quillmore(&makeSpyModule));
        patch.prepare(48000.0f, 64);
        patch.processBlocks(1); // start-up: load clocks and the 48 parameter bangs
        patch.takeSent();
    }

    // The routing steps the engine saw in the last block: spied entry points and the echoes of the
    // objects the table names, in order; each at the time the parameter was set.
    std::vector<Step> takeSteps(MillisecondTime expectedTime)
    {
        std::vector<Step> steps;
        for (const SentMessage& m : patch.takeSent())
        {
            const std::string* name = nameOf(m.objectId == spyObject.hash ? m.tag : m.objectId);
            if (name == nullptr)
                continue;
            const bool echo = m.tag == tags::valout.hash || m.tag == tags::assign.hash || m.tag == tags::bangout.hash;
            if (m.objectId != spyObject.hash && !echo)
                continue;
            EXPECT_DOUBLE_EQ(m.time, expectedTime) << *name << ": the module's time was not brought up first";
            steps.push_back({*name, m.tag == tags::bangout.hash ? 0.0f : m.number});
        }
        return steps;
    }

    const std::string* nameOf(MessageTag hash) const
    {
        for (const std::string& name : known)
            if (hashString(name.c_str()) == hash)
                return &name;
        return nullptr;
    }

    bool presetTouchedInLastBlock() const
    {
        return std::any_of(patch.interface.handlerEvents.begin(), patch.interface.handlerEvents.end(),
                           [](const EventVariant& event) {
                               const auto* preset = event.get<PresetEvent>();
                               return preset != nullptr && preset->kind == PresetEvent::Touched;
                           });
    }

    PatchEngine patch;
    Quillmore* top = nullptr;
    std::set<std::string> known;
};

std::string describe(const std::vector<Step>& steps)
{
    std::string text;
    for (const Step& step : steps)
        text += step.what + "=" + std::to_string(step.value) + " ";
    return text;
}
} // namespace

TEST_F(QuillmoreRoutingTest, EveryParameterReachesTheModulesAndObjectsItDrives)
{
    ASSERT_EQ(routingTable.size(), numQuillmoreParameters);
    for (const Row& row : routingTable)
    {
        SCOPED_TRACE(quillmoreParameters[row.index].id);
        const MillisecondTime at = patch.engine.getCurrentTime() + 0.5;
        patch.interface.setParameterValue(row.index, row.set, at);
        patch.processBlocks(1);

        EXPECT_FLOAT_EQ(top->getParameterValue(row.index), row.stored);
        const std::vector<Step> steps = takeSteps(at);
        ASSERT_EQ(steps.size(), row.steps.size()) << describe(steps);
        for (size_t i = 0; i < steps.size(); ++i)
        {
            EXPECT_EQ(steps[i].what, row.steps[i].what);
            EXPECT_FLOAT_EQ(steps[i].value, row.steps[i].value) << steps[i].what;
        }
    }

    const Quillmore::BlockTargets& targets = top->getBlockTargets();
    EXPECT_EQ(targets.bypassTarget, 1.0f) << "TrueBypass 0.5 switches the bypass on";
    EXPECT_FLOAT_EQ(targets.inputGainLeft, 1.5f);
    EXPECT_FLOAT_EQ(targets.inputGainRight, 1.5f);
    EXPECT_EQ(targets.insertGain, 0.0f);
    EXPECT_FLOAT_EQ(targets.echoSendGain, 0.5f);
    EXPECT_FLOAT_EQ(targets.springSendGain, 0.3f);
    EXPECT_EQ(targets.orderTarget, 1.0f);
    EXPECT_EQ(targets.headsOnTarget, 0.0f);
    EXPECT_EQ(targets.spaceOnTarget, 0.0f);
}

TEST_F(QuillmoreRoutingTest, SettingAnEqualValueReroutesWithoutTouchingThePreset)
{
    const MillisecondTime first = patch.engine.getCurrentTime();
    patch.interface.setParameterValue(params::EchoTime, 250.0f, first);
    patch.processBlocks(1);
    EXPECT_TRUE(presetTouchedInLastBlock());
    ASSERT_EQ(takeSteps(first).size(), 1u);

    const MillisecondTime second = patch.engine.getCurrentTime();
    patch.interface.merged.clear();
    patch.interface.setParameterValue(params::EchoTime, 250.0f, second);
    patch.processBlocks(1);
    EXPECT_FALSE(presetTouchedInLastBlock());
    const std::vector<Step> steps = takeSteps(second);
    ASSERT_EQ(steps.size(), 1u) << "the routing runs again";
    EXPECT_EQ(steps[0].what, "TapeDelayOG/number_obj-48");
    ASSERT_EQ(patch.interface.merged.size(), 1u) << "the engine is told again";
    EXPECT_EQ(patch.interface.merged[0].index, params::EchoTime);
    EXPECT_EQ(patch.interface.merged[0].value, 250.0f);
}

TEST_F(QuillmoreRoutingTest, SendModeProductsKeepTheirOperandsWhateverTheOrder)
{
    struct Case
    {
        float echoSend, springSend, echoToSpring, echoMix, mode;
        float echoSendGain, springSendGain, insertGain, g;
    };
    const Case cases[] = {
        {50, 0, 0, 0, 1, 0.5f, 0, 0, 0},
        {50, 0, 0, 0, 0, 0, 0, 1, 0},
        {0, 20, 100, 50, 1, 0, 0.2f, 0, 50},
        {0, 20, 100, 50, 0, 0, 0, 1, 0},
    };
    for (const Case& c : cases)
    {
        // The mode first, the operands after it: the products still follow.
        const MillisecondTime at = patch.engine.getCurrentTime();
        patch.interface.setParameterValue(params::SendRetMode, c.mode, at);
        patch.interface.setParameterValue(params::EchoSend, c.echoSend, at);
        patch.interface.setParameterValue(params::SpringSend, c.springSend, at);
        patch.interface.setParameterValue(params::EchoToSpring, c.echoToSpring, at);
        patch.interface.setParameterValue(params::EchoMix, c.echoMix, at);
        patch.processBlocks(1);
        const Quillmore::BlockTargets& targets = top->getBlockTargets();
        EXPECT_FLOAT_EQ(targets.echoSendGain, c.echoSendGain);
        EXPECT_FLOAT_EQ(targets.springSendGain, c.springSendGain);
        EXPECT_EQ(targets.insertGain, c.insertGain);
        EXPECT_FLOAT_EQ(top->number_obj_210.getValue(), c.g);
        EXPECT_FLOAT_EQ(top->delToSprings->gain, c.g * 0.01f);
    }
}

TEST_F(QuillmoreRoutingTest, NumberFormatDecidesWhatTheSendKeeps)
{
    const MillisecondTime at = patch.engine.getCurrentTime();
    patch.interface.setParameterValue(params::SendRetMode, 1.0f, at);
    patch.interface.setParameterValue(params::EchoSend, 33.3f, at);
    patch.processBlocks(1);
    EXPECT_FLOAT_EQ(top->getBlockTargets().echoSendGain, 0.333f);

    patch.sendNumber(tags::format.hash, top->number_obj_73.getId(), 0.0f, patch.engine.getCurrentTime());
    patch.interface.setParameterValue(params::EchoSend, 33.3f, patch.engine.getCurrentTime());
    patch.processBlocks(1);
    EXPECT_FLOAT_EQ(top->getBlockTargets().echoSendGain, 0.33f) << "format 0 truncates";
    EXPECT_FLOAT_EQ(top->getParameterValue(params::EchoSend), 33.3f) << "the parameter keeps its value";
}

TEST_F(QuillmoreRoutingTest, GateSwitchesOffOnlyAtItsMaximum)
{
    for (const auto& [time, off] : {std::pair{30000.0f, 1.0f}, std::pair{29999.0f, 0.0f}})
    {
        patch.interface.setParameterValue(params::NoiseGateTime, time, patch.engine.getCurrentTime());
        patch.processBlocks(1);
        EXPECT_EQ(top->noiseGate->toggle_obj_41.getValue(), off) << time;
    }
}

TEST_F(QuillmoreRoutingTest, ModulesReportThroughTheTopLevelsSetters)
{
    // The echo filter's report box: [frequency, normalised] sets the normalised value first, then
    // the frequency; both end up clamped to the parameter's range.
    patch.sendList(tags::listin.hash, hashString("TapeDelayOG/Biquad/message_obj-24"), {5000.0f, 0.5f},
                   patch.engine.getCurrentTime());
    patch.sendBang(tags::listin.hash, hashString("TapeDelayOG/Biquad/message_obj-24"), patch.engine.getCurrentTime());
    patch.interface.merged.clear();
    patch.processBlocks(1);
    EXPECT_FLOAT_EQ(top->getParameterValue(params::EchoFiltMeter), 5000.0f);
    std::vector<float> reported;
    for (const auto& notification : patch.interface.merged)
        if (notification.index == params::EchoFiltMeter)
            reported.push_back(notification.value);
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_FLOAT_EQ(reported[0], 20.0f + 0.5f * 19980.0f);
    EXPECT_FLOAT_EQ(reported[1], 5000.0f);
}

TEST_F(QuillmoreRoutingTest, TheTopLevelsOwnSettersTakeNoMemory)
{
    const ParameterIndex own[] = {params::TrueBypass, params::Input,        params::SendRetMode, params::EchoSend,
                                  params::SpringSend, params::EchoToSpring, params::EchoMix,     params::Order,
                                  params::HeadsOn,    params::SpaceOn,      params::EchoSyncDiv};
    test::CountingPlatform platform;
    for (int pass = 0; pass < 3; ++pass)
    {
        for (const ParameterIndex index : own)
            patch.interface.setParameterValue(index, pass == 1 ? 1.0f : 0.0f, patch.engine.getCurrentTime());
        patch.processBlocks(1);
    }
    EXPECT_EQ(platform.allocations, 0);
    EXPECT_EQ(platform.reallocations, 0);
}
