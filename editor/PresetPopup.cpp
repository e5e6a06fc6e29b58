#include "editor/PresetPopup.h"

#include "editor/PresetPopupRow.h"
#include "plugin/PresetCategory.h"
#include "plugin/QuillmoreAudioProcessor.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr const char* categoryNames[] = {"Heads", "Spaces", "Quillmores", "Misc FX"};

bool* openFlagOf(Quillmore::PresetFields& fields, int category)
{
    switch (category)
    {
    case Quillmore::headsCategory: return &fields.factoryOpenHeads;
    case Quillmore::spacesCategory: return &fields.factoryOpenSpaces;
    case Quillmore::quillmoresCategory: return &fields.factoryOpenQuillmores;
    case Quillmore::miscFxCategory: return &fields.factoryOpenMiscFX;
    default: return nullptr;
    }
}

bool isPresetRow(const PresetPopup::PresetRow& row)
{
    return row.kind == PresetPopup::PresetRow::topPreset || row.kind == PresetPopup::PresetRow::categoryPreset;
}
} // namespace

PresetPopup::PresetPopup()
{
    setVisible(false);
    setInterceptsMouseClicks(false, false);
    listBox.setModel(this);
    addAndMakeVisible(listBox);
    listBox.setRowHeight(rowHeight);
    listBox.setMultipleSelectionEnabled(false);
    listBox.setColour(juce::ListBox::backgroundColourId, juce::Colour(0x00000000));
    listBox.setColour(juce::ListBox::outlineColourId, juce::Colour(0x00000000));
}

PresetPopup::~PresetPopup()
{
    listBox.setModel(nullptr);
}

void PresetPopup::writeViewState(const std::function<void(Quillmore::PresetFields&)>& change)
{
    if (processor == nullptr)
        return;
    processor->presetFields.update([&](Quillmore::PresetFields& fields) {
        change(fields);
        fields.popupHasState = true;
    });
}

int PresetPopup::listScrollY() const
{
    return std::max(listBox.getViewport()->getViewPositionY(), 0);
}

void PresetPopup::setCategoryOpen(int category, bool open)
{
    if (category < 1 || category > 4)
        return;
    categoryOpen[static_cast<size_t>(category - 1)] = open;
    writeViewState([&](Quillmore::PresetFields& fields) { *openFlagOf(fields, category) = open; });
}

void PresetPopup::closeAllCategories()
{
    for (int c = 1; c <= 4; ++c)
        setCategoryOpen(c, false);
}

void PresetPopup::openCategory(int category)
{
    if (category < 1 || category > 4)
        return;
    closeAllCategories();
    setCategoryOpen(category, true);
}

int PresetPopup::categoryOfResource(const juce::String& resourceName) const
{
    if (resourceName.isEmpty())
        return Quillmore::unknownCategory;
    if (resourceName == Quillmore::kPinnedPresetResourceName)
        return Quillmore::pinnedCategory;
    for (const auto& item : catalogue)
        if (item.resourceName == resourceName)
            return item.category;
    return Quillmore::unknownCategory;
}

void PresetPopup::rebuildRows()
{
    rows.clear();
    rows.push_back({PresetRow::topPreset, Quillmore::pinnedCategory, "Clean Default", Quillmore::kPinnedPresetResourceName});
    for (int c = 1; c <= 4; ++c)
    {
        rows.push_back({PresetRow::categoryHeader, c, categoryNames[c - 1], {}});
        if (!categoryOpen[static_cast<size_t>(c - 1)])
            continue;
        for (const auto& item : catalogue)
            if (item.category == c)
                rows.push_back({PresetRow::categoryPreset, c, item.displayName, item.resourceName});
    }
}

bool PresetPopup::isCurrentPresetRow(int row) const
{
    if (processor == nullptr || row < 0)
        return false;
    const auto fields = processor->presetFields.get();
    if (currentTab == userTab)
        return fields.currentPresetIsFactory == 0 && presetStore != nullptr && row == presetStore->getCurrentIndex();
    return fields.currentPresetIsFactory == 1 && row < static_cast<int>(rows.size())
           && rows[static_cast<size_t>(row)].kind != PresetRow::categoryHeader
           && rows[static_cast<size_t>(row)].resourceName == fields.currentFactoryResource;
}

