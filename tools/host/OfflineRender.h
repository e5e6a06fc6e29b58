#pragma once

#include "tools/host/BlockSizes.h"

#include <juce_audio_processors/juce_audio_processors.h>

namespace Quillmore::Host
{
// Runs the input through the prepared plug-in block by block, as a host's audio thread would, and
// returns as many samples of the plug-in's output channels. The input has as many channels as the
// plug-in's input bus; blocks never exceed the size the instance was prepared with.
juce::AudioBuffer<float> renderThrough(juce::AudioPluginInstance& instance, const juce::AudioBuffer<float>& input,
                                       BlockSizes& blockSizes);

// The input followed by the given seconds of silence, for effects whose output outlasts their input.
juce::AudioBuffer<float> withSilenceAppended(const juce::AudioBuffer<float>& input, double seconds, double sampleRate);
} // namespace Quillmore::Host
