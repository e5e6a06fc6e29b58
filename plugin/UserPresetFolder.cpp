#include "plugin/UserPresetFolder.h"

#include "plugin/UserApplicationDataFolder.h"

namespace Quillmore
{
juce::File getUserPresetFolder()
{
    return getUserApplicationDataFolder().getChildFile("ZarnPeloq").getChildFile("Quillmore").getChildFile("User Presets");
}
} // namespace Quillmore