void PresetPopup::refresh()
{
    if (processor != nullptr)
    {
        auto fields = processor->presetFields.get();
        if (fields.popupHasState)
        {
            currentTab = fields.popupLastTab == 1 ? userTab : factoryTab;
        }
        else
        {
            currentTab = factoryTab;
            writeViewState([](Quillmore::PresetFields& f) {
                f.popupLastTab = 0;
                f.popupSelFactoryRes = {};
                f.popupSelUserIndex = -1;
                f.popupFactoryScrollY = 0;
                f.popupUserScrollY = 0;
                f.factoryOpenHeads = f.factoryOpenSpaces = f.factoryOpenQuillmores = f.factoryOpenMiscFX = false;
            });
            fields = processor->presetFields.get();
        }
        for (int c = 1; c <= 4; ++c)
            categoryOpen[static_cast<size_t>(c - 1)] = *openFlagOf(fields, c);
    }

    // A stored state may hold several open categories; the first one wins.
    const auto firstOpen = std::find(categoryOpen.begin(), categoryOpen.end(), true);
    if (firstOpen != categoryOpen.end() && std::count(categoryOpen.begin(), categoryOpen.end(), true) > 1)
        openCategory(static_cast<int>(firstOpen - categoryOpen.begin()) + 1);

    const auto fields = processor != nullptr ? processor->presetFields.get() : Quillmore::PresetFields{};
    if (currentTab == factoryTab)
    {
        catalogue = Quillmore::collectFactoryPresets();
        if (fields.popupSelFactoryRes.isNotEmpty())
            openCategory(categoryOfResource(fields.popupSelFactoryRes));
        rebuildRows();
    }

    listBox.updateContent();

    auto* viewport = listBox.getViewport();
    if (processor != nullptr)
    {
        if (currentTab == userTab)
        {
            if (presetStore != nullptr)
            {
                const int count = presetStore->getEntries().size();
                if (fields.popupSelUserIndex >= 0 && fields.popupSelUserIndex < count)
                    listBox.selectRow(fields.popupSelUserIndex);
                else
                    listBox.deselectAllRows();
                viewport->setViewPosition(viewport->getViewPositionX(), std::max(fields.popupUserScrollY, 0));
            }
            else
            {
                listBox.deselectAllRows();
            }
        }
        else
        {
            const auto found = std::find_if(rows.begin(), rows.end(), [&](const PresetRow& row) {
                return isPresetRow(row) && row.resourceName == fields.popupSelFactoryRes;
            });
            if (fields.popupSelFactoryRes.isNotEmpty() && found != rows.end())
                listBox.selectRow(static_cast<int>(found - rows.begin()));
            else
                listBox.deselectAllRows();
            viewport->setViewPosition(viewport->getViewPositionX(), std::max(fields.popupFactoryScrollY, 0));
        }
    }
    else if (currentTab == userTab && presetStore != nullptr)
    {
        const int current = presetStore->getCurrentIndex();
        if (current >= 0 && current < presetStore->getEntries().size())
            listBox.selectRow(current);
    }
    else
    {
        listBox.deselectAllRows();
    }

    listBox.repaint();
    repaint();
}

void PresetPopup::followCurrentPreset()
{
    if (processor == nullptr)
        return;
    const auto fields = processor->presetFields.get();
    if (fields.currentPresetIsFactory != 0)
    {
        currentTab = factoryTab;
        catalogue = Quillmore::collectFactoryPresets();
        openCategory(categoryOfResource(fields.currentFactoryResource));
        rebuildRows();
        listBox.updateContent();
        const auto found = std::find_if(rows.begin(), rows.end(), [&](const PresetRow& row) {
            return isPresetRow(row) && row.resourceName == fields.currentFactoryResource;
        });
        if (fields.currentFactoryResource.isNotEmpty() && found != rows.end())
        {
            const int row = static_cast<int>(found - rows.begin());
            listBox.selectRow(row);
            listBox.scrollToEnsureRowIsOnscreen(row);
        }
        else
        {
            listBox.deselectAllRows();
        }
        const int scrollY = listScrollY();
        writeViewState([scrollY](Quillmore::PresetFields& f) { f.popupFactoryScrollY = scrollY; });
    }
    else
    {
        currentTab = userTab;
        listBox.updateContent();
        if (presetStore != nullptr)
        {
            const int current = presetStore->getCurrentIndex();
            if (current >= 0 && current < presetStore->getEntries().size())
                listBox.selectRow(current);
            else
                listBox.deselectAllRows();
            listBox.scrollToEnsureRowIsOnscreen(std::max(current, 0));
            const int scrollY = listScrollY();
            writeViewState([scrollY](Quillmore::PresetFields& f) { f.popupUserScrollY = scrollY; });
        }
    }
    listBox.repaint();
    repaint();
}

void PresetPopup::setTab(int tab)
{
    if (tab == currentTab)
        return;
    currentTab = tab;
    writeViewState([tab](Quillmore::PresetFields& f) { f.popupLastTab = tab == userTab ? 1 : 0; });
    if (onTabChanged)
        onTabChanged(tab);
    refresh();
    resized();
}

void PresetPopup::dismiss()
{
    setVisible(false);
    setInterceptsMouseClicks(false, false);
    if (onDismiss)
        onDismiss();
}

int PresetPopup::getNumRows()
{
    if (currentTab == factoryTab)
        return static_cast<int>(rows.size());
    return presetStore != nullptr ? presetStore->getEntries().size() + 2 : 0;
}

void PresetPopup::paintListBoxItem(int, juce::Graphics&, int, int, bool) {}

