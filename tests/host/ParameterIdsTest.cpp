#include "tools/host/ParameterIds.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <gtest/gtest.h>

using namespace Quillmore::Host;

namespace
{
// A parameter state of the shape the framework's parameter tree writes.
juce::ValueTree parameterState()
{
    juce::ValueTree state("Parameters");
    for (const auto* id : { "EchoTime", "SpringMix", "hostTempo" })
        state.appendChild(juce::ValueTree("PARAM").setProperty("id", id, nullptr).setProperty("value", 0.5, nullptr), nullptr);
    state.setProperty("presetName", "Clean Default", nullptr);
    return state;
}

void expectAllThreeIds(const std::map<juce::uint32, juce::String>& found)
{
    ASSERT_EQ(found.size(), 3u);
    for (const auto* id : { "EchoTime", "SpringMix", "hostTempo" })
    {
        const auto entry = found.find(vst3ParameterIdFor(id));
        ASSERT_NE(entry, found.end()) << id;
        EXPECT_EQ(entry->second, id);
    }
}
} // namespace

TEST(ParameterIds, FoundInBinaryAndXmlStates)
{
    juce::MemoryOutputStream binary;
    parameterState().writeToStream(binary);
    expectAllThreeIds(parameterIdTextsInState(binary.getMemoryBlock()));

    juce::MemoryBlock xml;
    juce::AudioProcessor::copyXmlToBinary(*parameterState().createXml(), xml);
    expectAllThreeIds(parameterIdTextsInState(xml));
}

TEST(ParameterIds, NoneInStatesOfAnotherKind)
{
    EXPECT_TRUE(parameterIdTextsInState({}).empty());
    const char noise[] = "\x00\x00\x00\x00\x00\x00\x00\x00JUCEPrivateData";
    EXPECT_TRUE(parameterIdTextsInState(juce::MemoryBlock(noise, sizeof(noise))).empty());
}
