#pragma once

#include <juce_core/juce_core.h>

#include <array>
#include <cstddef>
#include <vector>

namespace Quillmore
{
// One entry of a preset list as the browser and the previous/next buttons see it.
struct FactoryPresetItem
{
    int category = 0; // a PresetCategory
    juce::String displayName;
    juce::String resourceName;
};

struct FactoryPresetCatalogueRow
{
    const char* resourceName;
    const char* category; // category text, read by presetCategoryFromName
    const char* displayName;
};

// Every factory preset: the pinned one first, then Quillmores, Heads, MiscFX and Spaces.
inline constexpr std::array<FactoryPresetCatalogueRow, 79> kFactoryPresetCatalogue {
    FactoryPresetCatalogueRow { "Clean_Default_xml", "Pinned", "Clean Default" },
    FactoryPresetCatalogueRow { "Ancient_Record_xml", "Quillmores", "Ancient Record" },
    FactoryPresetCatalogueRow { "Big_Bend_xml", "Quillmores", "Big Bend" },
    FactoryPresetCatalogueRow { "BoingBoing_xml", "Quillmores", "BoingBoing" },
    FactoryPresetCatalogueRow { "Burnt_Ends_xml", "Quillmores", "Burnt Ends" },
    FactoryPresetCatalogueRow { "Clean_Getaways_xml", "Quillmores", "Clean Getaways" },
    FactoryPresetCatalogueRow { "Dark_n_Dubby_xml", "Quillmores", "Dark n Dubby" },
    FactoryPresetCatalogueRow { "Dark_Sparks_xml", "Quillmores", "Dark Sparks" },
    FactoryPresetCatalogueRow { "Dawn_of_Time_xml", "Quillmores", "Dawn of Time" },
    FactoryPresetCatalogueRow { "Dotted_Dub_Delay_xml", "Quillmores", "Dotted Dub Delay" },
    FactoryPresetCatalogueRow { "Drunk_On_the_Bathroom_Floor_xml", "Quillmores", "Drunk On the Bathroom Floor" },
    FactoryPresetCatalogueRow { "Dub_Snare_xml", "Quillmores", "Dub Snare" },
    FactoryPresetCatalogueRow { "Eternal_Sunshine_xml", "Quillmores", "Eternal Sunshine" },
    FactoryPresetCatalogueRow { "Flutterer_xml", "Quillmores", "Flutterer" },
    FactoryPresetCatalogueRow { "Forever_Ago_xml", "Quillmores", "Forever Ago" },
    FactoryPresetCatalogueRow { "Full_Send_xml", "Quillmores", "Full Send" },
    FactoryPresetCatalogueRow { "Ghost_Stories_xml", "Quillmores", "Ghost Stories" },
    FactoryPresetCatalogueRow { "Half_Insane_xml", "Quillmores", "Half Insane" },
    FactoryPresetCatalogueRow { "Heisenberg_Principle_xml", "Quillmores", "Heisenberg Principle" },
    FactoryPresetCatalogueRow { "Just_Keep_Swimming_xml", "Quillmores", "Just Keep Swimming" },
    FactoryPresetCatalogueRow { "Little_Dripper_xml", "Quillmores", "Little Dripper" },
    FactoryPresetCatalogueRow { "ModRing_xml", "Quillmores", "ModRing" },
    FactoryPresetCatalogueRow { "Near_and_Far_xml", "Quillmores", "Near and Far" },
    FactoryPresetCatalogueRow { "Neither_Here_Nor_There_xml", "Quillmores", "Neither Here Nor There" },
    FactoryPresetCatalogueRow { "Ping_and_Pong_xml", "Quillmores", "Ping and Pong" },
    FactoryPresetCatalogueRow { "Quarter_Noter_with_Cheese_xml", "Quillmores", "Quarter Noter with Cheese" },
    FactoryPresetCatalogueRow { "Roomy_xml", "Quillmores", "Roomy" },
    FactoryPresetCatalogueRow { "Slappy_Joes_xml", "Quillmores", "Slappy Joes" },
    FactoryPresetCatalogueRow { "Small_Can_of_Spring_Snakes_xml", "Quillmores", "Small Can of Spring Snakes" },
    FactoryPresetCatalogueRow { "Springtime_xml", "Quillmores", "Springtime" },
    FactoryPresetCatalogueRow { "Surfers_Drip_xml", "Quillmores", "Surfers Drip" },
    FactoryPresetCatalogueRow { "Tinnitus_xml", "Quillmores", "Tinnitus" },
    FactoryPresetCatalogueRow { "Tubby_Tele_xml", "Quillmores", "Tubby Tele" },
    FactoryPresetCatalogueRow { "Uncorrelated_xml", "Quillmores", "Uncorrelated" },
    FactoryPresetCatalogueRow { "Unsettled_xml", "Quillmores", "Unsettled" },
    FactoryPresetCatalogueRow { "Well_Spring_xml", "Quillmores", "Well Spring" },
    FactoryPresetCatalogueRow { "A_Little_Dirt_Wont_Hurt_xml", "Heads", "A Little Dirt Wont Hurt" },
    FactoryPresetCatalogueRow { "A_Little_Is_a_Lot_xml", "Heads", "A Little Is a Lot" },
    FactoryPresetCatalogueRow { "A_Lot_Is_a_Little_xml", "Heads", "A Lot Is a Little" },
    FactoryPresetCatalogueRow { "Attic_Treasure_xml", "Heads", "Attic Treasure" },
    FactoryPresetCatalogueRow { "Bargain_BinTape_xml", "Heads", "Bargain Bin-Tape" },
    FactoryPresetCatalogueRow { "Drunken_Master_xml", "Heads", "Drunken Master" },
    FactoryPresetCatalogueRow { "Dusty_Roads_xml", "Heads", "Dusty Roads" },
    FactoryPresetCatalogueRow { "Fuct_Tape_xml", "Heads", "Fuct Tape" },
    FactoryPresetCatalogueRow { "Gentle_Master_xml", "Heads", "Gentle Master" },
    FactoryPresetCatalogueRow { "HiFi_Chrome_xml", "Heads", "HiFi Chrome" },
    FactoryPresetCatalogueRow { "Hit_It_Hard_xml", "Heads", "Hit It Hard" },
    FactoryPresetCatalogueRow { "Ice_Cream_Truck_xml", "Heads", "Ice Cream Truck" },
    FactoryPresetCatalogueRow { "Just_a_Blip_xml", "Heads", "Just a Blip" },
    FactoryPresetCatalogueRow { "KickFoof_xml", "Heads", "KickFoof" },
    FactoryPresetCatalogueRow { "Light_Touch_xml", "Heads", "Light Touch" },
    FactoryPresetCatalogueRow { "Master_Tape_xml", "Heads", "Master Tape" },
    FactoryPresetCatalogueRow { "Metal_Tape_xml", "Heads", "Metal Tape" },
    FactoryPresetCatalogueRow { "Normal_Biases_and_Expectations_xml", "Heads", "Normal Biases and Expectations" },
    FactoryPresetCatalogueRow { "Oldie_but_a_Goody_xml", "Heads", "Oldie but a Goody" },
    FactoryPresetCatalogueRow { "Properly_Baked_xml", "Heads", "Properly Baked" },
    FactoryPresetCatalogueRow { "Subtle_Stereo_Enhancement_xml", "Heads", "Subtle Stereo Enhancement" },
    FactoryPresetCatalogueRow { "Thickener_xml", "Heads", "Thickener" },
    FactoryPresetCatalogueRow { "Toy_Tape_xml", "Heads", "Toy Tape" },
    FactoryPresetCatalogueRow { "Voice_Memo_xml", "Heads", "Voice Memo" },
    FactoryPresetCatalogueRow { "Warped_Speed_xml", "Heads", "Warped Speed" },
    FactoryPresetCatalogueRow { "Ebowed_xml", "MiscFX", "Ebowed" },
    FactoryPresetCatalogueRow { "Just_a_Dream_xml", "MiscFX", "Just a Dream" },
    FactoryPresetCatalogueRow { "Messin_With_Time_xml", "MiscFX", "Messin With Time" },
    FactoryPresetCatalogueRow { "Metaloid_xml", "MiscFX", "Metaloid" },
    FactoryPresetCatalogueRow { "On_the_Brink_xml", "MiscFX", "On the Brink" },
    FactoryPresetCatalogueRow { "Steel_Pan_xml", "MiscFX", "Steel Pan" },
    FactoryPresetCatalogueRow { "Wowie_xml", "MiscFX", "Wowie" },
    FactoryPresetCatalogueRow { "After_All_This_Time_xml", "Spaces", "After All This Time" },
    FactoryPresetCatalogueRow { "Cheap_Springs_xml", "Spaces", "Cheap Springs" },
    FactoryPresetCatalogueRow { "Dark_Mode_xml", "Spaces", "Dark Mode" },
    FactoryPresetCatalogueRow { "Dottie_xml", "Spaces", "Dottie" },
    FactoryPresetCatalogueRow { "Expensive_Springs_xml", "Spaces", "Expensive Springs" },
    FactoryPresetCatalogueRow { "Just_the_Springs_xml", "Spaces", "Just the Springs" },
    FactoryPresetCatalogueRow { "Little_Plate_xml", "Spaces", "Little Plate" },
    FactoryPresetCatalogueRow { "More_Slap_xml", "Spaces", "More Slap" },
    FactoryPresetCatalogueRow { "Outer_Darkness_xml", "Spaces", "Outer Darkness" },
    FactoryPresetCatalogueRow { "PhaserPhile_xml", "Spaces", "PhaserPhile" },
    FactoryPresetCatalogueRow { "Solid_Metal_xml", "Spaces", "Solid Metal" },
};

inline constexpr const char* kPinnedPresetResourceName = "Clean_Default_xml";

// Browser order: by category, then by display name ignoring case.
bool compareFactoryPresetItems(const FactoryPresetItem& a, const FactoryPresetItem& b);

// The rows that have an embedded document and a known category other than the pinned one, sorted.
std::vector<FactoryPresetItem> collectFactoryPresets(const FactoryPresetCatalogueRow* rows, std::size_t count);

// collectFactoryPresets over kFactoryPresetCatalogue: the browser's factory list.
std::vector<FactoryPresetItem> collectFactoryPresets();

// The pinned preset followed by collectFactoryPresets(): the list previous/next step through.
std::vector<FactoryPresetItem> buildFactoryPresetList();
} // namespace Quillmore
