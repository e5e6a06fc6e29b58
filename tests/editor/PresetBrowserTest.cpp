// The preset browser on the real editor, driven by clicks: the tabs, the categories (one open at a
// time), loading from a row, the row menus, the folder row, where it closes, and its view kept in the
// processor so that it reopens as it was left, also in a new editor and after a host's state round
// trip. Snapshots for review.
#include "tests/editor/ActivePopupMenu.h"
#include "tests/editor/PresetEditorFixture.h"

#include "editor/PresetPopupRow.h"
#include "plugin/PresetCategory.h"

using namespace EditorTestBed;

namespace
{
using Area = PresetHeader::HeaderArea;
using Row = PresetPopup::PresetRow;
} // namespace

class PresetBrowserTest : public PresetEditorFixture
{
protected:
    PresetPopup& browser() { return editor().presetPopup; }

    void openBrowser()
    {
        ASSERT_FALSE(browser().isVisible());
        clickHeader(Area::nameArea);
        ASSERT_TRUE(browser().isVisible());
    }

    // Row index of a row of the factory list by its label; -1 when not listed.
    int factoryRow(const juce::String& label)
    {
        for (size_t i = 0; i < browser().rows.size(); ++i)
            if (browser().rows[i].label == label)
                return static_cast<int>(i);
        return -1;
    }

    PresetPopup::RowComponent& rowComponent(int row)
    {
        browser().listBox.scrollToEnsureRowIsOnscreen(row);
        auto* component = dynamic_cast<PresetPopup::RowComponent*>(browser().listBox.getComponentForRowNumber(row));
        EXPECT_NE(component, nullptr) << "row " << row;
        return *component;
    }

    // Where a click on the row lands: its text, or its "..." square.
    juce::Point<float> rowPoint(int row, bool menuSquare = false)
    {
        auto& component = rowComponent(row);
        const auto local = menuSquare ? component.menuArea().getCentre() : juce::Point<int>(20, component.getHeight() / 2);
        return editor().getLocalPoint(&component, local).toFloat();
    }

    void clickRow(int row, bool menuSquare = false) { mouse().click(rowPoint(row, menuSquare)); }

    Quillmore::PresetFields view() { return processor().presetFields.get(); }
};

TEST_F(PresetBrowserTest, FirstOpeningShowsTheFactoryListClosedAndMarksTheViewAsSet)
{
    openEditor();
    ASSERT_FALSE(view().popupHasState);
    openBrowser();

    EXPECT_EQ(browser().currentTab, PresetPopup::factoryTab);
    ASSERT_EQ(browser().rows.size(), 5u);
    EXPECT_EQ(browser().rows[0].label, "Clean Default");
    const char* headings[] = {"Heads", "Spaces", "Quillmores", "Misc FX"};
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ(browser().rows[static_cast<size_t>(i + 1)].kind, Row::categoryHeader);
        EXPECT_EQ(browser().rows[static_cast<size_t>(i + 1)].label, headings[i]);
    }
    EXPECT_EQ(browser().listBox.getNumSelectedRows(), 0);
    EXPECT_TRUE(view().popupHasState);

    // The panel drops down under the name box.
    const auto nameBox = editor().presetHeader.computeAreas()[0].toNearestInt();
    EXPECT_EQ(browser().panelArea.getX(), nameBox.getX());
    EXPECT_EQ(browser().panelArea.getY(), nameBox.getBottom() + 4);
    writeSnapshot(render(editor()), "preset-browser-first-opening");
}

TEST_F(PresetBrowserTest, OpeningACategoryClosesTheOther)
{
    openEditor();
    openBrowser();

    clickRow(factoryRow("Heads"));
    EXPECT_TRUE(browser().categoryOpen[0]);
    EXPECT_TRUE(view().factoryOpenHeads);
    const int headsPresets = static_cast<int>(browser().rows.size()) - 5;
    EXPECT_GT(headsPresets, 0);

    clickRow(factoryRow("Spaces"));
    EXPECT_FALSE(browser().categoryOpen[0]);
    EXPECT_TRUE(browser().categoryOpen[1]);
    EXPECT_FALSE(view().factoryOpenHeads);
    EXPECT_TRUE(view().factoryOpenSpaces);
    for (const auto& row : browser().rows)
        EXPECT_TRUE(row.kind != Row::categoryPreset || row.category == Quillmore::spacesCategory) << row.label;
    EXPECT_TRUE(browser().isVisible());
    writeSnapshot(render(editor()), "preset-browser-spaces-open");

    clickRow(factoryRow("Spaces"));
    EXPECT_EQ(browser().categoryOpen, (std::array<bool, 4>{}));
    EXPECT_FALSE(view().factoryOpenSpaces);
    EXPECT_EQ(browser().rows.size(), 5u);
}

