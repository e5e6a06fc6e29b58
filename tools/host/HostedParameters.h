#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <map>
#include <vector>

namespace Quillmore::Host
{
struct ParameterRow
{
    int index = 0;
    juce::String id;     // the ID text where known, else the VST3 number
    juce::String name;
    float normalised = 0.0f;
    juce::String text;   // the plug-in's own text for the value
};

// Every parameter of the hosted plug-in, with ID texts taken from knownIds (VST3 number -> ID text).
std::vector<ParameterRow> describeParameters(juce::AudioPluginInstance& instance,
                                             const std::map<juce::uint32, juce::String>& knownIds);

// The parameter named by key: an ID text (mapped the way JUCE's VST3 client numbers parameters), a
// VST3 parameter number, or a parameter name. Throws HostError if none matches.
juce::AudioProcessorParameter& findParameter(juce::AudioPluginInstance& instance, const juce::String& key);

// Sets the value from a text that the plug-in parses itself ("500 ms", "On"), when it reads the text
// as asked (normalisedValueForText); throws InputError otherwise, leaving the value as it was.
void setParameterFromText(juce::AudioProcessorParameter& parameter, const juce::String& text);

// Sets a normalised value; throws HostError outside 0 ... 1.
void setParameterNormalised(juce::AudioProcessorParameter& parameter, float normalised);

// Hands pending parameter changes to the plug-in's processor with an empty process call, so that its
// state reflects them without rendering audio. The instance must be prepared.
void flushParameterChanges(juce::AudioPluginInstance& instance);
} // namespace Quillmore::Host
