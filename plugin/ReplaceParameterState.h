#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

namespace Quillmore
{
// Replaces the parameter state with tree (which becomes the live state, and gains children):
// each parameter that a child of tree names takes the child's "value", or its default where the
// child has none; every parameter that tree does not name keeps its current value.
//
// The framework on its own leaves a parameter that the new state does not name at its value, but
// with no value in the state, so the next saved state would bring it back at its default. Such
// parameters get a child holding their current value first.
void replaceParameterState(juce::AudioProcessorValueTreeState& parameters, juce::ValueTree tree);
} // namespace Quillmore
