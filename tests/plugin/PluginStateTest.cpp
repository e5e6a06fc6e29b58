// The state a host saves and restores: the parameters with the thirteen properties of the current
// preset, the editor's page and the preset browser, their defaults, and what a restore changes.
#include "tests/plugin/ProcessorHarness.h"
#include "tests/plugin/ProcessorState.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <limits>
#include <thread>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace
{
const char* const stateKeys[] = { "currentPresetName", "presetDirty", "activePanel", "popupHasState",
                                  "popupLastTab", "popupFactoryScrollY", "popupUserScrollY", "popupSelFactoryRes",
                                  "popupSelUserIndex", "factoryOpenHeads", "factoryOpenSpaces",
                                  "factoryOpenQuillmores", "factoryOpenMiscFX" };

std::vector<juce::String> propertyNames(const juce::ValueTree& tree)
{
    std::vector<juce::String> names;
    for (int i = 0; i < tree.getNumProperties(); ++i)
        names.push_back(tree.getPropertyName(i).toString());
    return names;
}

// A state tree of type "Parameters" with only what a test puts in.
juce::ValueTree stateTree(std::initializer_list<std::pair<const char*, juce::var>> properties,
                          std::initializer_list<std::pair<const char*, juce::var>> parameters)
{
    juce::ValueTree tree("Parameters");
    for (const auto& [key, value] : properties)
        tree.setProperty(key, value, nullptr);
    for (const auto& [id, value] : parameters)
    {
        juce::ValueTree child("PARAM");
        child.setProperty("id", id, nullptr);
        if (!value.isVoid())
            child.setProperty("value", value, nullptr);
        tree.appendChild(child, nullptr);
    }
    return tree;
}
} // namespace

TEST(PluginState, AFreshInstanceRoundTrips)
{
    QuillmoreAudioProcessor saved(nullptr);
    const auto state = ProcessorState::save(saved);

    const auto tree = ProcessorState::treeOf(state);
    EXPECT_EQ(tree.getType().toString(), "Parameters");
    EXPECT_THAT(propertyNames(tree), ElementsAreArray(stateKeys));
    EXPECT_EQ(tree.getNumChildren(), 48);
    EXPECT_EQ(tree["currentPresetName"].toString(), "Clean Default");

    QuillmoreAudioProcessor restored(nullptr);
    restored.setCurrentPresetName("Something Else");
    ProcessorState::restore(restored, state);
    const auto fields = restored.presetFields.get();
    EXPECT_EQ(fields.currentPresetName, "Clean Default");
    EXPECT_FALSE(restored.presetDirty.load());
    EXPECT_EQ(restored.activePanel.load(), 0);
    EXPECT_EQ(fields.popupSelUserIndex, -1);
    EXPECT_FALSE(fields.popupHasState || fields.factoryOpenHeads || fields.factoryOpenSpaces
                 || fields.factoryOpenQuillmores || fields.factoryOpenMiscFX);
    EXPECT_EQ(ProcessorState::save(restored), state);
}

