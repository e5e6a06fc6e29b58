#include "plugin/PresetManager.h"
#include "plugin/PresetParameterIds.h"
#include "tests/plugin/FileSizeLimit.h"
#include "tests/plugin/ParameterLayoutHost.h"
#include "tests/plugin/ReadOnlyFolder.h"
#include "tests/plugin/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <future>
#include <set>
#include <string>
#include <vector>

namespace
{
class PresetManagerTest : public ::testing::Test
{
protected:
    juce::File file(const char* name) const { return folder.getChildFile(name); }

    void writeFile(const char* name, const char* text) const
    {
        folder.createDirectory();
        ASSERT_TRUE(file(name).replaceWithText(text)) << name;
    }

    static std::vector<std::string> namesOf(const PresetManager& presets)
    {
        std::vector<std::string> names;
        for (const auto& entry : presets.getEntries())
            names.push_back(entry.name.toStdString());
        return names;
    }

    std::set<std::string> filesInFolder() const
    {
        std::set<std::string> names;
        for (const auto& entry : juce::RangedDirectoryIterator(folder, false, "*", juce::File::findFilesAndDirectories))
            names.insert(entry.getFile().getFileName().toStdString());
        return names;
    }

    TemporaryFolder temporary;
    const juce::File folder = temporary.path().getChildFile("User Presets");
    ParameterLayoutHost host;
};

const char* const presetEchoTime1234 = R"(<?xml version="1.0" encoding="UTF-8"?>
<Parameters>
  <PARAM id="EchoTime" value="1234"/>
  <PARAM id="HeadsOn"/>
  <PARAM id="TrueBypass" value="1"/>
  <PARAM id="TapeStop" value="1"/>
</Parameters>)";
} // namespace

TEST_F(PresetManagerTest, MissingFolderGivesEmptyListAndIsCreatedOnlyBySaving)
{
    PresetManager presets(host.state(), folder);
    EXPECT_TRUE(presets.getEntries().isEmpty());
    EXPECT_EQ(presets.getCurrentIndex(), -1);
    EXPECT_FALSE(folder.exists());

    EXPECT_TRUE(presets.saveCurrentAsPreset("First"));
    EXPECT_TRUE(file("First.xml").existsAsFile());
}

TEST_F(PresetManagerTest, ScanListsOnlyPresetTreesIgnoringCaseInOrder)
{
    const char* preset = "<Parameters><PARAM id=\"EchoTime\" value=\"10\"/></Parameters>";
    writeFile("b.xml", preset);
    writeFile("C.xml", preset);
    writeFile("A.xml", preset);
    writeFile("Tape.Echo.xml", preset);
    writeFile("Shouting.XML", preset);
    writeFile("junk.xml", "\x01\x02 not xml at all <<<");
    writeFile("empty.xml", "");
    writeFile("truncated.xml", "<Parameters><PARAM id=\"EchoTime\" value=\"10\"/>");
    writeFile("settings.xml", "<PROPERTIES><VALUE name=\"skinId\" val=\"3\"/></PROPERTIES>");
    writeFile("notes.txt", preset);
    ASSERT_TRUE(file("Folder.xml").createDirectory().wasOk());

    PresetManager presets(host.state(), folder);
    EXPECT_EQ(namesOf(presets), (std::vector<std::string> { "A", "b", "C", "Shouting", "Tape.Echo" }));
    EXPECT_EQ(presets.getCurrentIndex(), -1);
    for (const auto& entry : presets.getEntries())
        EXPECT_TRUE(entry.state.hasType("Parameters"));
}

