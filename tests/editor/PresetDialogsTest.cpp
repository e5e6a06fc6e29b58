// The preset dialogs and the user-preset actions on the real editor, with real files in the test's own
// preset folder: saving, the overwrite question (letter case aside), renaming, deleting, hostile names,
// failures (a read-only folder, files vanishing behind the browser's back) that must be reported and
// must never cost the user a preset file or their unsaved changes. Snapshots for review.
#include "tests/editor/ActivePopupMenu.h"
#include "tests/editor/PresetEditorFixture.h"
#include "tests/plugin/ReadOnlyFolder.h"

#include "editor/PresetPopupRow.h"

using namespace EditorTestBed;

namespace
{
using Area = PresetHeader::HeaderArea;

juce::String fileText(const juce::File& file)
{
    return file.loadFileAsString();
}

// The value a preset file gives a parameter; NaN when it names none.
float storedValue(const juce::File& file, const char* parameterID)
{
    const auto xml = juce::parseXML(file);
    if (xml != nullptr)
        for (auto* parameter : xml->getChildWithTagNameIterator("PARAM"))
            if (parameter->getStringAttribute("id") == parameterID)
                return static_cast<float>(parameter->getDoubleAttribute("value"));
    return std::numeric_limits<float>::quiet_NaN();
}
} // namespace

class PresetDialogsTest : public PresetEditorFixture
{
protected:
    PresetNameDialog& nameDialog() { return editor().presetNameDialog; }
    OverwritePresetDialog& overwriteDialog() { return editor().overwriteDialog; }
    PresetErrorDialog& errorDialog() { return editor().presetErrorDialog; }

    void clickButton(juce::Button& button)
    {
        ASSERT_TRUE(button.isShowing()) << button.getButtonText();
        mouse().click(editor().getLocalPoint(&button, button.getLocalBounds().getCentre()).toFloat());
    }

    // Types into the name dialog's field, as a user does over the selected proposal.
    void type(const juce::String& text)
    {
        ASSERT_TRUE(nameDialog().nameEditor.hasKeyboardFocus(true));
        for (auto character : text)
            mouse().key(juce::KeyPress(static_cast<int>(character), {}, character));
    }

    void saveAs(const juce::String& name)
    {
        clickHeader(Area::saveArea);
        ASSERT_TRUE(nameDialog().isVisible());
        type(name);
        clickButton(nameDialog().saveButton);
    }

    // The row menu of a user preset, through the browser.
    void chooseFromUserRowMenu(int row, const juce::String& item)
    {
        auto& browser = editor().presetPopup;
        if (!browser.isVisible())
            clickHeader(Area::nameArea);
        mouse().click(browser.userTabArea.getCentre().toFloat());
        browser.listBox.scrollToEnsureRowIsOnscreen(row);
        auto* component = dynamic_cast<PresetPopup::RowComponent*>(browser.listBox.getComponentForRowNumber(row));
        ASSERT_NE(component, nullptr);
        mouse().click(editor().getLocalPoint(component, component->menuArea().getCentre()).toFloat());
        ASSERT_TRUE(ActivePopupMenu::choose(item)) << item;
    }

    void setEchoTime(float milliseconds)
    {
        auto* parameter = processor().apvts.getParameter("EchoTime");
        parameter->setValueNotifyingHost(parameter->convertTo0to1(milliseconds));
    }
    float echoTime() { return processor().apvts.getRawParameterValue("EchoTime")->load(); }

    juce::StringArray userPresetNames()
    {
        juce::StringArray names;
        for (const auto& entry : processor().presetManager.getEntries())
            names.add(entry.name);
        return names;
    }
    juce::StringArray presetFiles()
    {
        juce::StringArray names;
        for (const auto& file : home.presetFolder().findChildFiles(juce::File::findFiles, false, "*"))
            names.add(file.getFileName());
        names.sort(true);
        return names;
    }
};