TEST_F(PresetBrowserTest, ChoosingARowLoadsThePresetAndShowsItsName)
{
    home.writePreset("My Echo", "EchoTime", 777.0f);
    openEditor();
    openBrowser();
    clickRow(factoryRow("Spaces"));

    const int dottie = factoryRow("Dottie");
    ASSERT_GE(dottie, 0);
    clickRow(dottie);
    EXPECT_FALSE(browser().isVisible());
    EXPECT_EQ(processor().getCurrentPresetDisplayName(), "Dottie");
    EXPECT_EQ(view().currentFactoryResource, "Dottie_xml");
    EXPECT_EQ(view().popupSelFactoryRes, "Dottie_xml");
    tick(editor());
    writeSnapshot(render(editor().presetHeader), "preset-browser-chose-dottie-header");

    openBrowser();
    EXPECT_TRUE(browser().listBox.isRowSelected(dottie));
    EXPECT_TRUE(browser().isCurrentPresetRow(dottie));

    mouse().click(browser().userTabArea.getCentre().toFloat());
    ASSERT_EQ(browser().currentTab, PresetPopup::userTab);
    EXPECT_EQ(browser().getNumRows(), 3);
    writeSnapshot(render(editor()), "preset-browser-user-tab");
    clickRow(0);
    EXPECT_FALSE(browser().isVisible());
    EXPECT_EQ(processor().getCurrentPresetDisplayName(), "My Echo");
    EXPECT_FLOAT_EQ(processor().apvts.getRawParameterValue("EchoTime")->load(), 777.0f);
}

TEST_F(PresetBrowserTest, ReopensWhereItWasLeftInANewEditorAndAfterTheHostRestoresTheState)
{
    for (int i = 0; i < 30; ++i)
        home.writePreset(juce::String::formatted("Preset %02d", i));
    openEditor();
    openBrowser();
    mouse().click(browser().userTabArea.getCentre().toFloat());
    clickRow(17);
    ASSERT_EQ(processor().getCurrentPresetName(), "Preset 17");
    const auto left = view();
    EXPECT_EQ(left.popupLastTab, 1);
    EXPECT_EQ(left.popupSelUserIndex, 17);
    EXPECT_GT(left.popupUserScrollY, 0);

    const auto reopened = [this, &left](const char* when) {
        openBrowser();
        EXPECT_EQ(browser().currentTab, PresetPopup::userTab) << when;
        EXPECT_TRUE(browser().listBox.isRowSelected(17)) << when;
        EXPECT_EQ(browser().listBox.getViewport()->getViewPositionY(), left.popupUserScrollY) << when;
    };
    reopened("same editor");
    clickHeader(Area::nameArea);
    ASSERT_FALSE(browser().isVisible());

    openEditor();
    reopened("new editor");

    juce::MemoryBlock state;
    processor().getStateInformation(state);
    closeEditor();
    processorPointer.reset();
    processor().setStateInformation(state.getData(), static_cast<int>(state.getSize()));
    openEditor();
    reopened("restored state");
}

TEST_F(PresetBrowserTest, AStoredStateWithTwoOpenCategoriesKeepsOnlyTheFirst)
{
    processor().presetFields.update([](Quillmore::PresetFields& f) {
        f.popupHasState = true;
        f.factoryOpenSpaces = true;
        f.factoryOpenMiscFX = true;
    });
    openEditor();
    openBrowser();
    EXPECT_EQ(browser().categoryOpen, (std::array<bool, 4>{false, true, false, false}));
    EXPECT_TRUE(view().factoryOpenSpaces);
    EXPECT_FALSE(view().factoryOpenMiscFX);
}

