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

// The latency the plug-in reports now, asked of the plug-in itself; at most the largest int. Use it
// instead of the instance's getLatencySamples(): JUCE's host reads a VST3 plug-in's latency before it
// activates the plug-in, and the plug-in announces the value that preparing gave it from its own
// thread, so the host's copy changes only when that notice has come through the message loop.
int latencySamplesOf(juce::AudioPluginInstance& instance);

// The VST3 component behind a hosted VST3 plug-in, for interfaces that JUCE's host does not use;
// null for a plug-in of another format.
Steinberg::Vst::IComponent* vst3ComponentOf(juce::AudioPluginInstance& instance);
} // namespace Quillmore::Host
