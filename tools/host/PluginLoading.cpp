#include "tools/host/PluginLoading.h"

#include "tools/host/HostError.h"

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

    // A plug-in announces what preparing changed (its latency among them) through the message loop, as
    // a host's running event loop would pass it on; its notices are queued by now.
    juce::MessageManager::getInstance()->runDispatchLoopUntil(20);
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