TEST_F(PresetManagerTest, LoadSetsTheNamedPresetParametersOnly)
{
    writeFile("Echo.xml", presetEchoTime1234);
    PresetManager presets(host.state(), folder);
    ASSERT_EQ(presets.getEntries().size(), 1);

    host.setValue("Input", 150.0f);
    host.setValue("HeadsOn", 0.0f);
    host.setValue("TrueBypass", 1.0f);
    host.setValue("TapeStop", 1.0f);
    host.setValue("hostTempo", 90.0f);
    for (const int outside : { -1, 1 })
        EXPECT_FALSE(presets.loadPreset(outside));
    EXPECT_EQ(presets.getCurrentIndex(), -1);
    EXPECT_FLOAT_EQ(host.value("EchoTime"), 250.0f);

    EXPECT_TRUE(presets.loadPreset(0));
    EXPECT_EQ(presets.getCurrentIndex(), 0);
    EXPECT_FLOAT_EQ(host.value("EchoTime"), 1234.0f);
    EXPECT_FLOAT_EQ(host.value("HeadsOn"), 1.0f) << "a PARAM without a value takes the default";
    EXPECT_FLOAT_EQ(host.value("Input"), 150.0f) << "a parameter the preset does not name keeps its value";
    EXPECT_FLOAT_EQ(host.value("TrueBypass"), 1.0f);
    EXPECT_FLOAT_EQ(host.value("TapeStop"), 1.0f);
    EXPECT_FLOAT_EQ(host.value("hostTempo"), 90.0f);
}

TEST_F(PresetManagerTest, SavedFileHoldsTheFortyTwoPresetParameters)
{
    host.setValue("EchoTime", 777.0f);
    host.setValue("TrueBypass", 1.0f);
    host.setValue("TapeStop", 1.0f);

    PresetManager presets(host.state(), folder);
    ASSERT_TRUE(presets.saveCurrentAsPreset("Dub/Echo"));
    EXPECT_EQ(namesOf(presets), (std::vector<std::string> { "Dub/Echo" }));
    EXPECT_EQ(presets.getCurrentIndex(), 0);
    EXPECT_EQ(filesInFolder(), (std::set<std::string> { "Dub_Echo.xml" }));

    const auto text = file("Dub_Echo.xml").loadFileAsString();
    EXPECT_TRUE(text.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<Parameters>\r\n  <PARAM id=\""))
        << text;

    const auto xml = juce::parseXML(text);
    ASSERT_NE(xml, nullptr);
    EXPECT_EQ(xml->getNumAttributes(), 0);
    std::vector<std::string> ids;
    for (const auto* param : xml->getChildIterator())
    {
        EXPECT_TRUE(param->hasTagName("PARAM"));
        EXPECT_TRUE(param->hasAttribute("value"));
        ids.push_back(param->getStringAttribute("id").toStdString());
        if (ids.back() == "EchoTime")
        {
            EXPECT_FLOAT_EQ(static_cast<float>(param->getDoubleAttribute("value")), 777.0f);
        }
    }
    EXPECT_EQ(ids.size(), 42u);
    EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()),
              std::set<std::string>(Quillmore::kPresetParameterIds.begin(), Quillmore::kPresetParameterIds.end()));

    presets.rescanUserPresets();
    EXPECT_EQ(namesOf(presets), (std::vector<std::string> { "Dub_Echo" }));
}

TEST_F(PresetManagerTest, SaveNumbersTakenNamesAndNamesBlankOnes)
{
    PresetManager presets(host.state(), folder);
    EXPECT_TRUE(presets.saveCurrentAsPreset("Warm"));
    EXPECT_TRUE(presets.saveCurrentAsPreset(" Warm\t"));
    EXPECT_TRUE(presets.saveCurrentAsPreset("   "));
    EXPECT_TRUE(presets.saveCurrentAsPreset("Alpha"));
    EXPECT_TRUE(presets.saveCurrentAsPreset("~Tilde"));

    EXPECT_EQ(namesOf(presets), (std::vector<std::string> { "Warm", "Warm", "Preset 3", "Alpha", "~Tilde" }))
        << "saving appends without sorting";
    EXPECT_EQ(presets.getCurrentIndex(), 4);
    EXPECT_EQ(filesInFolder(),
              (std::set<std::string> { "Warm.xml", "Warm(2).xml", "Preset 3.xml", "Alpha.xml", "~Tilde.xml" }));
}

