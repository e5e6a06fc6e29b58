#pragma once

#include "plugin/FactoryPresetCatalogue.h"
#include "plugin/PresetFields.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <functional>
#include <vector>

class PresetManager;
class QuillmoreAudioProcessor;

// The preset browser: a panel that drops down under the header's name box with a "Factory" and a
// "User" tab over a scrolling list. The factory list is "Clean Default" and the four categories, one
// of them open at a time; the user list is the user presets, a separator and "Show Preset Files on
// Disk". While shown it covers the whole editor, so that a click outside the panel closes it; clicks on
// the header itself pass through. The view (tab, open category, selection, scroll positions) lives in
// the processor, so the browser reopens as it was left, also in a new editor.
class PresetPopup : public juce::Component, public juce::ListBoxModel
{
public:
    enum BrowserTab : int
    {
        factoryTab = 0,
        userTab = 1,
    };

    struct PresetRow
    {
        enum Kind : int
        {
            topPreset = 0,
            categoryHeader = 1,
            categoryPreset = 2,
        };
        int kind = topPreset;
        int category = 0;
        juce::String label;
        juce::String resourceName;
    };

    class RowComponent;

    static constexpr juce::uint32 panelGrey = 0xff808287;
    static constexpr int rowHeight = 24;

    PresetPopup();
    ~PresetPopup() override;

    QuillmoreAudioProcessor* processor = nullptr;
    std::vector<Quillmore::FactoryPresetItem> catalogue;
    std::vector<PresetRow> rows;
    std::array<bool, 4> categoryOpen{}; // Heads, Spaces, Quillmores, Misc FX

    std::function<void(int)> onUserPresetChosen;
    std::function<void(const juce::String&)> onSaveCopy;
    std::function<void(const juce::String& resourceName, const juce::String& displayName)> onFactoryPresetChosen;
    std::function<void()> onDismiss;
    std::function<void(int)> onRenamePreset;
    std::function<void(int)> onDeletePreset;
    std::function<void()> onShowPresetFolder;
    std::function<void(int)> onTabChanged;

    juce::Rectangle<int> headerArea;
    // Where the header takes clicks, in editor coordinates; clicks there pass through to it.
    juce::Path headerClickArea;
    int currentTab = factoryTab;
    juce::Rectangle<int> factoryTabArea, userTabArea;
    int tabBaseHeight = 28;
    PresetManager* presetStore = nullptr;
    juce::ListBox listBox;
    juce::Rectangle<int> panelArea;

    // Restores tab, open category, selection and scroll position from the processor's view state.
    void refresh();
    // Shows the loaded preset: its tab, its category open, its row selected and scrolled to.
    void followCurrentPreset();
    void setTab(int tab);
    void rebuildRows();
    void openCategory(int category);
    int categoryOfResource(const juce::String& resourceName) const;
    bool isCurrentPresetRow(int row) const;
    void dismiss();

    int getNumRows() override;
    void paintListBoxItem(int row, juce::Graphics& g, int width, int height, bool selected) override;
    juce::Component* refreshComponentForRow(int row, bool selected, juce::Component* existing) override;

    void resized() override;
    void paint(juce::Graphics& g) override;
    bool hitTest(int x, int y) override;
    void mouseDown(const juce::MouseEvent& event) override;

    // Writes into the processor's view state (marking it as set); nothing without a processor.
    void writeViewState(const std::function<void(Quillmore::PresetFields&)>& change);
    int listScrollY() const;
    void setCategoryOpen(int category, bool open);
    void closeAllCategories();

private:
    void drawTab(juce::Graphics& g, juce::Rectangle<float> area, const juce::String& caption, bool active, bool left);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(PresetPopup)
};
