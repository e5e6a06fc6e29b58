#include "plugin/PresetCategory.h"

namespace Quillmore
{
int presetCategoryFromName(const juce::String& text)
{
    const auto name = text.trim();
    if (name.equalsIgnoreCase("Pinned"))
        return pinnedCategory;
    if (name.equalsIgnoreCase("Heads"))
        return headsCategory;
    if (name.equalsIgnoreCase("Spaces"))
        return spacesCategory;
    if (name.equalsIgnoreCase("Quillmores"))
        return quillmoresCategory;
    if (name.equalsIgnoreCase("Misc FX") || name.equalsIgnoreCase("MiscFX") || name.equalsIgnoreCase("Misc"))
        return miscFxCategory;
    return unknownCategory;
}

juce::String presetCategoryName(int index)
{
    switch (index)
    {
        case pinnedCategory: return "Pinned";
        case headsCategory: return "Heads";
        case spacesCategory: return "Spaces";
        case quillmoresCategory: return "Quillmores";
        case miscFxCategory: return "Misc FX";
        default: return "Unknown";
    }
}
} // namespace Quillmore
