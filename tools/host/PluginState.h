#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

namespace Quillmore::Host
{
// The hosted VST3 plug-in's own state: the bytes its component writes, which is what a VST3 host keeps
// in a project. Call on the message thread.
juce::MemoryBlock getPluginState(juce::AudioPluginInstance& instance);
void setPluginState(juce::AudioPluginInstance& instance, const juce::MemoryBlock& state);

// The same through files; throw HostError when a file cannot be read or written.
void savePluginState(juce::AudioPluginInstance& instance, const juce::File& file);
void loadPluginState(juce::AudioPluginInstance& instance, const juce::File& file);
} // namespace Quillmore::Host