TEST_F(PresetManagerTest, OverwriteStoresTheCurrentParametersInTheEntryAndItsFile)
{
    PresetManager presets(host.state(), folder);
    host.setValue("EchoTime", 100.0f);
    ASSERT_TRUE(presets.saveCurrentAsPreset("A"));
    ASSERT_TRUE(presets.saveCurrentAsPreset("B"));

    host.setValue("EchoTime", 900.0f);
    host.setValue("TrueBypass", 1.0f);
    EXPECT_TRUE(presets.overwritePreset(0));
    EXPECT_EQ(presets.getCurrentIndex(), 1);
    EXPECT_FALSE(presets.overwritePreset(2));

    host.setValue("EchoTime", 5.0f);
    host.setValue("TrueBypass", 0.0f);
    ASSERT_TRUE(presets.loadPreset(0));
    EXPECT_FLOAT_EQ(host.value("EchoTime"), 900.0f);
    EXPECT_FLOAT_EQ(host.value("TrueBypass"), 0.0f);

    presets.rescanUserPresets();
    host.setValue("EchoTime", 5.0f);
    ASSERT_TRUE(presets.loadPreset(0));
    EXPECT_FLOAT_EQ(host.value("EchoTime"), 900.0f) << "the file holds the overwritten values";
    EXPECT_FALSE(file("A.xml").loadFileAsString().contains("TrueBypass"));
}

TEST_F(PresetManagerTest, RenameMovesTheFileUnlessTheNameIsItsOwn)
{
    PresetManager presets(host.state(), folder);
    ASSERT_TRUE(presets.saveCurrentAsPreset("Old"));
    ASSERT_TRUE(presets.saveCurrentAsPreset("Dub/Echo"));
    ASSERT_TRUE(presets.saveCurrentAsPreset("Taken"));
    const auto oldContent = file("Old.xml").loadFileAsString();

    EXPECT_TRUE(presets.renamePreset(0, "  New "));
    EXPECT_EQ(file("New.xml").loadFileAsString(), oldContent);

    EXPECT_TRUE(presets.renamePreset(0, "New"));
    EXPECT_TRUE(presets.renamePreset(1, "Dub:Echo"));
    EXPECT_TRUE(presets.renamePreset(2, "New"));

    EXPECT_FALSE(presets.renamePreset(0, " "));
    EXPECT_FALSE(presets.renamePreset(3, "Nowhere"));

    EXPECT_EQ(namesOf(presets), (std::vector<std::string> { "New", "Dub:Echo", "New" }));
    EXPECT_EQ(presets.getEntries()[0].file, file("New.xml"));
    EXPECT_EQ(presets.getEntries()[1].file, file("Dub_Echo.xml"));
    EXPECT_EQ(presets.getEntries()[2].file, file("New(2).xml"));
    EXPECT_EQ(filesInFolder(), (std::set<std::string> { "New.xml", "Dub_Echo.xml", "New(2).xml" }));
    EXPECT_EQ(presets.getCurrentIndex(), 2);
}

TEST_F(PresetManagerTest, RenameKeepsWhatTheFileHoldsWhenAnotherInstanceChangedIt)
{
    // Two plug-in instances list the same folder, each scanned when it was created.
    host.setValue("EchoTime", 100.0f);
    PresetManager first(host.state(), folder);
    ASSERT_TRUE(first.saveCurrentAsPreset("Lead"));
    PresetManager second(host.state(), folder);
    ASSERT_EQ(namesOf(second), (std::vector<std::string> { "Lead" }));

    host.setValue("EchoTime", 900.0f);
    ASSERT_TRUE(second.overwritePreset(0));
    const auto overwritten = file("Lead.xml").loadFileAsString();

    ASSERT_TRUE(first.renamePreset(0, "Lead Old"));
    EXPECT_EQ(filesInFolder(), (std::set<std::string> { "Lead Old.xml" }));
    EXPECT_EQ(file("Lead Old.xml").loadFileAsString(), overwritten) << "the rename undid the overwrite";
}