TEST_F(PresetBrowserTest, ClosesOnClicksOutsideThePanelAndLetsTheHeaderWork)
{
    openEditor();
    openBrowser();
    const auto panel = browser().panelArea;

    // The panel's background between the tabs and the list: nothing.
    mouse().click({static_cast<float>(panel.getCentreX()), static_cast<float>(browser().factoryTabArea.getBottom() + 3)});
    EXPECT_TRUE(browser().isVisible());

    // Anywhere else on the window, also in the header's band below its outline: closed.
    mouse().click({static_cast<float>(panel.getRight() + 20), static_cast<float>(editor().getHeight() - 60)});
    EXPECT_FALSE(browser().isVisible());
    openBrowser();
    mouse().click({static_cast<float>(editor().getWidth() - 40), static_cast<float>(editor().presetHeader.getHeight() - 4)});
    EXPECT_FALSE(browser().isVisible());
    EXPECT_EQ(editor().getActiveSide(), 0);

    // The name box closes it again; next steps the preset and the browser follows to the Misc FX
    // category, open, on the Factory tab.
    openBrowser();
    clickHeader(Area::nameArea);
    EXPECT_FALSE(browser().isVisible());

    const auto list = Quillmore::buildFactoryPresetList();
    size_t beforeMiscFx = 0;
    while (beforeMiscFx + 1 < list.size() && list[beforeMiscFx + 1].category != Quillmore::miscFxCategory)
        ++beforeMiscFx;
    ASSERT_LT(beforeMiscFx + 1, list.size());
    processor().loadFactoryPreset(list[beforeMiscFx].resourceName, list[beforeMiscFx].displayName);
    openBrowser();
    mouse().click(browser().userTabArea.getCentre().toFloat());
    clickHeader(Area::nextArea);
    EXPECT_TRUE(browser().isVisible());
    EXPECT_EQ(browser().currentTab, PresetPopup::factoryTab);
    EXPECT_TRUE(browser().categoryOpen[3]);
    const int row = factoryRow(list[beforeMiscFx + 1].displayName);
    EXPECT_TRUE(browser().listBox.isRowSelected(row));
    writeSnapshot(render(editor()), "preset-browser-followed-next");
}

TEST_F(PresetBrowserTest, TheFactoryRowMenuProposesACopyWithoutLoading)
{
    openEditor();
    openBrowser();
    clickRow(factoryRow("Heads"));
    const int row = factoryRow("Attic Treasure");
    ASSERT_GE(row, 0);

    mouse().hover(rowPoint(row, true));
    writeSnapshot(render(editor()), "preset-browser-row-hover");
    clickRow(row, true);
    EXPECT_EQ(ActivePopupMenu::itemTitles(), juce::StringArray{"Save Copy to User Presets..."});
    EXPECT_TRUE(ActivePopupMenu::choose("Save Copy to User Presets..."));

    EXPECT_NE(processor().getCurrentPresetName(), "Attic Treasure");
    EXPECT_TRUE(browser().isVisible());
    ASSERT_TRUE(editor().presetNameDialog.isVisible());
    EXPECT_EQ(editor().presetNameDialog.nameEditor.getText(), "Attic Treasure Copy");

    // A right click works the same, and a dismissed menu does nothing.
    editor().presetNameDialog.setVisible(false);
    mouse().press(rowPoint(row, true), juce::ModifierKeys::rightButtonModifier);
    mouse().release(rowPoint(row, true));
    ASSERT_NE(ActivePopupMenu::window(), nullptr);
    ActivePopupMenu::dismiss();
    EXPECT_FALSE(editor().presetNameDialog.isVisible());
}

TEST_F(PresetBrowserTest, TheFolderRowRevealsTheFolderAndTheSeparatorDoesNothing)
{
    home.writePreset("One");
    openEditor();
    juce::Array<juce::File> revealed;
    editor().revealPresetFolder = [&](const juce::File& folder) { revealed.add(folder); };
    openBrowser();
    mouse().click(browser().userTabArea.getCentre().toFloat());

    clickRow(1);
    EXPECT_TRUE(browser().isVisible());
    EXPECT_TRUE(revealed.isEmpty());

    clickRow(2);
    EXPECT_FALSE(browser().isVisible());
    ASSERT_EQ(revealed.size(), 1);
    EXPECT_EQ(revealed[0], home.presetFolder());

    // A folder that is not there yet is made first.
    ASSERT_TRUE(home.presetFolder().deleteRecursively());
    editor().showPresetFolder();
    EXPECT_TRUE(home.presetFolder().isDirectory());
    EXPECT_EQ(revealed.size(), 2);
}

// The window closes while a row's menu is open; the menu's late answer must not reach the deleted
// row or editor (run it under the address sanitizer build as well).
TEST_F(PresetBrowserTest, ClosingTheWindowWithARowMenuOpenIsSafe)
{
    home.writePreset("Doomed");
    openEditor();
    int renames = 0;
    editor().presetPopup.onRenamePreset = [&](int) { ++renames; };
    openBrowser();
    mouse().click(browser().userTabArea.getCentre().toFloat());
    clickRow(0, true);
    ASSERT_EQ(ActivePopupMenu::itemTitles(), (juce::StringArray{"Rename", "Delete"}));

    ASSERT_NE(ActivePopupMenu::window(), nullptr);
    closeEditor();
    // The menu is a window of its own and outlives the editor for a moment: its answer now must not
    // reach the deleted row.
    EXPECT_TRUE(ActivePopupMenu::choose("Rename"));
    ActivePopupMenu::dismiss();
    EXPECT_EQ(renames, 0);
    EXPECT_EQ(ActivePopupMenu::window(), nullptr);
    EXPECT_TRUE(home.presetFolder().getChildFile("Doomed.xml").existsAsFile());
}