TEST_F(PresetDialogsTest, SavingFooWritesAUserPresetAndShowsIt)
{
    openEditor();
    setEchoTime(640.0f);
    clickHeader(Area::saveArea);
    ASSERT_TRUE(nameDialog().isVisible());
    // The proposal is the preset's name without the modified mark.
    EXPECT_EQ(nameDialog().nameEditor.getText(), "Clean Default");
    writeSnapshot(render(editor()), "preset-dialog-save-as");
    type("Foo");
    clickButton(nameDialog().saveButton);

    EXPECT_FALSE(nameDialog().isVisible());
    const auto file = home.presetFolder().getChildFile("Foo.xml");
    ASSERT_TRUE(file.existsAsFile());
    EXPECT_NEAR(storedValue(file, "EchoTime"), 640.0f, 0.5f);
    EXPECT_EQ(processor().getCurrentPresetDisplayName(), "Foo");
    EXPECT_EQ(editor().presetPopup.currentTab, PresetPopup::userTab);
    EXPECT_EQ(userPresetNames(), juce::StringArray{"Foo"});

    clickHeader(Area::nameArea);
    EXPECT_TRUE(editor().presetPopup.listBox.isRowSelected(0));
    writeSnapshot(render(editor()), "preset-dialog-saved-foo-browser");

    // A new processor finds it and loads the same sound.
    closeEditor();
    processorPointer.reset();
    ASSERT_EQ(userPresetNames(), juce::StringArray{"Foo"});
    ASSERT_TRUE(processor().loadUserPreset(0));
    EXPECT_NEAR(echoTime(), 640.0f, 0.5f);
}

TEST_F(PresetDialogsTest, AModifiedPresetProposesItsNameWithoutTheMarkAndKeysDoNothing)
{
    openEditor();
    processor().loadFactoryPreset("Dottie_xml", "Dottie");
    clickHeader(Area::saveArea);
    EXPECT_EQ(nameDialog().nameEditor.getText(), "Dottie");
    clickButton(nameDialog().cancelButton);
    EXPECT_FALSE(nameDialog().isVisible());

    setEchoTime(500.0f);
    ASSERT_EQ(processor().getCurrentPresetDisplayName(), "Dottie*");
    clickHeader(Area::saveArea);
    EXPECT_EQ(nameDialog().nameEditor.getText(), "Dottie");

    mouse().key(juce::KeyPress(juce::KeyPress::returnKey));
    mouse().key(juce::KeyPress(juce::KeyPress::escapeKey));
    EXPECT_TRUE(nameDialog().isVisible());
    EXPECT_FALSE(home.presetFolder().exists());

    // A blank name is ignored and the dialog stays.
    nameDialog().nameEditor.setText("   ");
    clickButton(nameDialog().saveButton);
    EXPECT_TRUE(nameDialog().isVisible());
    EXPECT_FALSE(home.presetFolder().exists());
}

TEST_F(PresetDialogsTest, SavingOverAnExistingNameAsksFirstAndOverwritesOnlyOnYes)
{
    const auto file = home.writePreset("Dub Echo", "EchoTime", 250.0f);
    const auto original = fileText(file);
    openEditor();
    setEchoTime(900.0f);

    saveAs("dub ECHO");
    EXPECT_FALSE(nameDialog().isVisible());
    ASSERT_TRUE(overwriteDialog().isVisible());
    EXPECT_EQ(overwriteDialog().presetName, "dub ECHO");
    writeSnapshot(render(editor()), "preset-dialog-overwrite");

    clickButton(overwriteDialog().cancelButton);
    EXPECT_FALSE(overwriteDialog().isVisible());
    ASSERT_TRUE(nameDialog().isVisible());
    EXPECT_EQ(nameDialog().nameEditor.getText(), "dub ECHO");
    EXPECT_EQ(fileText(file), original);

    clickButton(nameDialog().saveButton);
    ASSERT_TRUE(overwriteDialog().isVisible());
    clickButton(overwriteDialog().yesButton);
    EXPECT_FALSE(overwriteDialog().isVisible());
    EXPECT_FALSE(errorDialog().isVisible());
    EXPECT_NEAR(storedValue(file, "EchoTime"), 900.0f, 0.5f);
    EXPECT_EQ(presetFiles(), juce::StringArray{"Dub Echo.xml"});
    EXPECT_EQ(userPresetNames(), juce::StringArray{"Dub Echo"});
    EXPECT_EQ(processor().getCurrentPresetDisplayName(), "Dub Echo");
    EXPECT_NEAR(echoTime(), 900.0f, 0.5f);
}

