#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

namespace Quillmore
{
// The 48 host parameters in their fixed order. The version hints 1..48 and the ID texts are what
// hosts key automation and saved sessions on: never renumber or rename them. Each call builds new
// parameter objects.
juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout();
} // namespace Quillmore
