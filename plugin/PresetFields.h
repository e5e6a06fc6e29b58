#pragma once

#include <juce_core/juce_core.h>

namespace Quillmore
{
// The current preset and the preset browser's view: what the header shows, where previous/next step
// from, and the browser as the user left it. The saved state carries all of it except where the
// current preset came from (currentPresetIsFactory, currentFactoryResource, showsCurrentUserPreset).
struct PresetFields
{
    juce::String currentPresetName;
    int currentPresetIsFactory = 0;  // 1 after a factory preset load, 0 after a user preset load
    juce::String currentFactoryResource;
    // The name is that of the user preset store's current entry, so renaming or deleting that entry
    // changes it. A factory load or a restored state shows a name of its own.
    bool showsCurrentUserPreset = false;

    bool factoryOpenHeads = false;
    bool factoryOpenSpaces = false;
    bool factoryOpenQuillmores = false;
    bool factoryOpenMiscFX = false;
    bool popupHasState = false;  // the fields below hold a view to restore
    int popupLastTab = 0;        // 0 factory, 1 user
    int popupFactoryScrollY = 0;
    int popupUserScrollY = 0;
    juce::String popupSelFactoryRes;
    int popupSelUserIndex = -1;
};
} // namespace Quillmore
