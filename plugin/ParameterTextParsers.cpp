#include "plugin/ParameterTextParsers.h"

#include "plugin/ParameterValueTexts.h"

#include <cmath>

namespace Quillmore
{
namespace
{
// "1.50 s" -> 1.5 and "s"; the unit is lower case with outer blanks removed.
struct NumberAndUnit
{
    float number;
    juce::String unit;
};

NumberAndUnit splitNumberAndUnit(const juce::String& text)
{
    const auto trimmed = text.trim();
    return { plainNumberTextToValue(trimmed),
             trimmed.trimCharactersAtStart("+-0123456789.").trim().toLowerCase() };
}

float scaledByUnitPrefix(const juce::String& text, const char* thousandsPrefix)
{
    const auto [value, unit] = splitNumberAndUnit(text);
    return unit.startsWith(thousandsPrefix) ? value * 1000.0f : value;
}
} // namespace

float plainNumberTextToValue(const juce::String& text)
{
    const double value = text.getDoubleValue();
    return std::isnan(value) ? 0.0f : static_cast<float>(value);
}

float decibelTextToValue(const juce::String& text)
{
    auto number = text.trim();
    if (number.contains("dB"))
        number = number.upToFirstOccurrenceOf("dB", false, false);
    return plainNumberTextToValue(number.trimEnd());
}

float gainTextToValue(const juce::String& text)
{
    const auto [value, unit] = splitNumberAndUnit(text);
    if (unit.startsWith("%"))
        return value;
    return 100.0f * std::pow(10.0f, value / 20.0f); // "-inf dB" reads as -inf and gives 0
}

float frequencyTextToValue(const juce::String& text)
{
    return scaledByUnitPrefix(text, "k");
}

float timeTextToValue(const juce::String& text)
{
    return scaledByUnitPrefix(text, "s");
}

float gateTimeTextToValue(const juce::String& text)
{
    if (text.containsIgnoreCase("inf"))
        return gateDisabledTimeMs;
    return timeTextToValue(text);
}

float springBlendTextToValue(const juce::String& text)
{
    // The B share is the parameter's value; "A / B" texts carry it after the slash.
    if (text.contains("/"))
        return plainNumberTextToValue(text.fromLastOccurrenceOf("/", false, false));
    const auto [value, unit] = splitNumberAndUnit(text);
    return unit.endsWith("a") ? 100.0f - value : value;
}

float stereoOffsetTextToValue(const juce::String& text)
{
    return plainNumberTextToValue(text) / 75.0f;
}

float steppedTextToValue(const juce::String& text, juce::String (*valueText)(float), int first, int last)
{
    const auto typed = text.trim();
    for (int step = first; step <= last; ++step)
        if (valueText(static_cast<float>(step)).trim().equalsIgnoreCase(typed))
            return static_cast<float>(step);
    return plainNumberTextToValue(typed);
}
} // namespace Quillmore