juce::Component* PresetPopup::refreshComponentForRow(int row, bool selected, juce::Component* existing)
{
    auto* component = dynamic_cast<RowComponent*>(existing);
    if (component == nullptr)
    {
        delete existing;
        component = new RowComponent(*this);
    }
    component->row = row;
    component->selected = selected;
    component->repaint();
    return component;
}

void PresetPopup::resized()
{
    const int tabHeight = std::min(static_cast<int>(std::lround(tabBaseHeight * 1.1)), panelArea.getHeight());
    const int half = panelArea.getWidth() / 2;
    factoryTabArea = {panelArea.getX(), panelArea.getY(), half, tabHeight};
    userTabArea = {panelArea.getX() + half, panelArea.getY(), panelArea.getWidth() - half, tabHeight};
    listBox.setBounds(panelArea.getX() + 8, panelArea.getY() + tabHeight + 8, std::max(panelArea.getWidth() - 16, 0),
                      std::max(panelArea.getHeight() - tabHeight - 16, 0));
}

void PresetPopup::paint(juce::Graphics& g)
{
    const auto panel = panelArea.toFloat();
    const auto grey = juce::Colour(panelGrey);
    g.setGradientFill(juce::ColourGradient(grey, panel.getCentreX(), panel.getY(), grey.withAlpha(static_cast<juce::uint8>(237)),
                                           panel.getCentreX(), panel.getBottom(), false));
    g.fillRoundedRectangle(panel, 10.0f);

    const bool factoryActive = currentTab == factoryTab;
    const auto tabRect = [](juce::Rectangle<int> area) { return area.toFloat().withTrimmedLeft(1.0f).withTrimmedRight(1.0f); };
    if (factoryActive)
    {
        drawTab(g, tabRect(userTabArea), "User", false, false);
        drawTab(g, tabRect(factoryTabArea), "Factory", true, true);
    }
    else
    {
        drawTab(g, tabRect(factoryTabArea), "Factory", false, true);
        drawTab(g, tabRect(userTabArea), "User", true, false);
    }

    g.setColour(juce::Colours::white.withAlpha(static_cast<juce::uint8>(128)));
    g.drawRoundedRectangle(panel.reduced(0.5f), 10.0f, 1.5f);

    const auto active = (factoryActive ? factoryTabArea : userTabArea).toFloat();
    g.setColour(grey);
    g.fillRect(active.getX() + 2.0f, active.getBottom() - 3.0f, active.getWidth() - 4.0f, 6.0f);
}

void PresetPopup::drawTab(juce::Graphics& g, juce::Rectangle<float> area, const juce::String& caption, bool active, bool left)
{
    const float x = area.getX(), y = area.getY(), w = area.getWidth(), h = area.getHeight();
    const float topLeft = left ? 10.0f : 5.0f, topRight = left ? 5.0f : 10.0f;
    juce::Path shape;
    shape.startNewSubPath(x, y + topLeft);
    shape.quadraticTo(x, y, x + topLeft, y);
    shape.lineTo(x + w - topRight, y);
    shape.quadraticTo(x + w, y, x + w, y + topRight);
    shape.lineTo(x + w, y + h);
    shape.lineTo(x, y + h);
    shape.closeSubPath();

    if (active)
    {
        g.setColour(juce::Colour(panelGrey).withAlpha(static_cast<juce::uint8>(245)));
    }
    else
    {
        const auto base = juce::Colour(panelGrey).darker(0.18f);
        g.setGradientFill(juce::ColourGradient(base.brighter(0.1f).withAlpha(static_cast<juce::uint8>(245)), x + w / 2, y,
                                               base.darker(0.12f).withAlpha(static_cast<juce::uint8>(245)), x + w / 2, y + h, false));
    }
    g.fillPath(shape);

    g.setColour(juce::Colours::white.withAlpha(static_cast<juce::uint8>(active ? 38 : 31)));
    g.strokePath(shape, juce::PathStrokeType(1.5f, juce::PathStrokeType::mitered, juce::PathStrokeType::butt));

    g.setColour(juce::Colours::white.withAlpha(static_cast<juce::uint8>(active ? 255 : 115)));
    g.setFont(16.0f);
    g.drawText(caption,
               juce::Rectangle<int>(juce::roundToInt(x) + 10, juce::roundToInt(y), std::max(juce::roundToInt(w) - 20, 0),
                                    std::max(juce::roundToInt(h), 0)),
               juce::Justification::centredLeft, true);
}

bool PresetPopup::hitTest(int x, int y)
{
    if (panelArea.contains(x, y))
        return true;
    // Only where the header itself takes clicks; the rest of its band closes the browser like any
    // other click outside the panel.
    return !(headerArea.contains(x, y) && headerClickArea.contains(static_cast<float>(x), static_cast<float>(y), 1.0f));
}

void PresetPopup::mouseDown(const juce::MouseEvent& event)
{
    const auto position = event.getPosition();
    if (factoryTabArea.contains(position))
        setTab(factoryTab);
    else if (userTabArea.contains(position))
        setTab(userTab);
    else if (!panelArea.contains(position))
        dismiss();
}