TEST_F(PresetManagerTest, DeleteRemovesEntryAndFileAndShiftsTheCurrentIndex)
{
    const struct
    {
        int current;
        int deleted;
        int expectedCurrent;
    } cases[] = { { 2, 1, 1 }, { 1, 1, -1 }, { 0, 1, 0 }, { -1, 0, -1 } };

    for (const auto& c : cases)
    {
        folder.deleteRecursively();
        PresetManager presets(host.state(), folder);
        for (const char* name : { "A", "B", "C" })
            ASSERT_TRUE(presets.saveCurrentAsPreset(name));
        if (c.current >= 0)
        {
            ASSERT_TRUE(presets.loadPreset(c.current));
        }
        else
        {
            presets.rescanUserPresets();
        }

        const auto removed = presets.getEntries()[c.deleted];
        EXPECT_TRUE(presets.deletePreset(c.deleted));
        EXPECT_FALSE(removed.file.exists());
        EXPECT_EQ(presets.getEntries().size(), 2);
        EXPECT_EQ(presets.getCurrentIndex(), c.expectedCurrent) << "current " << c.current << ", deleted " << c.deleted;
        EXPECT_FALSE(presets.deletePreset(2));
    }
}

TEST_F(PresetManagerTest, FilesDeletedBehindTheStoresBack)
{
    PresetManager presets(host.state(), folder);
    host.setValue("EchoTime", 100.0f);
    for (const char* name : { "Kept", "Renamed", "Deleted" })
        ASSERT_TRUE(presets.saveCurrentAsPreset(name));
    for (const char* name : { "Kept.xml", "Renamed.xml", "Deleted.xml" })
        ASSERT_TRUE(file(name).deleteFile());

    host.setValue("EchoTime", 900.0f);
    EXPECT_FALSE(presets.overwritePreset(0)) << "nothing was stored";
    EXPECT_FALSE(file("Kept.xml").exists()) << "a deleted file is not created again";

    EXPECT_TRUE(presets.renamePreset(1, "Again"));
    EXPECT_TRUE(file("Again.xml").existsAsFile());

    EXPECT_TRUE(presets.deletePreset(2));
    EXPECT_EQ(namesOf(presets), (std::vector<std::string> { "Kept", "Again" }));

    ASSERT_TRUE(presets.loadPreset(0));
    EXPECT_FLOAT_EQ(host.value("EchoTime"), 100.0f) << "the failed overwrite left the entry as it was";
}

TEST_F(PresetManagerTest, FolderThatCannotBeCreatedFailsSaveAndChangesNothing)
{
    const auto blocker = temporary.path().getChildFile("ZarnPeloq");
    ASSERT_TRUE(blocker.replaceWithText("a file where a folder belongs"));
    PresetManager presets(host.state(), blocker.getChildFile("Quillmore").getChildFile("User Presets"));

    EXPECT_FALSE(presets.saveCurrentAsPreset("Warm"));
    EXPECT_TRUE(presets.getEntries().isEmpty());
    EXPECT_EQ(presets.getCurrentIndex(), -1);
    EXPECT_TRUE(blocker.existsAsFile());
}

