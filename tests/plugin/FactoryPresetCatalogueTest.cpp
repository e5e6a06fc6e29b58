#include "plugin/FactoryPresetCatalogue.h"
#include "plugin/FactoryPresetData.h"
#include "plugin/PresetCategory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using Quillmore::FactoryPresetCatalogueRow;
using Quillmore::FactoryPresetItem;

namespace
{
int indexOf(const std::vector<FactoryPresetItem>& items, const juce::String& displayName)
{
    const auto it = std::find_if(items.begin(), items.end(),
                                 [&](const FactoryPresetItem& item) { return item.displayName == displayName; });
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}
} // namespace

TEST(FactoryPresetCatalogue, EveryRowNamesItsEmbeddedDocumentAfterItsDisplayName)
{
    for (const auto& row : Quillmore::kFactoryPresetCatalogue)
    {
        SCOPED_TRACE(row.displayName);
        const auto expected = juce::String(row.displayName).replace(" ", "_").removeCharacters("-") + "_xml";
        EXPECT_EQ(juce::String(row.resourceName), expected);
        EXPECT_TRUE(Quillmore::hasFactoryPresetData(row.resourceName));
    }
    EXPECT_STREQ(Quillmore::kFactoryPresetCatalogue.front().category, "Pinned");
}

TEST(FactoryPresetCatalogue, CollectsTheRegularPresetsByCategoryThenNameIgnoringCase)
{
    const auto items = Quillmore::collectFactoryPresets();
    ASSERT_EQ(items.size(), 78u);
    EXPECT_EQ(items.front().displayName, "A Little Dirt Wont Hurt");
    EXPECT_EQ(items.front().category, Quillmore::headsCategory);
    EXPECT_EQ(items.back().displayName, "Wowie");
    EXPECT_EQ(items.back().category, Quillmore::miscFxCategory);
    EXPECT_LT(indexOf(items, "Dark n Dubby"), indexOf(items, "Dark Sparks"));
    EXPECT_EQ(indexOf(items, "Clean Default"), -1);

    EXPECT_TRUE(std::is_sorted(items.begin(), items.end(), Quillmore::compareFactoryPresetItems));
    std::map<int, int> perCategory;
    for (const auto& item : items)
        ++perCategory[item.category];
    EXPECT_EQ(perCategory, (std::map<int, int> { { Quillmore::headsCategory, 25 },
                                                 { Quillmore::spacesCategory, 11 },
                                                 { Quillmore::quillmoresCategory, 35 },
                                                 { Quillmore::miscFxCategory, 7 } }));
}

TEST(FactoryPresetCatalogue, BuiltListIsThePinnedPresetThenTheCollectedOnes)
{
    const auto list = Quillmore::buildFactoryPresetList();
    const auto collected = Quillmore::collectFactoryPresets();
    ASSERT_EQ(list.size(), 79u);
    EXPECT_EQ(list[0].category, Quillmore::pinnedCategory);
    EXPECT_EQ(list[0].displayName, "Clean Default");
    EXPECT_EQ(list[0].resourceName, "Clean_Default_xml");
    for (std::size_t i = 0; i < collected.size(); ++i)
        EXPECT_EQ(list[i + 1].resourceName, collected[i].resourceName) << i;
}

TEST(FactoryPresetCatalogue, LeavesOutPinnedRowsAndRowsWithoutDocumentOrKnownCategory)
{
    const FactoryPresetCatalogueRow rows[] = {
        { "Wowie_xml", " misc ", "Wowie" },
        { "No_Such_Preset_xml", "Heads", "No Such Preset" },
        { "Dub_Snare_xml", "Drums", "Dub Snare" },
        { "CLEAN_DEFAULT_XML", "Heads", "Shouting Default" },
        { "Clean_Getaways_xml", "Pinned", "Clean Getaways" },
        { "Dark_Sparks_xml", "quillmores", "Dark Sparks" },
        { "Dark_n_Dubby_xml", "Quillmores", "Dark n Dubby" },
    };
    const auto items = Quillmore::collectFactoryPresets(rows, std::size(rows));
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].displayName, "Dark n Dubby");
    EXPECT_EQ(items[1].displayName, "Dark Sparks");
    EXPECT_EQ(items[1].category, Quillmore::quillmoresCategory);
    EXPECT_EQ(items[2].displayName, "Wowie");
    EXPECT_EQ(items[2].category, Quillmore::miscFxCategory);
    EXPECT_EQ(items[2].resourceName, "Wowie_xml");
}

TEST(PresetCategory, MapsCategoryTextsToIndicesAndIndicesToNames)
{
    const std::pair<const char*, int> texts[] = {
        { "Pinned", 0 },     { "heads", 1 },      { " Spaces\t", 2 }, { "QUILLMORES", 3 }, { "Misc FX", 4 },
        { "MiscFX", 4 },     { "  misc  ", 4 },   { "Misc  FX", 5 },  { "Unknown", 5 },    { "", 5 },
        { "Head", 5 },
    };
    for (const auto& [text, category] : texts)
        EXPECT_EQ(Quillmore::presetCategoryFromName(text), category) << '"' << text << '"';

    const std::pair<int, const char*> names[] = {
        { 0, "Pinned" }, { 1, "Heads" }, { 2, "Spaces" }, { 3, "Quillmores" }, { 4, "Misc FX" },
        { 5, "Unknown" }, { 7, "Unknown" }, { -1, "Unknown" },
    };
    for (const auto& [index, name] : names)
        EXPECT_EQ(Quillmore::presetCategoryName(index), name) << index;

    for (int index = 0; index <= 5; ++index)
        EXPECT_EQ(Quillmore::presetCategoryFromName(Quillmore::presetCategoryName(index)), index);
}
