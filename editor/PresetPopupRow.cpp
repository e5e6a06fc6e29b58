#include "editor/PresetPopupRow.h"

#include "plugin/QuillmoreAudioProcessor.h"

#include <algorithm>

namespace
{
constexpr float rowFontHeight = 14.0f;

void wash(juce::Graphics& g, juce::Rectangle<int> area, int alpha)
{
    g.setColour(juce::Colours::white.withAlpha(static_cast<juce::uint8>(alpha)));
    g.fillRect(area);
}

void drawRowText(juce::Graphics& g, const juce::String& text, juce::Rectangle<int> area, int alpha = 255)
{
    g.setColour(juce::Colours::white.withAlpha(static_cast<juce::uint8>(alpha)));
    g.setFont(rowFontHeight);
    g.drawText(text, area, juce::Justification::centredLeft, true);
}
} // namespace

PresetPopup::RowComponent::RowComponent(PresetPopup& popup) : owner(popup) {}

juce::Rectangle<int> PresetPopup::RowComponent::menuArea() const
{
    const int h = getHeight();
    return {getWidth() - h - 8, 0, h, h};
}

void PresetPopup::RowComponent::paint(juce::Graphics& g)
{
    if (owner.currentTab == factoryTab)
        paintFactoryRow(g);
    else
        paintUserRow(g);
}

void PresetPopup::RowComponent::paintFactoryRow(juce::Graphics& g)
{
    if (row < 0 || row >= static_cast<int>(owner.rows.size()))
        return;
    const auto& item = owner.rows[static_cast<size_t>(row)];
    const int W = getWidth(), H = getHeight();
    const auto bounds = getLocalBounds();
    if (owner.isCurrentPresetRow(row))
        wash(g, bounds, 26);
    if (selected)
        wash(g, bounds, 38);
    if (hovered)
        wash(g, bounds, 64);

    const int indent = item.kind == PresetRow::categoryPreset ? 24 : 0;
    const juce::Rectangle<int> textArea{indent + 8, 0, (W - H) - indent - 16, H};
    if (item.kind == PresetRow::categoryHeader)
    {
        drawRowText(g, item.label, textArea, 230);
        const float s = static_cast<float>(std::max(H - 12, 0));
        const float a = static_cast<float>(W - H - 2);
        juce::Path triangle;
        if (owner.categoryOpen[static_cast<size_t>(std::clamp(item.category, 1, 4) - 1)])
            triangle.addTriangle(a, 6.0f, a + s, 6.0f, a + s / 2.0f, 6.0f + s);
        else
            triangle.addTriangle(a, 6.0f + s, a + s, 6.0f + s, a + s / 2.0f, 6.0f);
        g.setColour(juce::Colours::white.withAlpha(static_cast<juce::uint8>(204)));
        g.fillPath(triangle);
        return;
    }

    drawRowText(g, item.label, textArea);
    if (item.kind == PresetRow::topPreset)
    {
        g.setColour(juce::Colours::white.withAlpha(static_cast<juce::uint8>(46)));
        g.drawLine(10.0f, static_cast<float>(H - 1), static_cast<float>(W - 10), static_cast<float>(H - 1), 1.0f);
    }
    if (hovered)
    {
        g.setColour(juce::Colours::white);
        g.setFont(0.5f * static_cast<float>(H));
        g.drawFittedText("...", menuArea(), juce::Justification::centred, 1);
    }
}

void PresetPopup::RowComponent::paintUserRow(juce::Graphics& g)
{
    if (owner.presetStore == nullptr || row < 0)
        return;
    const auto& entries = owner.presetStore->getEntries();
    const int n = entries.size();
    const int W = getWidth(), H = getHeight();
    const auto bounds = getLocalBounds();

    if (row == n)
    {
        g.setColour(juce::Colours::white.withAlpha(static_cast<juce::uint8>(64)));
        g.drawLine(10.0f, static_cast<float>(H / 2), static_cast<float>(W - 10), static_cast<float>(H / 2), 1.0f);
    }
    else if (row == n + 1)
    {
        if (hovered)
            wash(g, bounds, 31);
        drawRowText(g, "Show Preset Files on Disk", {8, 0, std::max(W - 16, 0), H});
    }
    else if (row < n)
    {
        if (owner.isCurrentPresetRow(row))
            wash(g, bounds, 26);
        // Twice over: a selected or hovered user row reads stronger than a factory row.
        for (int pass = 0; pass < 2; ++pass)
        {
            if (selected)
                wash(g, bounds, 38);
            if (hovered)
                wash(g, bounds, 64);
        }
        drawRowText(g, entries[row].name, {8, 0, (W - H) - 16, H});
        if (hovered)
        {
            g.setColour(juce::Colours::white);
            g.setFont(0.5f * static_cast<float>(H));
            g.drawFittedText("...", menuArea(), juce::Justification::centred, 1);
        }
    }
}