TEST_F(PresetManagerTest, ReadOnlyFolderFailsEveryWriteAndChangesNothing)
{
    PresetManager presets(host.state(), folder);
    host.setValue("EchoTime", 100.0f);
    ASSERT_TRUE(presets.saveCurrentAsPreset("A"));
    ASSERT_TRUE(presets.saveCurrentAsPreset("B"));
    const auto filesBefore = filesInFolder();
    const auto contentBefore = file("A.xml").loadFileAsString();

    host.setValue("EchoTime", 900.0f);
    {
        const ReadOnlyFolder readOnly(folder);
        if (! readOnly.holds())
            GTEST_SKIP() << "this process can write into a read-only folder";

        EXPECT_FALSE(presets.saveCurrentAsPreset("C"));
        EXPECT_FALSE(presets.overwritePreset(0));
        EXPECT_FALSE(presets.renamePreset(0, "Z"));
        EXPECT_FALSE(presets.deletePreset(1));
    }

    EXPECT_EQ(namesOf(presets), (std::vector<std::string> { "A", "B" }));
    EXPECT_EQ(presets.getEntries()[0].file, file("A.xml"));
    EXPECT_EQ(presets.getEntries()[1].file, file("B.xml"));
    EXPECT_EQ(presets.getCurrentIndex(), 1);
    EXPECT_EQ(filesInFolder(), filesBefore);
    EXPECT_EQ(file("A.xml").loadFileAsString(), contentBefore);

    ASSERT_TRUE(presets.loadPreset(0));
    EXPECT_FLOAT_EQ(host.value("EchoTime"), 100.0f);
}

TEST_F(PresetManagerTest, AWriteCutShortFailsAndLeavesTheFileAsItWas)
{
    PresetManager presets(host.state(), folder);
    host.setValue("EchoTime", 100.0f);
    ASSERT_TRUE(presets.saveCurrentAsPreset("A"));
    const auto content = file("A.xml").loadFileAsString();
    ASSERT_GT(content.getNumBytesAsUTF8(), 1000u);

    host.setValue("EchoTime", 900.0f);
    {
        // The disk has room for part of a preset only.
        const FileSizeLimit limit(1000);
        EXPECT_FALSE(presets.overwritePreset(0));
        EXPECT_FALSE(presets.saveCurrentAsPreset("B"));
        // A move needs no room.
        EXPECT_TRUE(presets.renamePreset(0, "C"));
    }

    EXPECT_EQ(filesInFolder(), (std::set<std::string> { "C.xml" }));
    EXPECT_EQ(file("C.xml").loadFileAsString(), content);
    EXPECT_EQ(namesOf(presets), (std::vector<std::string> { "C" }));

    presets.rescanUserPresets();
    ASSERT_EQ(namesOf(presets), (std::vector<std::string> { "C" })) << "the preset still reads";
    ASSERT_TRUE(presets.loadPreset(0));
    EXPECT_FLOAT_EQ(host.value("EchoTime"), 100.0f);
}

