#pragma once

#include <juce_core/juce_core.h>

namespace Quillmore
{
// The preset name as a file name: each of \ / : * ? " < > | becomes "_"; nothing else changes.
juce::String sanitiseFileName(const juce::String& name);

// The file that a preset called name takes in folder: the sanitised name with ".xml".
juce::File presetFileFor(const juce::File& folder, const juce::String& name);

// The first of N.xml, N(2).xml, N(3).xml ... in folder that does not exist yet, N being the sanitised
// name; a name that already ends in a bracketed number counts on from it.
juce::File firstFreePresetFile(const juce::File& folder, const juce::String& name);
} // namespace Quillmore
