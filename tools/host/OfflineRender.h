#pragma once

#include "tools/host/BlockSizes.h"

#include <juce_audio_processors/juce_audio_processors.h>

namespace Quillmore::Host
{
// Runs a signal through the prepared plug-in block by block, as a host's audio thread would. The
// stream's samples are the input's from inputStart on and silence before and after it, so that a
// render can run silence ahead of its input and let the plug-in ring out after it, in one unbroken
// sequence of blocks. The input has as many channels as the plug-in's input bus; blocks never exceed
// the size the instance was prepared with.
class PluginStream
{
public:
    PluginStream(juce::AudioPluginInstance& instance, const juce::AudioBuffer<float>& input, juce::int64 inputStart,
                 BlockSizes& blockSizes);

    // Runs the next block, of at most limit samples, and returns the plug-in's output channels for it;
    // the buffer stays valid until the next call.
    const juce::AudioBuffer<float>& next(int limit);

    // Stream samples run so far.
    juce::int64 position() const { return done; }

private:
    juce::AudioPluginInstance& instance;
    const juce::AudioBuffer<float>& input;
    const juce::int64 inputStart;
    BlockSizes& blockSizes;
    const int inputs, outputs;
    juce::AudioBuffer<float> work;
    juce::AudioBuffer<float> block;
    juce::MidiBuffer midi;
    juce::int64 done = 0;
};

// The input through the plug-in, as many samples as the input has, with nothing before or after.
juce::AudioBuffer<float> renderThrough(juce::AudioPluginInstance& instance, const juce::AudioBuffer<float>& input,
                                       BlockSizes& blockSizes);
} // namespace Quillmore::Host
