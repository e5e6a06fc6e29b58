#include "tools/host/PluginLoading.h"

#include "tools/host/HostError.h"

#include <pluginterfaces/vst/ivstaudioprocessor.h>

#include <limits>

namespace Quillmore::Host
{
namespace
{
juce::AudioChannelSet channelSetFor(int channels)
{
    if (channels == 1)
        return juce::AudioChannelSet::mono();
    if (channels == 2)
        return juce::AudioChannelSet::stereo();
    throw HostError("only mono and stereo buses are supported, not " + std::to_string(channels) + " channels");
}

void useChannels(juce::AudioPluginInstance& instance, int inputChannels, std::optional<int> outputChannels)
{
    if (instance.getBusCount(true) == 0)
        throw HostError("the plug-in has no audio input");
    if (outputChannels && instance.getBusCount(false) == 0)
        throw HostError("the plug-in has no audio output");

    auto layout = instance.getBusesLayout();
    layout.inputBuses.getReference(0) = channelSetFor(inputChannels);
    if (outputChannels)
        layout.outputBuses.getReference(0) = channelSetFor(*outputChannels);
    if (!instance.setBusesLayout(layout))
        throw HostError("the plug-in does not accept " + std::to_string(inputChannels) + " input channel(s) with "
                        + std::to_string(layout.getMainOutputChannels()) + " output channel(s)");
}
} // namespace

juce::OwnedArray<juce::PluginDescription> findPluginTypes(const juce::File& bundle)
{
    if (!bundle.exists())
        throw HostError("no such file: " + bundle.getFullPathName().toStdString());

    juce::VST3PluginFormat format;
    juce::OwnedArray<juce::PluginDescription> types;
    format.findAllTypesForFile(types, bundle.getFullPathName());
    if (types.isEmpty())
        throw HostError("no VST3 plug-in could be loaded from " + bundle.getFullPathName().toStdString());
    return types;
}

HostedPlugin loadPlugin(const juce::File& bundle, double sampleRate, int maximumBlockSize, int inputChannels,
                        std::optional<int> outputChannels)
{
    const auto types = findPluginTypes(bundle);

    juce::VST3PluginFormat format;
    juce::String error;
    HostedPlugin plugin { *types.getFirst(), format.createInstanceFromDescription(*types.getFirst(), sampleRate,
                                                                                  maximumBlockSize, error) };
    if (plugin.instance == nullptr)
        throw HostError("cannot create " + plugin.description.name.toStdString() + ": " + error.toStdString());

    useChannels(*plugin.instance, inputChannels, outputChannels);
    preparePlugin(*plugin.instance, sampleRate, maximumBlockSize);
    return plugin;
}

void preparePlugin(juce::AudioPluginInstance& instance, double sampleRate, int maximumBlockSize)
{
    if (sampleRate <= 0.0 || maximumBlockSize <= 0)
        throw HostError("the sample rate and the block size must be positive");

    instance.releaseResources();
    instance.setNonRealtime(true);
    instance.setRateAndBufferSizeDetails(sampleRate, maximumBlockSize);
    instance.prepareToPlay(sampleRate, maximumBlockSize);
    // Nothing waits here for what the plug-in announces from its own thread about this (its latency):
    // it comes through the message loop whenever it comes, and latencySamplesOf asks the plug-in.
}

int latencySamplesOf(juce::AudioPluginInstance& instance)
{
    auto* component = vst3ComponentOf(instance);
    void* processor = nullptr;
    if (component == nullptr || component->queryInterface(Steinberg::Vst::IAudioProcessor::iid, &processor) != Steinberg::kResultOk
        || processor == nullptr)
        return juce::jmax(0, instance.getLatencySamples());

    auto* audioProcessor = static_cast<Steinberg::Vst::IAudioProcessor*>(processor);
    const auto latency = audioProcessor->getLatencySamples();
    audioProcessor->release();
    return static_cast<int>(juce::jmin<Steinberg::uint32>(latency, std::numeric_limits<int>::max()));
}

Steinberg::Vst::IComponent* vst3ComponentOf(juce::AudioPluginInstance& instance)
{
    struct ComponentVisitor : juce::ExtensionsVisitor
    {
        void visitVST3Client(const VST3Client& client) override { component = client.getIComponentPtr(); }
        Steinberg::Vst::IComponent* component = nullptr;
    } visitor;
    instance.getExtensions(visitor);
    return visitor.component;
}
} // namespace Quillmore::Host
