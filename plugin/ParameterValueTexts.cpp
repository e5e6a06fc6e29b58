#include "plugin/ParameterValueTexts.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace Quillmore
{
namespace
{
// decimals 0 gives the stream's default notation (six significant digits, no trailing zeros).
juce::String number(float value, int decimals)
{
    return juce::String(static_cast<double>(value), decimals);
}

// Keeps one-decimal texts from reading "-0.0" for values that round to zero.
float zeroBelowDisplayResolution(float value)
{
    return std::abs(value) < 0.05f ? 0.0f : value;
}

juce::String withThousandsUnit(float value, const char* unit, const char* thousandsUnit)
{
    if (value < 1000.0f)
        return number(value, 0) + unit;
    return number(value * 0.001f, 2) + thousandsUnit;
}

juce::String switchText(float value, const char* offText, const char* onText)
{
    return value == 0.0f ? offText : onText;
}
} // namespace

juce::String gainValueToText(float percentOfUnity)
{
    if (percentOfUnity <= 0.0f)
        return "-inf dB";
    const float decibels = zeroBelowDisplayResolution(20.0f * std::log10(percentOfUnity * 0.01f));
    return (decibels > 0.0f ? "+" : "") + number(decibels, 1) + " dB";
}

juce::String percentValueText(float value)
{
    const int decimals = value < 10.0f ? 2 : value < 100.0f ? 1 : 0;
    return number(value, decimals) + " %";
}

juce::String frequencyValueText(float hertz)
{
    return withThousandsUnit(hertz, " Hz", " kHz");
}

juce::String timeValueText(float milliseconds)
{
    return withThousandsUnit(milliseconds, " ms", " s");
}

juce::String gateTimeValueText(float milliseconds)
{
    if (milliseconds >= gateDisabledTimeMs)
        return "INF - Gate Disabled";
    return timeValueText(milliseconds);
}

juce::String decibelValueText(float decibels)
{
    return number(decibels, 1) + " dB";
}

juce::String springBlendValueText(float value)
{
    auto b = static_cast<std::int32_t>(std::lround(value)); // halves away from zero
    if (b <= 0)
        return "100 % A / 0 % B";
    if (b >= 100)
        return "  0 % A / 100 % B";
    return juce::String(100 - b) + " % A / " + juce::String(b) + " % B";
}

juce::String stereoOffsetValueText(float value)
{
    return number(zeroBelowDisplayResolution(value * 75.0f), 1) + " %";
}

juce::String tempoSyncValueText(float value)
{
    return switchText(value, "TEMPO SYNC OFF", "TEMPO SYNC ON");
}

juce::String syncDivisionValueText(float value)
{
    static const std::array<const char*, 16> divisions {
        "1/64",        "1/32",       "1/16 TRIPLET", "1/32 DOTTED", "1/16",        "1/8 TRIPLET",
        "1/16 DOTTED", "1/8",        "1/4 TRIPLET",  "1/8 DOTTED",  "1/4",         "1/2 TRIPLET",
        "1/4 DOTTED",  "1/2",        "1/2 DOTTED",   "WHOLE",
    };
    const int index = juce::jlimit(0, static_cast<int>(divisions.size()) - 1, static_cast<int>(std::lround(value)));
    return divisions[static_cast<size_t>(index)];
}

juce::String mixModeValueText(float value)
{
    return switchText(value, "WET/DRY MODE", "SEND/RET MODE");
}

juce::String headsSwitchValueText(float value)
{
    return switchText(value, "HEADS OFF", "HEADS ON");
}

juce::String spaceSwitchValueText(float value)
{
    return switchText(value, "SPACE OFF", "SPACE ON");
}
} // namespace Quillmore
