// The processor's preset operations: factory and user loads, save, overwrite, rename and delete, and
// the current preset's name, modified mark, browser fields and page around them.
#include "plugin/FactoryPresetCatalogue.h"
#include "tests/plugin/ProcessorHarness.h"
#include "tests/plugin/ProcessorState.h"
#include "tests/plugin/ReadOnlyFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <set>
#include <thread>

namespace
{
// A processor over an empty user preset folder (the test process's own), emptied again afterwards.
class PresetOperations : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Quillmore::getUserPresetFolder().deleteRecursively();
        harness = std::make_unique<ProcessorHarness>();
        harness->prepare(128);
    }

    void TearDown() override
    {
        harness.reset();
        Quillmore::getUserPresetFolder().deleteRecursively();
    }

    float value(const char* id) { return ProcessorState::value(processor(), id); }
    void set(const char* id, float newValue) { harness->setHostValue(id, newValue); }
    QuillmoreAudioProcessor& processor() { return harness->processor; }
    Quillmore::PresetFields fields() { return processor().presetFields.get(); }
    juce::String header() { return processor().getCurrentPresetDisplayName(); }

    std::unique_ptr<ProcessorHarness> harness;
};
} // namespace

TEST_F(PresetOperations, CleanDefaultSetsWhatItNamesKeepsTheRestAndClearsTheMark)
{
    set("EchoTime", 700.0f);
    set("Input", 150.0f);
    ASSERT_EQ(header(), "Clean Default*");

    processor().loadFactoryPreset("Clean_Default_xml", "Clean Default");
    EXPECT_EQ(value("EchoTime"), 700.0f) << "its document holds an older ID for the echo time";
    EXPECT_EQ(value("Input"), 100.0f);
    EXPECT_EQ(header(), "Clean Default");
    harness->processSilence(1, 128);
    EXPECT_EQ(harness->patcher.received("Input").back(), 100.0f);

    const auto f = fields();
    EXPECT_EQ(f.currentPresetIsFactory, 1);
    EXPECT_EQ(f.currentFactoryResource, "Clean_Default_xml");
    EXPECT_EQ(f.popupSelFactoryRes, "Clean_Default_xml");
    EXPECT_EQ(f.popupLastTab, 0);
    EXPECT_EQ(f.popupSelUserIndex, -1);
    EXPECT_TRUE(f.popupHasState);

    // Edits mark it, the tape stop does not; loading again clears the mark.
    set("TapeStop", 1.0f);
    EXPECT_EQ(header(), "Clean Default");
    set("EchoFdbck", 90.0f);
    EXPECT_EQ(header(), "Clean Default*");
    processor().loadFactoryPreset("Clean_Default_xml", "Clean Default");
    EXPECT_EQ(header(), "Clean Default");
}

TEST_F(PresetOperations, EveryFactoryPresetLoadsAndLeavesBypassAndTapeStop)
{
    set("TrueBypass", 1.0f);
    set("TapeStop", 1.0f);
    for (const auto& row : Quillmore::kFactoryPresetCatalogue)
    {
        EXPECT_TRUE(processor().loadFactoryPresetState(row.resourceName)) << row.resourceName;
        EXPECT_EQ(value("TrueBypass"), 1.0f) << row.resourceName;
        EXPECT_EQ(value("TapeStop"), 1.0f) << row.resourceName;
    }
}

TEST_F(PresetOperations, ASwitchWithoutValueTakesItsDefaultAndTheOneSectionOnChoosesThePage)
{
    set("HeadsOn", 0.0f);
    processor().activePanel = 1;

    // Heads without a value (so on), Space off.
    processor().loadFactoryPreset("A_Little_Dirt_Wont_Hurt_xml", "A Little Dirt Wont Hurt");
    EXPECT_EQ(value("HeadsOn"), 1.0f);
    EXPECT_EQ(value("SpaceOn"), 0.0f);
    EXPECT_EQ(processor().activePanel.load(), 0);

    processor().loadFactoryPreset("After_All_This_Time_xml", "After All This Time");
    EXPECT_EQ(value("HeadsOn"), 0.0f);
    EXPECT_EQ(value("SpaceOn"), 1.0f);
    EXPECT_EQ(processor().activePanel.load(), 1);

    // Both on: the page stays.
    processor().loadFactoryPreset("Roomy_xml", "Roomy");
    EXPECT_EQ(value("HeadsOn"), 1.0f);
    EXPECT_EQ(value("SpaceOn"), 1.0f);
    EXPECT_EQ(processor().activePanel.load(), 1);
}

