// Host parameters on their way to the patch: the construction's mapping and start values, the
// listener path with the preset-modified rule, and the tempo and bypass that processBlock sends.
#include "tests/plugin/ProcessorHarness.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <string>
#include <vector>

#include <optional>

using ::testing::ElementsAre;
using ::testing::FloatNear;
using ::testing::IsEmpty;

namespace
{
class FakePlayHead final : public juce::AudioPlayHead
{
public:
    juce::Optional<PositionInfo> getPosition() const override
    {
        if (!hasPosition)
            return {};
        PositionInfo info;
        if (bpm)
            info.setBpm(*bpm);
        return info;
    }

    bool hasPosition = true;
    std::optional<double> bpm;
};
} // namespace

TEST(ParameterForwarding, MapsEveryHostVisiblePatcherParameterThatHasAHostParameter)
{
    ProcessorHarness harness;
    auto& processor = harness.processor;

    EXPECT_EQ(processor.getNumForwardedParameters(), 48);
    const auto& ids = ProcessorHarness::hostParameterIds();
    ASSERT_EQ(ids.size(), 48u);
    for (size_t i = 0; i < ids.size(); ++i)
        EXPECT_EQ(processor.getPatcherParameterIndex(ids[i]), static_cast<int>(i)) << ids[i];
    // No host parameter of that ID; and a hidden parameter never replaces the visible one of its ID.
    EXPECT_EQ(processor.getPatcherParameterIndex("PatchOnly"), -1);
    EXPECT_EQ(processor.getPatcherParameterIndex("Saturate"), 2);
}

TEST(ParameterForwarding, PatcherStartsFromTheHostValues)
{
    ProcessorHarness harness;
    harness.prepare(128);
    harness.processSilence(1, 128);

    EXPECT_THAT(harness.patcher.received("EchoFdbck"), ElementsAre(80.0f));
    EXPECT_THAT(harness.patcher.received("EchoTime"), ElementsAre(250.0f));
    EXPECT_THAT(harness.patcher.received("hostTempo"), ElementsAre(FloatNear(120.0f, 0.001f)));
    EXPECT_THAT(harness.patcher.received("PatchOnly"), IsEmpty());
    EXPECT_FALSE(harness.processor.presetDirty.load());
    EXPECT_EQ(harness.processor.getProgramName(0), "Clean Default");
}

TEST(ParameterForwarding, SoundChangesMarkThePresetModifiedTapeStopDoesNot)
{
    ProcessorHarness harness;
    harness.prepare(128);
    auto& processor = harness.processor;

    harness.processSilence(1, 128);
    harness.setHostValue("TapeStop", 1.0f);
    EXPECT_FALSE(processor.presetDirty.load());

    processor.presetLoadsRunning = 1;
    harness.setHostValue("EchoFdbck", 100.0f);
    processor.presetLoadsRunning = 0;
    EXPECT_FALSE(processor.presetDirty.load()) << "a preset being loaded is not an edit";
    harness.processSilence(1, 128);

    processor.stateRestoresRunning = 1;
    harness.setHostValue("EchoFdbck", 105.0f);
    processor.stateRestoresRunning = 0;
    EXPECT_FALSE(processor.presetDirty.load()) << "a state being restored is not an edit";
    harness.processSilence(1, 128);

    harness.setHostValue("EchoFdbck", 110.0f);
    EXPECT_TRUE(processor.presetDirty.load());

    // Every change reaches the patch, whatever it does to the preset.
    harness.processSilence(1, 128);
    EXPECT_THAT(harness.patcher.received("TapeStop"), ElementsAre(0.0f, 1.0f));
    EXPECT_THAT(harness.patcher.received("EchoFdbck"), ElementsAre(80.0f, FloatNear(100.0f, 0.001f), FloatNear(105.0f, 0.001f), FloatNear(110.0f, 0.001f)));
}

TEST(ParameterForwarding, BypassIsSentByTheBlockOnceAndThenOnChange)
{
    ProcessorHarness harness;
    harness.prepare(128);

    // The start value, then the first block's own send.
    harness.processSilence(1, 128);
    EXPECT_THAT(harness.patcher.received("TrueBypass"), ElementsAre(0.0f, 0.0f));

    harness.setHostValue("TrueBypass", 1.0f);
    EXPECT_FALSE(harness.processor.presetDirty.load());
    harness.processSilence(3, 128);
    EXPECT_THAT(harness.patcher.received("TrueBypass"), ElementsAre(0.0f, 0.0f, 1.0f));
}

TEST(ParameterForwarding, HostTempoIsSentWhenItChangesAndIsAboveZero)
{
    ProcessorHarness harness;
    FakePlayHead playHead;
    harness.processor.setPlayHead(&playHead);
    harness.prepare(128);

    const struct
    {
        bool hasPosition;
        std::optional<double> bpm;
    } steps[] = {
        { false, std::nullopt }, { true, std::nullopt }, { true, 0.0 },  { true, -30.0 },
        { true, 140.0 },         { true, 140.0 },        { true, 90.5 }, { true, 0.0 },
    };
    for (const auto& step : steps)
    {
        playHead.hasPosition = step.hasPosition;
        playHead.bpm = step.bpm;
        harness.processSilence(1, 128);
    }
    EXPECT_THAT(harness.patcher.received("hostTempo"), ElementsAre(FloatNear(120.0f, 0.001f), 140.0f, 90.5f));
    EXPECT_FALSE(harness.processor.presetDirty.load());
    harness.processor.setPlayHead(nullptr);
}

