#pragma once

#include <juce_core/juce_core.h>

namespace Quillmore
{
// Where the user's presets live: "ZarnPeloq/Quillmore/User Presets" inside the user's
// application-data folder. Asking does not create the folder.
juce::File getUserPresetFolder();
} // namespace Quillmore