TEST(PluginState, RestoresParametersNameMarkPageAndBrowserIntoAnotherInstance)
{
    ProcessorHarness saved;
    saved.setHostValue("EchoTime", 480.0f);
    saved.setHostValue("TrueBypass", 1.0f);
    saved.processor.setCurrentPresetName("Dub Sketch");
    saved.processor.activePanel = 1;
    saved.processor.presetFields.update([](Quillmore::PresetFields& fields) {
        fields.popupHasState = true;
        fields.popupLastTab = 1;
        fields.popupFactoryScrollY = 40;
        fields.popupUserScrollY = 80;
        fields.popupSelFactoryRes = "Roomy_xml";
        fields.popupSelUserIndex = 2;
        fields.factoryOpenSpaces = true;
        fields.factoryOpenMiscFX = true;
    });
    ASSERT_TRUE(saved.processor.presetDirty.load());
    const auto state = ProcessorState::save(saved.processor);

    ProcessorHarness restored;
    restored.prepare(128);
    ProcessorState::restore(restored.processor, state);
    restored.processSilence(1, 128);
    auto& processor = restored.processor;
    EXPECT_EQ(ProcessorState::value(processor, "EchoTime"), 480.0f);
    EXPECT_EQ(ProcessorState::value(processor, "TrueBypass"), 1.0f) << "a state is not a preset";
    // The start value and the restored one wait for the same block, which sends the latest.
    EXPECT_THAT(restored.patcher.received("EchoTime"), ElementsAre(480.0f));
    EXPECT_EQ(processor.getCurrentPresetDisplayName(), "Dub Sketch*") << "a modified preset stays marked";
    EXPECT_EQ(processor.activePanel.load(), 1);
    const auto fields = processor.presetFields.get();
    EXPECT_TRUE(fields.popupHasState);
    EXPECT_EQ(fields.popupLastTab, 1);
    EXPECT_EQ(fields.popupFactoryScrollY, 40);
    EXPECT_EQ(fields.popupUserScrollY, 80);
    EXPECT_EQ(fields.popupSelFactoryRes, "Roomy_xml");
    EXPECT_EQ(fields.popupSelUserIndex, 2);
    EXPECT_FALSE(fields.factoryOpenHeads || fields.factoryOpenQuillmores);
    EXPECT_TRUE(fields.factoryOpenSpaces && fields.factoryOpenMiscFX);
    EXPECT_EQ(ProcessorState::save(processor), state);

    // Restoring changes parameters without marking the preset modified: the stored mark decides.
    auto unmarked = ProcessorState::treeOf(state);
    unmarked.setProperty("presetDirty", false, nullptr);
    ProcessorHarness another;
    ProcessorState::restore(another.processor, ProcessorState::bytesOf(unmarked));
    EXPECT_EQ(ProcessorState::value(another.processor, "EchoTime"), 480.0f);
    EXPECT_EQ(another.processor.getCurrentPresetDisplayName(), "Dub Sketch");
}

TEST(PluginState, MissingKeysTakeTheirDefaultsAndUnnamedParametersKeepTheirValues)
{
    QuillmoreAudioProcessor processor(nullptr);
    ProcessorPlayer::setHostValue(processor, "EchoFdbck", 100.0f);
    ProcessorPlayer::setHostValue(processor, "Input", 150.0f);
    processor.activePanel = 1;
    processor.presetFields.update([](Quillmore::PresetFields& fields) {
        fields.factoryOpenSpaces = true;
        fields.popupSelUserIndex = 3;
    });

    // No name, no page, no browser view to restore: the four category flags stored here are ignored.
    ProcessorState::restore(processor, ProcessorState::bytesOf(stateTree(
        { { "popupFactoryScrollY", -40 }, { "popupHasState", false }, { "factoryOpenHeads", true },
          { "popupLastTab", "1" } },
        { { "EchoTime", 700.0 }, { "Input", juce::var() } })));

    EXPECT_EQ(ProcessorState::value(processor, "EchoTime"), 700.0f);
    EXPECT_EQ(ProcessorState::value(processor, "Input"), 100.0f) << "a child without a value: the default";
    EXPECT_EQ(ProcessorState::value(processor, "EchoFdbck"), 100.0f) << "no child: the current value";
    EXPECT_FALSE(processor.presetDirty.load());
    EXPECT_EQ(processor.getCurrentPresetDisplayName(), "Init");
    EXPECT_EQ(processor.activePanel.load(), 0);
    auto fields = processor.presetFields.get();
    EXPECT_EQ(fields.popupFactoryScrollY, 0);
    EXPECT_EQ(fields.popupLastTab, 1) << "the framework's conversions";
    EXPECT_EQ(fields.popupSelUserIndex, -1);
    EXPECT_TRUE(fields.factoryOpenSpaces);
    EXPECT_FALSE(fields.factoryOpenHeads);

    // The kept value is part of the next saved state too.
    QuillmoreAudioProcessor next(nullptr);
    ProcessorState::restore(next, ProcessorState::save(processor));
    EXPECT_EQ(ProcessorState::value(next, "EchoFdbck"), 100.0f);

    // With a view to restore, the flags are read.
    ProcessorState::restore(processor, ProcessorState::bytesOf(stateTree(
        { { "popupHasState", true }, { "factoryOpenHeads", true }, { "activePanel", 7 } }, {})));
    fields = processor.presetFields.get();
    EXPECT_TRUE(fields.factoryOpenHeads);
    EXPECT_FALSE(fields.factoryOpenSpaces);
    EXPECT_EQ(processor.activePanel.load(), 1) << "there are two pages";
}