TEST_F(PresetDialogsTest, RenamingToTheSameNameChangesNothingAndToANewNameMovesTheFile)
{
    const auto file = home.writePreset("Keeper", "EchoTime", 123.0f);
    home.writePreset("Other", "EchoTime", 456.0f);
    const auto original = fileText(file);
    openEditor();
    ASSERT_TRUE(processor().loadUserPreset(0));
    const auto modified = file.getLastModificationTime();

    chooseFromUserRowMenu(0, "Rename");
    ASSERT_TRUE(nameDialog().isVisible());
    EXPECT_EQ(nameDialog().nameEditor.getText(), "Keeper");
    clickButton(nameDialog().saveButton);
    EXPECT_FALSE(nameDialog().isVisible());
    EXPECT_EQ(presetFiles(), (juce::StringArray{"Keeper.xml", "Other.xml"}));
    EXPECT_EQ(fileText(file), original);
    EXPECT_EQ(file.getLastModificationTime(), modified);
    EXPECT_EQ(userPresetNames(), (juce::StringArray{"Keeper", "Other"}));

    // The current preset renamed: the header follows, the file moves unchanged.
    chooseFromUserRowMenu(0, "Rename");
    type("Treasure");
    clickButton(nameDialog().saveButton);
    EXPECT_EQ(presetFiles(), (juce::StringArray{"Other.xml", "Treasure.xml"}));
    EXPECT_EQ(fileText(home.presetFolder().getChildFile("Treasure.xml")), original);
    EXPECT_EQ(processor().getCurrentPresetDisplayName(), "Treasure");

    // After a rename the save button saves again.
    saveAs("Third");
    EXPECT_TRUE(home.presetFolder().getChildFile("Third.xml").existsAsFile());
}

TEST_F(PresetDialogsTest, DeletingRemovesTheFileAndTheRow)
{
    home.writePreset("A", "EchoTime", 100.0f);
    home.writePreset("B", "EchoTime", 200.0f);
    home.writePreset("C", "EchoTime", 300.0f);
    openEditor();
    ASSERT_TRUE(processor().loadUserPreset(2));

    chooseFromUserRowMenu(0, "Delete");
    EXPECT_EQ(presetFiles(), (juce::StringArray{"B.xml", "C.xml"}));
    EXPECT_EQ(userPresetNames(), (juce::StringArray{"B", "C"}));
    EXPECT_EQ(editor().presetPopup.getNumRows(), 4);
    EXPECT_EQ(processor().getCurrentPresetDisplayName(), "C");

    // The current one: the sound stays, the name becomes "Init".
    chooseFromUserRowMenu(1, "Delete");
    EXPECT_EQ(presetFiles(), juce::StringArray{"B.xml"});
    EXPECT_EQ(processor().getCurrentPresetDisplayName(), "Init");
    EXPECT_NEAR(echoTime(), 300.0f, 0.5f);
    EXPECT_FALSE(errorDialog().isVisible());
    writeSnapshot(render(editor()), "preset-dialog-after-delete-browser");
}

// A folder the plug-in may not write: every action says so, and nothing is lost.
TEST_F(PresetDialogsTest, AFailedWriteShowsAnErrorAndKeepsTheUnsavedChanges)
{
    const auto file = home.writePreset("Safe", "EchoTime", 111.0f);
    const auto original = fileText(file);
    openEditor();
    ASSERT_TRUE(processor().loadUserPreset(0));
    setEchoTime(999.0f);
    ASSERT_EQ(processor().getCurrentPresetDisplayName(), "Safe*");

    juce::Image failureShown;
    {
        // While it holds, the thread may look at files as another user: snapshots wait until after.
        const ReadOnlyFolder locked(home.presetFolder());
        if (!locked.holds())
            GTEST_SKIP() << "the folder cannot be made read-only here";

        saveAs("Bar");
        ASSERT_TRUE(errorDialog().isVisible());
        EXPECT_EQ(errorDialog().title, "Could not save preset");
        EXPECT_TRUE(errorDialog().message.contains(home.presetFolder().getFullPathName()));
        failureShown = render(editor());
        clickButton(errorDialog().okButton);
        EXPECT_FALSE(errorDialog().isVisible());
        EXPECT_TRUE(nameDialog().isVisible()) << "another name can be tried";
        clickButton(nameDialog().cancelButton);

        saveAs("SAFE");
        ASSERT_TRUE(overwriteDialog().isVisible());
        clickButton(overwriteDialog().yesButton);
        ASSERT_TRUE(errorDialog().isVisible());
        EXPECT_EQ(errorDialog().title, "Could not overwrite preset");
        clickButton(errorDialog().okButton);

        chooseFromUserRowMenu(0, "Rename");
        type("Moved");
        clickButton(nameDialog().saveButton);
        ASSERT_TRUE(errorDialog().isVisible());
        EXPECT_EQ(errorDialog().title, "Could not rename preset");
        clickButton(errorDialog().okButton);

        chooseFromUserRowMenu(0, "Delete");
        ASSERT_TRUE(errorDialog().isVisible());
        EXPECT_EQ(errorDialog().title, "Could not delete preset");
        clickButton(errorDialog().okButton);
    }
    writeSnapshot(failureShown, "preset-dialog-save-failed");

    EXPECT_EQ(presetFiles(), juce::StringArray{"Safe.xml"});
    EXPECT_EQ(fileText(file), original);
    EXPECT_EQ(userPresetNames(), juce::StringArray{"Safe"});
    EXPECT_EQ(processor().getCurrentPresetDisplayName(), "Safe*");
    EXPECT_NEAR(echoTime(), 999.0f, 0.5f);
}

