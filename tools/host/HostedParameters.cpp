#include "tools/host/HostedParameters.h"

#include "tools/host/HostError.h"
#include "tools/host/ParameterIds.h"
#include "tools/host/TypedParameterText.h"

namespace Quillmore::Host
{
namespace
{
// The VST3 number of a hosted parameter, which JUCE's host reports as its parameter ID.
juce::uint32 vst3NumberOf(const juce::AudioProcessorParameter& parameter)
{
    if (const auto* hosted = dynamic_cast<const juce::HostedAudioProcessorParameter*>(&parameter))
        return static_cast<juce::uint32>(hosted->getParameterID().getLargeIntValue());
    return static_cast<juce::uint32>(parameter.getParameterIndex());
}
} // namespace

std::vector<ParameterRow> describeParameters(juce::AudioPluginInstance& instance,
                                             const std::map<juce::uint32, juce::String>& knownIds)
{
    std::vector<ParameterRow> rows;
    for (auto* parameter : instance.getParameters())
    {
        const auto number = vst3NumberOf(*parameter);
        const auto known = knownIds.find(number);
        const float value = parameter->getValue();
        rows.push_back({ parameter->getParameterIndex(),
                         known != knownIds.end() ? known->second : juce::String(number),
                         parameter->getName(1024),
                         value,
                         parameter->getText(value, 1024) });
    }
    return rows;
}

juce::AudioProcessorParameter& findParameter(juce::AudioPluginInstance& instance, const juce::String& key)
{
    const auto& parameters = instance.getParameters();
    const auto byNumber = [&](juce::uint32 number) -> juce::AudioProcessorParameter* {
        for (auto* parameter : parameters)
            if (vst3NumberOf(*parameter) == number)
                return parameter;
        return nullptr;
    };

    if (key.containsOnly("0123456789") && key.isNotEmpty())
        if (auto* parameter = byNumber(static_cast<juce::uint32>(key.getLargeIntValue())))
            return *parameter;
    if (auto* parameter = byNumber(vst3ParameterIdFor(key)))
        return *parameter;
    for (auto* parameter : parameters)
        if (parameter->getName(1024).equalsIgnoreCase(key))
            return *parameter;
    throw HostError("the plug-in has no parameter \"" + key.toStdString() + "\"");
}

void setParameterFromText(juce::AudioProcessorParameter& parameter, const juce::String& text)
{
    setParameterNormalised(parameter, normalisedValueForText(parameter, text));
}

void setParameterNormalised(juce::AudioProcessorParameter& parameter, float normalised)
{
    if (!(normalised >= 0.0f && normalised <= 1.0f))
        throw HostError("normalised value " + std::to_string(normalised) + " for " + parameter.getName(1024).toStdString()
                        + " is not in 0 ... 1");
    parameter.setValue(normalised);
}

void flushParameterChanges(juce::AudioPluginInstance& instance)
{
    juce::AudioBuffer<float> noSamples(juce::jmax(instance.getTotalNumInputChannels(), instance.getTotalNumOutputChannels()), 0);
    juce::MidiBuffer midi;
    instance.processBlock(noSamples, midi);
}
} // namespace Quillmore::Host