TEST(PluginState, SavingIntoANonEmptyBlockAppends)
{
    QuillmoreAudioProcessor processor(nullptr);
    const auto alone = ProcessorState::save(processor);

    juce::MemoryBlock block("host", 4);
    processor.getStateInformation(block);
    ASSERT_EQ(block.getSize(), 4 + alone.getSize());
    EXPECT_EQ(juce::MemoryBlock(block.getData(), 4), juce::MemoryBlock("host", 4));
    EXPECT_EQ(juce::MemoryBlock(static_cast<const char*>(block.getData()) + 4, alone.getSize()), alone);
}

// Hosts restore from any thread, and two restores can overlap. Whichever ends last, the restores
// must not leave the processor believing one still runs: the next edit marks the preset modified.
TEST(PluginState, OverlappingRestoresLeaveLaterEditsMarkingThePresetModified)
{
    QuillmoreAudioProcessor processor(nullptr);
    const auto quiet = ProcessorState::bytesOf(stateTree({ { "presetDirty", false } }, { { "EchoFdbck", 10.0f }, { "Saturate", 5.0f } }));
    const auto loud = ProcessorState::bytesOf(stateTree({ { "presetDirty", false } }, { { "EchoFdbck", 90.0f }, { "Saturate", 60.0f } }));

    for (int round = 0; round < 20; ++round)
    {
        std::atomic<int> ready{ 0 };
        auto restoreMany = [&](const juce::MemoryBlock& first, const juce::MemoryBlock& second) {
            ++ready;
            while (ready < 2)
                std::this_thread::yield();
            for (int i = 0; i < 50; ++i)
                ProcessorState::restore(processor, i % 2 == 0 ? first : second);
        };
        std::thread one(restoreMany, quiet, loud);
        std::thread two(restoreMany, loud, quiet);
        one.join();
        two.join();

        ASSERT_FALSE(processor.presetDirty.load());
        processor.apvts.getParameter("EchoTime")->setValueNotifyingHost(round % 2 == 0 ? 0.2f : 0.7f);
        ASSERT_TRUE(processor.presetDirty.load()) << "round " << round << ": an edit after the restores";
    }
}

// A host may hand the bypass switch any normalised value: the switch holds the value it acts on, so
// that what the host reads back is what is saved, and a restored state gives it back.
TEST(PluginState, TheBypassSwitchHoldsSavesAndRestoresTheValueItActsOn)
{
    QuillmoreAudioProcessor processor(nullptr);
    auto* bypass = processor.apvts.getParameter("TrueBypass");
    for (const float set : { 0.4f, 0.6f, 0.49f, 1.0f, 0.0f, std::numeric_limits<float>::quiet_NaN() })
    {
        bypass->setValueNotifyingHost(set);
        const float held = bypass->getValue();
        EXPECT_EQ(held, set >= 0.5f ? 1.0f : 0.0f) << "set " << set;
        EXPECT_EQ(ProcessorState::value(processor, "TrueBypass"), held) << "acted on";

        const auto state = ProcessorState::save(processor);
        bypass->setValueNotifyingHost(held > 0.5f ? 0.0f : 1.0f);
        ProcessorState::restore(processor, state);
        EXPECT_EQ(bypass->getValue(), held) << "set " << set;
    }
}
