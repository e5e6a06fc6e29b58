#pragma once

#include "plugin/TypedText.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>

namespace Quillmore
{
// An on/off parameter that holds the value it acts on. The framework's bool parameter keeps whatever
// normalised value a host hands it (0.4, say) while the parameter state acts on it, and saves it, as
// Off: the value a host reads back would differ from the one it set after a state round trip. This
// one snaps the value on the way in, as the stepped switches do. The framework's also reads any text
// that is not one of its words as off; this one reads the switch words and stays as it is otherwise.
class SwitchParameter final : public juce::AudioParameterBool
{
public:
    SwitchParameter(const juce::ParameterID& id, const juce::String& name, bool defaultValue,
                    const juce::AudioParameterBoolAttributes& attributes)
        : juce::AudioParameterBool(id, name, defaultValue, attributes), snapped(defaultValue ? 1.0f : 0.0f)
    {
    }

    float getValue() const override { return snapped.load(); }
    // Half and above (and nothing else, not a NaN) is on.
    void setValue(float newValue) override { snapped.store(newValue >= 0.5f ? 1.0f : 0.0f); }

    float getValueForText(const juce::String& text) const override
    {
        if (const auto on = switchWordValue(text))
            return *on ? 1.0f : 0.0f;
        return getValue();
    }

private:
    std::atomic<float> snapped;
};
} // namespace Quillmore
