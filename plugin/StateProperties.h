#pragma once

#include "plugin/PresetFields.h"

#include <juce_data_structures/juce_data_structures.h>

namespace Quillmore
{
// The thirteen properties that the saved state carries on its root beside the parameters: the
// current preset's name and modified flag, the editor's page and the preset browser's view.
struct StateProperties
{
    PresetFields fields;
    bool presetDirty = false;
    int activePanel = 0;
};

// Sets all thirteen on the root, in their fixed order; a key the root already has keeps its place.
void writeStateProperties(juce::ValueTree& root, const StateProperties& properties);

// Takes the thirteen from a restored root into properties. A missing key takes its default ("Init"
// for the name, -1 for the selected user row, false or 0 otherwise); the four open-category flags are
// read only when "popupHasState" is true and otherwise stay as they are. Numbers are kept in their
// ranges: the page and the tab are 0 or 1, scroll positions not negative, the user row -1 or more.
// The name no longer follows the user preset store.
void readStateProperties(const juce::ValueTree& root, StateProperties& properties);
} // namespace Quillmore
