#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>
#include <optional>

namespace Quillmore::Host
{
struct HostedPlugin
{
    juce::PluginDescription description;
    std::unique_ptr<juce::AudioPluginInstance> instance;
};

// The plug-in classes that a VST3 bundle offers; throws HostError if the path holds no loadable bundle.
juce::OwnedArray<juce::PluginDescription> findPluginTypes(const juce::File& bundle);

// Creates the bundle's first class with the given number of input channels and, where given, output
// channels (1 or 2 each; else the output stays as the plug-in declares it) and prepares it for
// offline rendering. Call on the message thread.
HostedPlugin loadPlugin(const juce::File& bundle, double sampleRate, int maximumBlockSize, int inputChannels = 2,
                        std::optional<int> outputChannels = std::nullopt);

// Prepares the instance again, for another rate or block size.
void preparePlugin(juce::AudioPluginInstance& instance, double sampleRate, int maximumBlockSize);

// The VST3 component behind a hosted VST3 plug-in, for interfaces that JUCE's host does not use;
// null for a plug-in of another format.
Steinberg::Vst::IComponent* vst3ComponentOf(juce::AudioPluginInstance& instance);
} // namespace Quillmore::Host
