#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

namespace Quillmore
{
// Puts a preset into the parameter state: a copy of the preset, stripped of unknown parameters,
// replaces the state under its lock. Each parameter that the preset names takes the preset's value,
// or its default where the preset gives none; every other parameter keeps its value.
void applyPresetTree(juce::AudioProcessorValueTreeState& parameters, const juce::ValueTree& preset);
} // namespace Quillmore
