#pragma once

#include <juce_core/juce_core.h>

namespace Quillmore
{
// Preset categories in the order the preset browser lists them.
enum PresetCategory : int
{
    pinnedCategory = 0,
    headsCategory = 1,
    spacesCategory = 2,
    quillmoresCategory = 3,
    miscFxCategory = 4,
    unknownCategory = 5,
};

// Category of a catalogue's category text, ignoring case and surrounding white space; texts that name
// no category give unknownCategory.
int presetCategoryFromName(const juce::String& text);

// Display name of a category; any index outside 0 ... 4 is "Unknown".
juce::String presetCategoryName(int index);
} // namespace Quillmore