TEST_F(PresetOperations, AMissingFactoryDocumentStillNamesThePreset)
{
    set("EchoTime", 700.0f);
    EXPECT_FALSE(processor().loadFactoryPresetState("No_Such_Preset_xml"));
    processor().loadFactoryPreset("No_Such_Preset_xml", "Mystery");
    EXPECT_EQ(value("EchoTime"), 700.0f);
    EXPECT_EQ(header(), "Mystery");
    EXPECT_EQ(fields().currentFactoryResource, "No_Such_Preset_xml");
}

TEST_F(PresetOperations, SaveAndLoadUserPresets)
{
    processor().loadFactoryPreset("Roomy_xml", "Roomy");
    set("EchoTime", 300.0f);
    set("TrueBypass", 1.0f);
    processor().presetFields.update([](Quillmore::PresetFields& f) { f.popupUserScrollY = 75; });

    ASSERT_TRUE(processor().saveUserPreset("  Warm  "));
    EXPECT_EQ(header(), "Warm");
    auto f = fields();
    EXPECT_EQ(f.popupLastTab, 1);
    EXPECT_EQ(f.popupSelUserIndex, 0);
    EXPECT_EQ(f.popupUserScrollY, 0);
    // Previous/next go on through the factory list from the preset this one was saved from.
    EXPECT_EQ(f.currentPresetIsFactory, 1);
    EXPECT_EQ(f.currentFactoryResource, "Roomy_xml");
    EXPECT_TRUE(Quillmore::getUserPresetFolder().getChildFile("Warm.xml").existsAsFile());
    EXPECT_EQ(processor().indexOfUserPreset(" wARM "), 0);
    EXPECT_EQ(processor().indexOfUserPreset("Cold"), -1);

    set("EchoTime", 900.0f);
    set("TrueBypass", 0.0f);
    ASSERT_TRUE(processor().loadUserPreset(0));
    EXPECT_EQ(value("EchoTime"), 300.0f);
    EXPECT_EQ(value("TrueBypass"), 0.0f) << "presets never carry the bypass";
    EXPECT_EQ(header(), "Warm");
    f = fields();
    EXPECT_EQ(f.currentPresetIsFactory, 0);
    EXPECT_EQ(f.currentFactoryResource, "");
    EXPECT_EQ(f.popupSelFactoryRes, "");
    EXPECT_EQ(f.popupSelUserIndex, 0);

    // Outside the list: the factory fields go, the name and the mark stay.
    processor().loadFactoryPreset("Roomy_xml", "Roomy");
    set("EchoTime", 800.0f);
    EXPECT_FALSE(processor().loadUserPreset(1));
    EXPECT_EQ(header(), "Roomy*");
    EXPECT_EQ(fields().currentPresetIsFactory, 0);
    EXPECT_EQ(value("EchoTime"), 800.0f);
}

TEST_F(PresetOperations, OverwriteStoresAndReloadsThePresetParametersOnly)
{
    set("EchoTime", 300.0f);
    ASSERT_TRUE(processor().saveUserPreset("Base"));
    set("EchoTime", 900.0f);
    set("TrueBypass", 1.0f);
    set("TapeStop", 1.0f);
    ASSERT_EQ(header(), "Base*");

    ASSERT_TRUE(processor().overwriteUserPreset(0));
    EXPECT_EQ(header(), "Base");
    EXPECT_EQ(value("EchoTime"), 900.0f);
    EXPECT_EQ(value("TrueBypass"), 1.0f);
    EXPECT_EQ(value("TapeStop"), 1.0f);
    const auto xml = juce::parseXML(Quillmore::getUserPresetFolder().getChildFile("Base.xml"));
    ASSERT_NE(xml, nullptr);
    EXPECT_EQ(xml->getChildByAttribute("id", "EchoTime")->getDoubleAttribute("value"), 900.0);
    EXPECT_EQ(xml->getChildByAttribute("id", "TrueBypass"), nullptr);
}

