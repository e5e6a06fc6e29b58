#include "tools/host/PluginState.h"

#include "tools/host/HostError.h"

namespace Quillmore::Host
{
namespace
{
// JUCE's VST3 host wraps the component's and the controller's states in an XML document, each
// base64-encoded in an element of its own.
const char* const wrapperTag = "VST3PluginState";
const char* const componentTag = "IComponent";
} // namespace

juce::MemoryBlock getPluginState(juce::AudioPluginInstance& instance)
{
    juce::MemoryBlock wrapped;
    instance.getStateInformation(wrapped);
    const auto xml = juce::AudioProcessor::getXmlFromBinary(wrapped.getData(), static_cast<int>(wrapped.getSize()));
    if (xml == nullptr || !xml->hasTagName(wrapperTag))
        throw HostError("the host did not return a VST3 state");

    juce::MemoryBlock state;
    if (const auto* component = xml->getChildByName(componentTag))
        if (!state.fromBase64Encoding(component->getAllSubText()))
            throw HostError("the plug-in's state could not be decoded");
    return state;
}

void setPluginState(juce::AudioPluginInstance& instance, const juce::MemoryBlock& state)
{
    juce::XmlElement xml(wrapperTag);
    xml.createNewChildElement(componentTag)->addTextElement(state.toBase64Encoding());
    juce::MemoryBlock wrapped;
    juce::AudioProcessor::copyXmlToBinary(xml, wrapped);
    instance.setStateInformation(wrapped.getData(), static_cast<int>(wrapped.getSize()));
}

void savePluginState(juce::AudioPluginInstance& instance, const juce::File& file)
{
    const auto state = getPluginState(instance);
    juce::FileOutputStream out(file);
    const bool written = out.openedOk() && out.setPosition(0) && out.truncate().wasOk()
                      && out.write(state.getData(), state.getSize());
    out.flush();
    if (!written || out.getStatus().failed())
        throw HostError("cannot write " + file.getFullPathName().toStdString());
}

void loadPluginState(juce::AudioPluginInstance& instance, const juce::File& file)
{
    juce::MemoryBlock state;
    if (!file.existsAsFile() || !file.loadFileAsData(state))
        throw HostError("cannot read " + file.getFullPathName().toStdString());
    setPluginState(instance, state);
}
} // namespace Quillmore::Host
