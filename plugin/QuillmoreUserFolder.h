#pragma once

#include <juce_core/juce_core.h>

namespace Quillmore
{
// The program's own folder for per-user files: "ZarnPeloq/Quillmore" inside the user's
// application-data folder. The user presets and the settings file live here. Asking does not create it.
juce::File getQuillmoreUserFolder();
} // namespace Quillmore