TEST_F(PresetOperations, RenamingOrDeletingTheShownUserPresetUpdatesTheHeader)
{
    ASSERT_TRUE(processor().saveUserPreset("Mine"));
    set("EchoTime", 900.0f);
    EXPECT_FALSE(processor().renameUserPreset(0, "   "));
    ASSERT_TRUE(processor().renameUserPreset(0, "  Yours "));
    EXPECT_EQ(header(), "Yours*") << "the mark stays";
    EXPECT_EQ(processor().presetManager.getEntries()[0].name, "Yours");

    ASSERT_TRUE(processor().deleteUserPreset(0));
    EXPECT_EQ(header(), "Init*");
    EXPECT_TRUE(processor().presetManager.getEntries().isEmpty());
}

// The store's current entry stays the last user preset loaded or saved, also after a factory load:
// renaming or deleting it then must not rename the factory preset in the header.
TEST_F(PresetOperations, RenamingOrDeletingAUserPresetLeavesAShownFactoryPresetsName)
{
    ASSERT_TRUE(processor().saveUserPreset("Mine"));
    processor().loadFactoryPreset("Roomy_xml", "Roomy");
    ASSERT_EQ(processor().presetManager.getCurrentIndex(), 0);

    ASSERT_TRUE(processor().renameUserPreset(0, "Yours"));
    EXPECT_EQ(header(), "Roomy");
    ASSERT_TRUE(processor().deleteUserPreset(0));
    EXPECT_EQ(header(), "Roomy");
}

TEST_F(PresetOperations, AFailedOverwriteKeepsTheUnsavedChanges)
{
    set("EchoTime", 300.0f);
    ASSERT_TRUE(processor().saveUserPreset("Base"));
    set("EchoTime", 900.0f);
    ASSERT_TRUE(Quillmore::getUserPresetFolder().getChildFile("Base.xml").deleteFile());

    EXPECT_FALSE(processor().overwriteUserPreset(0));
    EXPECT_EQ(value("EchoTime"), 900.0f) << "not replaced by the old preset";
    EXPECT_EQ(header(), "Base*");
    EXPECT_FALSE(processor().overwriteUserPreset(3));
}

TEST_F(PresetOperations, FailedWritesKeepTheNameAndTheMark)
{
    ASSERT_TRUE(processor().saveUserPreset("Base"));
    set("EchoTime", 900.0f);
    const auto folder = Quillmore::getUserPresetFolder();
    const ReadOnlyFolder readOnly(folder);
    if (!readOnly.holds())
        GTEST_SKIP() << "this process can write into a read-only folder";

    EXPECT_FALSE(processor().saveUserPreset("Copy"));
    EXPECT_EQ(header(), "Base*");
    EXPECT_FALSE(processor().renameUserPreset(0, "Renamed"));
    EXPECT_EQ(header(), "Base*");
    EXPECT_FALSE(processor().deleteUserPreset(0));
    EXPECT_EQ(header(), "Base*");
    EXPECT_EQ(processor().presetManager.getEntries().size(), 1);
    EXPECT_EQ(fields().popupSelUserIndex, 0);
}

// A host may save the state on a thread of its own while the user loads presets.
TEST_F(PresetOperations, TheStateIsSavedWholeWhilePresetsLoad)
{
    const std::set<juce::String> names { "Clean Default", "Roomy", "Dottie", "Ebowed", "Typed" };
    std::atomic<bool> done { false };
    std::atomic<int> saved { 0 }, unexpected { 0 };
    std::thread host([&] {
        while (!done.load())
        {
            const auto tree = ProcessorState::treeOf(ProcessorState::save(processor()));
            if (tree.getNumChildren() != 48 || names.count(tree["currentPresetName"].toString()) == 0)
                ++unexpected;
            ++saved;
        }
    });

    for (int i = 0; i < 200 || saved.load() < 20; ++i)
    {
        processor().loadFactoryPreset("Roomy_xml", "Roomy");
        processor().loadFactoryPreset("Dottie_xml", "Dottie");
        processor().setCurrentPresetName("Typed");
        processor().presetFields.update([i](Quillmore::PresetFields& f) { f.popupFactoryScrollY = i; });
        processor().loadFactoryPreset("Ebowed_xml", "Ebowed");
    }
    done = true;
    host.join();
    EXPECT_EQ(unexpected.load(), 0);
}
