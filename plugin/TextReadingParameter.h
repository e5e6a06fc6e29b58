#pragma once

#include "plugin/ParameterTextParsers.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <functional>
#include <utility>

namespace Quillmore
{
// A float parameter that reads typed text through a reader of its own and stays where it is when
// the reader cannot read the text. The framework's text-to-value function must return some value,
// so an unreadable text would move the parameter (to 0, as the framework reads it); hosts ask for
// the value of a text (VST3's getParamValueByString) and then set it, so the value to give for one
// is the current one.
class TextReadingParameter final : public juce::AudioParameterFloat
{
public:
    using Reader = std::function<TextReading(const juce::String&)>;

    TextReadingParameter(const juce::ParameterID& id, const juce::String& name, const juce::NormalisableRange<float>& range,
                         float defaultValue, const juce::AudioParameterFloatAttributes& attributes, Reader textReader)
        : juce::AudioParameterFloat(id, name, range, defaultValue, attributes), reader(std::move(textReader))
    {
    }

    float getValueForText(const juce::String& text) const override
    {
        if (const auto value = reader(text))
            return convertTo0to1(*value);
        return convertTo0to1(get()); // getValue(), which the framework makes private here
    }

private:
    const Reader reader;
};
} // namespace Quillmore
