#pragma once

#include "editor/PresetPopup.h"

// One row of the preset browser's list, for the browser's current tab. It draws the row, shows a
// "..." menu button while the pointer is over a preset row, and turns a release of any mouse button
// into the browser's callbacks: loading a preset, toggling a category, the row menus and the folder
// row. The list box owns it and re-points it at other rows as the list scrolls.
class PresetPopup::RowComponent : public juce::Component
{
public:
    explicit RowComponent(PresetPopup& owner);

    PresetPopup& owner;
    int row = -1;
    bool selected = false;
    bool hovered = false;

    // The "..." square: side H at the right end, 8 pixels in from the right edge.
    juce::Rectangle<int> menuArea() const;

    void paint(juce::Graphics& g) override;
    void mouseEnter(const juce::MouseEvent& event) override;
    void mouseExit(const juce::MouseEvent& event) override;
    void mouseUp(const juce::MouseEvent& event) override;

    // Item IDs of the row menus.
    static constexpr int saveCopyItem = 10;
    static constexpr int renameItem = 1;
    static constexpr int deleteItem = 2;

private:
    void paintFactoryRow(juce::Graphics& g);
    void paintUserRow(juce::Graphics& g);
    void clickFactoryRow(const juce::MouseEvent& event);
    void clickUserRow(const juce::MouseEvent& event);
    // Shows the menu at the pointer; the result arrives later, and only while this row still exists.
    void showMenu(juce::PopupMenu menu, const juce::MouseEvent& event, std::function<void(RowComponent&, int)> chosen);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(RowComponent)
};