// "hostTempo" is a host parameter too, which a host or a state may write: whenever the host reports a
// tempo, the host's tempo is the one the patch gets.
TEST(ParameterForwarding, TheHostsTempoWinsOverTheTempoParameterWheneverTheHostReportsOne)
{
    ProcessorHarness harness;
    FakePlayHead playHead;
    harness.processor.setPlayHead(&playHead);
    harness.prepare(128);

    const struct
    {
        std::optional<double> bpm;
        std::optional<float> written; // to the "hostTempo" parameter ahead of the block
    } steps[] = {
        { 100.0, std::nullopt }, { 100.0, 200.0f },      { 100.0, std::nullopt }, // the host's tempo stays
        { std::nullopt, 75.0f }, { std::nullopt, std::nullopt },                  // no tempo: the parameter's
        { 100.0, std::nullopt },                                                  // the host's again
    };
    for (const auto& step : steps)
    {
        playHead.hasPosition = true;
        playHead.bpm = step.bpm;
        if (step.written)
            harness.setHostValue("hostTempo", *step.written);
        harness.processSilence(1, 128);
    }
    EXPECT_THAT(harness.patcher.received("hostTempo"), ElementsAre(100.0f, 75.0f, 100.0f));
    harness.processor.setPlayHead(nullptr);
}

// Changes made while no block runs wait for the next one, which gets the latest value of each, not
// every change on the way; values that are not numbers never reach the patch.
TEST(ParameterForwarding, ChangesBetweenBlocksReachThePatchAsTheLatestFiniteValueOfEach)
{
    ProcessorHarness harness;
    harness.prepare(128);
    harness.processSilence(1, 128);
    const char* const ids[] = { "EchoTime", "Input", "EchoSyncDiv", "Saturate" };
    std::map<std::string, size_t> before;
    for (const char* id : ids)
        before[id] = harness.patcher.received(id).size();
    auto receivedSince = [&](const char* id) {
        const auto all = harness.patcher.received(id);
        return std::vector<float>(all.begin() + static_cast<std::ptrdiff_t>(before[id]), all.end());
    };

    for (int i = 1; i <= 100000; ++i)
        harness.processor.parameterChanged("EchoTime", static_cast<float>(i % 4000 + 1));
    const float hostile[] = { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity() };
    for (const char* id : { "Input", "EchoSyncDiv", "Saturate" })
    {
        harness.processor.parameterChanged(id, 12.0f);
        for (const float value : hostile)
            harness.processor.parameterChanged(id, value);
    }
    harness.processSilence(1, 128);

    EXPECT_THAT(receivedSince("EchoTime"), ElementsAre(100000 % 4000 + 1.0f));
    for (const char* id : { "Input", "EchoSyncDiv", "Saturate" })
        EXPECT_THAT(receivedSince(id), ElementsAre(12.0f)) << id;
}

TEST(ParameterForwarding, WarbleAndEchoFilterValuesComeBackFromThePatch)
{
    ProcessorHarness harness;
    harness.prepare(128);
    harness.patcher.reportAfterEachBlock("WarbleL", 0.25f);
    harness.patcher.reportAfterEachBlock("WarbleR", 0.75f);
    harness.patcher.reportAfterEachBlock("EchoFiltMeter", 2500.0f);

    // Reported values reach the processor at most every 15 ms of engine time.
    harness.processSilence(10, 128);
    auto& processor = harness.processor;
    EXPECT_EQ(processor.warbleL.load(), 0.25f);
    EXPECT_EQ(processor.warbleR.load(), 0.75f);
    EXPECT_EQ(processor.echoFilterFrequency.load(), 2500.0f);
    EXPECT_FALSE(processor.presetDirty.load());

    harness.setHostValue("HeadsOn", 0.0f);
    harness.processSilence(1, 128);
    EXPECT_EQ(processor.warbleL.load(), 0.5f);
    EXPECT_EQ(processor.warbleR.load(), 0.5f);
    EXPECT_EQ(processor.echoFilterFrequency.load(), 2500.0f);
}

TEST(ProcessorAnswers, NameProgramTailAndMidi)
{
    ProcessorHarness harness;
    auto& processor = harness.processor;
    EXPECT_EQ(processor.getName(), "Quillmore");
    EXPECT_EQ(processor.getNumPrograms(), 1);
    EXPECT_EQ(processor.getProgramName(0), "Clean Default");
    processor.setCurrentPresetName("Dub Delay");
    EXPECT_EQ(processor.getProgramName(0), "Dub Delay");
    processor.setCurrentPresetName({});
    EXPECT_TRUE(processor.getProgramName(0).isNotEmpty());
    EXPECT_GE(processor.getTailLengthSeconds(), 5.0);
    EXPECT_FALSE(processor.acceptsMidi() || processor.producesMidi() || processor.isMidiEffect());
}
