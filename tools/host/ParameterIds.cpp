#include "tools/host/ParameterIds.h"

#include <juce_audio_processors/juce_audio_processors.h>

namespace Quillmore::Host
{
namespace
{
void collectIdTexts(const juce::ValueTree& tree, std::map<juce::uint32, juce::String>& found)
{
    static const juce::Identifier id("id");
    if (const auto* text = tree.getPropertyPointer(id); text != nullptr && text->isString())
        found.emplace(vst3ParameterIdFor(text->toString()), text->toString());
    for (const auto& child : tree)
        collectIdTexts(child, found);
}
} // namespace

juce::uint32 vst3ParameterIdFor(const juce::String& idText)
{
    return static_cast<juce::uint32>(idText.hashCode()) & 0x7fffffffu;
}

std::map<juce::uint32, juce::String> parameterIdTextsInState(const juce::MemoryBlock& pluginState)
{
    std::map<juce::uint32, juce::String> found;
    if (pluginState.isEmpty())
        return found;

    // XML written by copyXmlToBinary carries a magic number; anything else is read as a binary value tree.
    juce::ValueTree tree;
    if (auto xml = juce::AudioProcessor::getXmlFromBinary(pluginState.getData(), static_cast<int>(pluginState.getSize())))
        tree = juce::ValueTree::fromXml(*xml);
    else
        tree = juce::ValueTree::readFromData(pluginState.getData(), pluginState.getSize());
    if (tree.isValid())
        collectIdTexts(tree, found);
    return found;
}
} // namespace Quillmore::Host
