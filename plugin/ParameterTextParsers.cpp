#include "plugin/ParameterTextParsers.h"

#include "plugin/ParameterValueTexts.h"
#include "plugin/TypedText.h"

#include <cmath>
#include <initializer_list>
#include <limits>
#include <utility>

namespace Quillmore
{
namespace
{
juce::String withoutBlanks(const juce::String& text)
{
    return wordsOf(text).joinIntoString({});
}

// A finite double as a float; one beyond float's range gives float's largest of the same sign, which
// the range then clamps.
float toFloat(double value)
{
    constexpr double largest = std::numeric_limits<float>::max();
    return static_cast<float>(juce::jlimit(-largest, largest, value));
}

// "1.50 s" -> 1.5 and "s": the unit in lower case without blanks.
struct NumberAndUnit
{
    double number;
    juce::String unit;
};

std::optional<NumberAndUnit> splitNumberAndUnit(const juce::String& text)
{
    const auto trimmed = text.trim().toStdString();
    const auto number = numberAtStart(trimmed);
    if (!number)
        return std::nullopt;
    return NumberAndUnit { number->value, withoutBlanks(juce::String(trimmed.substr(number->end))).toLowerCase() };
}

// The number times the factor of its unit; no value for a unit not in the list ("" is a bare number).
TextReading inUnits(const juce::String& text, std::initializer_list<std::pair<const char*, double>> units)
{
    if (const auto reading = splitNumberAndUnit(text))
        for (const auto& [unit, factor] : units)
            if (reading->unit == unit)
                return toFloat(reading->number * factor);
    return std::nullopt;
}
} // namespace

TextReading plainNumberTextToValue(const juce::String& text)
{
    return inUnits(text, { { "", 1.0 } });
}

TextReading percentTextToValue(const juce::String& text)
{
    return inUnits(text, { { "", 1.0 }, { "%", 1.0 } });
}

TextReading decibelTextToValue(const juce::String& text)
{
    return inUnits(text, { { "", 1.0 }, { "db", 1.0 } });
}

TextReading gainTextToValue(const juce::String& text)
{
    const auto typed = withoutBlanks(text).toLowerCase();
    if (typed == "-inf" || typed == "-infdb")
        return 0.0f;
    if (const auto percent = inUnits(text, { { "%", 1.0 } }))
        return percent;
    if (const auto decibels = decibelTextToValue(text))
        return toFloat(100.0 * std::pow(10.0, static_cast<double>(*decibels) / 20.0));
    return std::nullopt;
}

TextReading frequencyTextToValue(const juce::String& text)
{
    return inUnits(text, { { "", 1.0 }, { "hz", 1.0 }, { "k", 1000.0 }, { "khz", 1000.0 } });
}

TextReading timeTextToValue(const juce::String& text)
{
    return inUnits(text, { { "", 1.0 }, { "ms", 1.0 }, { "s", 1000.0 } });
}

TextReading gateTimeTextToValue(const juce::String& text)
{
    const auto typed = comparableText(text);
    if (typed == "inf" || typed == comparableText(gateTimeValueText(gateDisabledTimeMs)))
        return gateDisabledTimeMs;
    return timeTextToValue(text);
}

TextReading springBlendTextToValue(const juce::String& text)
{
    // The B share is the parameter's value. Of "A / B", the part after the slash gives it; a part
    // without a letter is A's share before a slash and B's otherwise.
    const auto parts = juce::StringArray::fromTokens(text, "/", {});
    if (parts.size() < 1 || parts.size() > 2)
        return std::nullopt;
    TextReading share;
    for (int i = 0; i < parts.size(); ++i)
    {
        const auto reading = splitNumberAndUnit(parts[i]);
        if (!reading)
            return std::nullopt;
        const auto& unit = reading->unit;
        const bool a = unit == "a" || unit == "%a" || ((unit.isEmpty() || unit == "%") && i == 0 && parts.size() == 2);
        if (!a && unit != "b" && unit != "%b" && unit.isNotEmpty() && unit != "%")
            return std::nullopt;
        share = toFloat(a ? 100.0 - reading->number : reading->number);
    }
    return share;
}

TextReading stereoOffsetTextToValue(const juce::String& text)
{
    return inUnits(text, { { "", 1.0 / 75.0 }, { "%", 1.0 / 75.0 } });
}

TextReading steppedTextToValue(const juce::String& text, juce::String (*valueText)(float), int first, int last)
{
    const auto typed = comparableText(text);
    if (valueText != nullptr)
        for (int step = first; step <= last; ++step)
            if (comparableText(valueText(static_cast<float>(step))) == typed)
                return static_cast<float>(step);
    if (last - first == 1)
        if (const auto on = switchWordValue(text))
            return static_cast<float>(*on ? last : first);
    return plainNumberTextToValue(text);
}
} // namespace Quillmore
