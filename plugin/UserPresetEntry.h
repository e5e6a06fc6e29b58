#pragma once

#include <juce_data_structures/juce_data_structures.h>

// One of the user's presets as the store keeps it.
struct UserPresetEntry
{
    juce::String name;     // shown to the user
    juce::ValueTree state; // "Parameters" with "PARAM" children
    juce::File file;       // may name a file that no longer exists
};