void PresetPopup::RowComponent::mouseEnter(const juce::MouseEvent&)
{
    hovered = true;
    repaint();
}

void PresetPopup::RowComponent::mouseExit(const juce::MouseEvent&)
{
    hovered = false;
    repaint();
}

void PresetPopup::RowComponent::mouseUp(const juce::MouseEvent& event)
{
    if (owner.currentTab == factoryTab)
        clickFactoryRow(event);
    else
        clickUserRow(event);
}

void PresetPopup::RowComponent::showMenu(juce::PopupMenu menu, const juce::MouseEvent& event,
                                         std::function<void(RowComponent&, int)> chosen)
{
    const auto screenPoint = event.getScreenPosition();
    juce::Component::SafePointer<RowComponent> self(this);
    menu.showMenuAsync(juce::PopupMenu::Options()
                           .withTargetComponent(this)
                           .withTargetScreenArea({screenPoint.x, screenPoint.y, 1, 1}),
                       [self, chosen = std::move(chosen)](int result) {
                           // The window may have closed while the menu was open.
                           if (self != nullptr)
                               chosen(*self, result);
                       });
}

void PresetPopup::RowComponent::clickFactoryRow(const juce::MouseEvent& event)
{
    if (row < 0 || row >= static_cast<int>(owner.rows.size()))
        return;
    const auto item = owner.rows[static_cast<size_t>(row)];
    auto& popup = owner;

    if (item.kind == PresetRow::categoryHeader)
    {
        const bool wasOpen = popup.categoryOpen[static_cast<size_t>(std::clamp(item.category, 1, 4) - 1)];
        popup.closeAllCategories();
        if (!wasOpen)
            popup.setCategoryOpen(item.category, true);
        popup.rebuildRows();
        popup.listBox.updateContent();
        popup.listBox.repaint();
        const int scrollY = popup.listScrollY();
        popup.writeViewState([scrollY](Quillmore::PresetFields& f) { f.popupFactoryScrollY = scrollY; });
        return;
    }

    if (menuArea().contains(event.getPosition()))
    {
        juce::PopupMenu menu;
        menu.addItem(saveCopyItem, "Save Copy to User Presets...");
        const auto label = item.label;
        showMenu(menu, event, [label](RowComponent& self, int result) {
            if (result == saveCopyItem && self.owner.onSaveCopy)
                self.owner.onSaveCopy(label + " Copy");
        });
        return;
    }

    // This row may be deleted by what the callbacks do; only the browser is used after them.
    if (popup.onFactoryPresetChosen)
        popup.onFactoryPresetChosen(item.resourceName, item.label);
    const int scrollY = popup.listScrollY();
    popup.writeViewState([&](Quillmore::PresetFields& f) {
        f.popupLastTab = 0;
        f.popupSelFactoryRes = item.resourceName;
        f.popupFactoryScrollY = scrollY;
    });
    popup.dismiss();
}

void PresetPopup::RowComponent::clickUserRow(const juce::MouseEvent& event)
{
    if (owner.presetStore == nullptr || row < 0)
        return;
    auto& popup = owner;
    const int n = popup.presetStore->getEntries().size();
    const int index = row;

    if (index == n + 1)
    {
        if (popup.onShowPresetFolder)
            popup.onShowPresetFolder();
        popup.dismiss();
        return;
    }
    if (index >= n)
        return;

    if (menuArea().contains(event.getPosition()))
    {
        juce::PopupMenu menu;
        menu.addItem(renameItem, "Rename");
        menu.addSeparator();
        menu.addItem(deleteItem, "Delete");
        showMenu(menu, event, [](RowComponent& self, int result) {
            if (result == renameItem && self.owner.onRenamePreset)
                self.owner.onRenamePreset(self.row);
            else if (result == deleteItem && self.owner.onDeletePreset)
                self.owner.onDeletePreset(self.row);
        });
        return;
    }

    const int scrollY = popup.listScrollY();
    popup.writeViewState([&](Quillmore::PresetFields& f) {
        f.popupLastTab = 1;
        f.popupSelUserIndex = index;
        f.popupUserScrollY = scrollY;
    });
    if (popup.onUserPresetChosen)
        popup.onUserPresetChosen(index);
    popup.dismiss();
}
