#include "plugin/FactoryPresetCatalogue.h"

#include "plugin/FactoryPresetData.h"
#include "plugin/PresetCategory.h"

#include <algorithm>

namespace Quillmore
{
bool compareFactoryPresetItems(const FactoryPresetItem& a, const FactoryPresetItem& b)
{
    if (a.category != b.category)
        return a.category < b.category;
    return a.displayName.compareIgnoreCase(b.displayName) < 0;
}

std::vector<FactoryPresetItem> collectFactoryPresets(const FactoryPresetCatalogueRow* rows, std::size_t count)
{
    std::vector<FactoryPresetItem> items;
    items.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
    {
        const auto& row = rows[i];
        if (juce::String(row.resourceName).equalsIgnoreCase(kPinnedPresetResourceName))
            continue;
        if (!hasFactoryPresetData(row.resourceName))
            continue;
        const int category = presetCategoryFromName(row.category);
        if (category == pinnedCategory || category == unknownCategory)
            continue;
        items.push_back({ category, row.displayName, row.resourceName });
    }
    std::sort(items.begin(), items.end(), compareFactoryPresetItems);
    return items;
}

std::vector<FactoryPresetItem> collectFactoryPresets()
{
    return collectFactoryPresets(kFactoryPresetCatalogue.data(), kFactoryPresetCatalogue.size());
}

std::vector<FactoryPresetItem> buildFactoryPresetList()
{
    auto collected = collectFactoryPresets();
    std::vector<FactoryPresetItem> list;
    list.reserve(collected.size() + 1);
    list.push_back({ pinnedCategory, "Clean Default", kPinnedPresetResourceName });
    list.insert(list.end(), collected.begin(), collected.end());
    return list;
}
} // namespace Quillmore