TEST_F(PresetDialogsTest, HostileNamesAreSavedAsFilesOrRefusedWithAMessage)
{
    struct Case
    {
        juce::String typed;
        juce::String file; // empty: refused with a message
    };
    const juce::String controls = juce::String("tab") + juce::String::charToString(1) + "bell" + juce::String::charToString(7);
    const Case cases[] = {
        {"slash/and\\back", "slash_and_back.xml"},
        {"..", "...xml"},
        {".", "..xml"},
        {"  padded  ", "padded.xml"},
        {controls, controls + ".xml"},
        {juce::String::repeatedString("x", 10000), {}},
        {juce::CharPointer_UTF8("\xc3\xa9\xc3\xa8 \xe2\x99\xab"), juce::CharPointer_UTF8("\xc3\xa9\xc3\xa8 \xe2\x99\xab.xml")},
    };
    openEditor();
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.typed.substring(0, 40));
        clickHeader(Area::saveArea);
        nameDialog().nameEditor.setText(c.typed);
        clickButton(nameDialog().saveButton);
        if (c.file.isEmpty())
        {
            EXPECT_TRUE(errorDialog().isVisible());
            clickButton(errorDialog().okButton);
            clickButton(nameDialog().cancelButton);
        }
        else
        {
            EXPECT_FALSE(errorDialog().isVisible());
            EXPECT_TRUE(home.presetFolder().getChildFile(c.file).existsAsFile()) << c.file;
        }
    }
    // Every saved file reads back as a preset.
    closeEditor();
    processorPointer.reset();
    EXPECT_EQ(processor().presetManager.getEntries().size(), 6);
    EXPECT_EQ(presetFiles().size(), 6);
}

// Files deleted or replaced behind the browser's back, by the user or another instance.
TEST_F(PresetDialogsTest, FilesVanishingUnderTheBrowser)
{
    const auto gone = home.writePreset("Gone", "EchoTime", 100.0f);
    home.writePreset("Moved", "EchoTime", 200.0f);
    home.writePreset("Zapped", "EchoTime", 300.0f);
    openEditor();
    ASSERT_TRUE(gone.deleteFile());
    ASSERT_TRUE(home.presetFolder().getChildFile("Moved.xml").deleteFile());
    ASSERT_TRUE(home.presetFolder().getChildFile("Zapped.xml").deleteFile());

    // Overwriting a file that is gone is not writing a new one behind the user's back: reported.
    setEchoTime(700.0f);
    saveAs("Gone");
    clickButton(overwriteDialog().yesButton);
    EXPECT_TRUE(errorDialog().isVisible());
    clickButton(errorDialog().okButton);
    EXPECT_FALSE(gone.exists());
    EXPECT_NEAR(echoTime(), 700.0f, 0.5f);

    // Renaming one writes it under the new name from what the list still holds.
    chooseFromUserRowMenu(1, "Rename");
    type("Found");
    clickButton(nameDialog().saveButton);
    EXPECT_FALSE(errorDialog().isVisible());
    EXPECT_NEAR(storedValue(home.presetFolder().getChildFile("Found.xml"), "EchoTime"), 200.0f, 0.5f);

    // Deleting one just takes its row away.
    const int zapped = userPresetNames().indexOf("Zapped");
    chooseFromUserRowMenu(zapped, "Delete");
    EXPECT_FALSE(errorDialog().isVisible());
    EXPECT_EQ(userPresetNames(), (juce::StringArray{"Gone", "Found"}));

    // Loading one still works from the list.
    clickHeader(Area::nameArea);
    editor().chooseUserPreset(0);
    EXPECT_NEAR(echoTime(), 100.0f, 0.5f);
}