// Whatever else sits in the folder under a preset's name: a FIFO (opening it would block for good), a
// link to a device that never ends, a file far larger than any preset. The scan reads none of them,
// finishes, and lists the real preset beside them.
TEST_F(PresetManagerTest, ScanReadsOnlyRegularFilesOfAPresetsSizeAndNeverBlocks)
{
    writeFile("Real.xml", presetEchoTime1234);
    const auto fifo = file("Fifo.xml");
    ASSERT_EQ(::mkfifo(fifo.getFullPathName().toRawUTF8(), 0644), 0);
    ASSERT_TRUE(juce::File("/dev/zero").createSymbolicLink(file("Endless.xml"), false));
    juce::String huge(presetEchoTime1234);
    huge = huge.replace("</Parameters>", juce::String::repeatedString("<!-- padding -->", 80000) + "</Parameters>");
    ASSERT_GT(huge.getNumBytesAsUTF8(), 1u << 20);
    writeFile("Huge.xml", huge.toRawUTF8());

    auto scan = std::async(std::launch::async, [this] { return namesOf(PresetManager(host.state(), folder)); });
    if (scan.wait_for(std::chrono::seconds(20)) != std::future_status::ready)
    {
        // Let a scan stuck on the FIFO go, so that the test ends.
        const int writer = ::open(fifo.getFullPathName().toRawUTF8(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
        FAIL() << "the scan blocked";
    }
    EXPECT_EQ(scan.get(), std::vector<std::string>{ "Real" });
}

// Writes that meet something else than a preset file at its place: a save under that name goes to the
// next free one, an overwrite replaces a FIFO or a link with a preset file (what the link points at
// untouched) and fails on a folder, and none of them opens the thing or blocks.
TEST_F(PresetManagerTest, WritesOverThingsThatAreNoRegularFileReplaceThemOrFailAndNeverBlock)
{
    const struct
    {
        const char* what;
        std::function<void(const juce::File&)> put;
        bool overwriteReplaces;
    } cases[] = {
        { "a FIFO", [](const juce::File& at) { ASSERT_EQ(::mkfifo(at.getFullPathName().toRawUTF8(), 0644), 0); }, true },
        { "a link to /dev/zero", [](const juce::File& at) { ASSERT_TRUE(juce::File("/dev/zero").createSymbolicLink(at, false)); }, true },
        { "a folder", [](const juce::File& at) { ASSERT_TRUE(at.createDirectory()); }, false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        folder.deleteRecursively();
        PresetManager presets(host.state(), folder);
        host.setValue("EchoTime", 100.0f);
        ASSERT_TRUE(presets.saveCurrentAsPreset("Lead"));
        const auto lead = file("Lead.xml");
        ASSERT_TRUE(lead.deleteFile());
        c.put(lead);

        host.setValue("EchoTime", 900.0f);
        auto writes = std::async(std::launch::async, [&presets] {
            const bool saved = presets.saveCurrentAsPreset("Lead");
            return std::make_pair(saved, presets.overwritePreset(0));
        });
        if (writes.wait_for(std::chrono::seconds(20)) != std::future_status::ready)
        {
            // Let a write stuck on the FIFO go, so that the test ends.
            const int reader = ::open(lead.getFullPathName().toRawUTF8(), O_RDONLY | O_NONBLOCK);
            if (reader >= 0)
                ::close(reader);
            FAIL() << "a write blocked";
        }
        const auto [saved, overwritten] = writes.get();
        EXPECT_TRUE(saved);
        EXPECT_EQ(presets.getEntries()[1].file, file("Lead(2).xml"));
        EXPECT_EQ(overwritten, c.overwriteReplaces);

        struct stat status {};
        ASSERT_EQ(::lstat(lead.getFullPathName().toRawUTF8(), &status), 0);
        if (c.overwriteReplaces)
        {
            ASSERT_TRUE(S_ISREG(status.st_mode));
            presets.rescanUserPresets();
            ASSERT_EQ(namesOf(presets), (std::vector<std::string> { "Lead", "Lead(2)" }));
            host.setValue("EchoTime", 5.0f);
            ASSERT_TRUE(presets.loadPreset(0));
            EXPECT_FLOAT_EQ(host.value("EchoTime"), 900.0f);
        }
        else
        {
            EXPECT_TRUE(S_ISDIR(status.st_mode));
        }
    }
}

// Numbers in a preset file are read by a reader defined for any text; one whose exponent overflows
// means an infinity, which leaves the preset out like any other non-finite value.
TEST_F(PresetManagerTest, ValuesWithExponentsBeyondAnyNumberAreReadAsWhatTheyMean)
{
    writeFile("Overflowing.xml", R"(<Parameters><PARAM id="EchoTime" value="-3e44444444443z"/></Parameters>)");
    writeFile("Vanishing.xml", R"(<Parameters><PARAM id="EchoTime" value="  7e-44444444444"/></Parameters>)");
    PresetManager presets(host.state(), folder);
    ASSERT_EQ(namesOf(presets), std::vector<std::string>{ "Vanishing" });
    EXPECT_EQ(static_cast<double>(presets.getEntries()[0].state.getChild(0)["value"]), 0.0);
}
