// Host parameters on their way to the patch: the construction's mapping and start values, the
// listener path with the preset-modified rule, and the tempo and bypass that processBlock sends.
#include "tests/plugin/ProcessorHarness.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

    harness.setHostValue("TapeStop", 1.0f);
    EXPECT_FALSE(processor.presetDirty.load());

    processor.suppressPresetDirty = true;
    harness.setHostValue("EchoFdbck", 100.0f);
    processor.suppressPresetDirty = false;
    EXPECT_FALSE(processor.presetDirty.load()) << "a preset being loaded is not an edit";

    processor.isLoadingState = true;
    harness.setHostValue("EchoFdbck", 105.0f);
    processor.isLoadingState = false;
    EXPECT_FALSE(processor.presetDirty.load()) << "a state being restored is not an edit";

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
