// The host's check of a typed text, against parameters whose parsers make the mistakes a plug-in can
// make: a switch that reads "On" as 0, a division that reads "1/16T" as its number, a percentage that
// ignores the unit, a parser that returns NaN. The tool must refuse what they misread and take what
// they read as asked.
#include "tools/host/HostError.h"
#include "tools/host/TypedParameterText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <optional>

using namespace Quillmore::Host;

namespace
{
// The framework's own reading: the number at the start of the text, 0 when there is none.
float leadingNumber(const juce::String& text)
{
    return text.getFloatValue();
}

std::unique_ptr<juce::AudioParameterFloat> makeParameter(const char* id, juce::NormalisableRange<float> range, float defaultValue,
                                                         const char* label, std::function<juce::String(float, int)> toText,
                                                         std::function<float(const juce::String&)> fromText)
{
    return std::make_unique<juce::AudioParameterFloat>(juce::ParameterID(id, 1), id, range, defaultValue,
                                                       juce::AudioParameterFloatAttributes()
                                                           .withLabel(label)
                                                           .withStringFromValueFunction(std::move(toText))
                                                           .withValueFromStringFunction(std::move(fromText)));
}

// A switch shown as two texts of its own, whose parser falls back to the leading number.
std::unique_ptr<juce::AudioParameterFloat> headsSwitch()
{
    return makeParameter(
        "HeadsOn", { 0.0f, 1.0f, 1.0f }, 1.0f, "", [](float v, int) { return juce::String(v < 0.5f ? "HEADS OFF" : "HEADS ON"); },
        [](const juce::String& text) { return text.equalsIgnoreCase("HEADS ON") ? 1.0f : leadingNumber(text); });
}

const char* const divisions[] { "1/64", "1/32", "1/16 TRIPLET", "1/32 DOTTED", "1/16", "1/8 TRIPLET", "1/16 DOTTED", "1/8",
                                "1/4 TRIPLET", "1/8 DOTTED", "1/4", "1/2 TRIPLET", "1/4 DOTTED", "1/2", "1/2 DOTTED", "WHOLE" };

std::unique_ptr<juce::AudioParameterFloat> syncDivision()
{
    return makeParameter(
        "EchoSyncDiv", { 0.0f, 15.0f, 1.0f }, 7.0f, "", [](float v, int) { return juce::String(divisions[juce::roundToInt(v)]); },
        [](const juce::String& text) {
            for (int step = 0; step < 16; ++step)
                if (text.equalsIgnoreCase(divisions[step]))
                    return static_cast<float>(step);
            return leadingNumber(text);
        });
}

// A percentage whose parser ignores the unit.
std::unique_ptr<juce::AudioParameterFloat> echoMix()
{
    return makeParameter("EchoMix", { 0.0f, 100.0f, 0.1f }, 0.0f, " %", [](float v, int) { return juce::String(v, 1) + " %"; },
                         leadingNumber);
}

// Milliseconds below a second, seconds from there; the parser reads both, and gives the value it
// stands at (250 ms) for what it cannot read.
std::unique_ptr<juce::AudioParameterFloat> echoTime()
{
    return makeParameter(
        "EchoTime", { 1.0f, 5000.0f, 1.0f, 0.3f }, 250.0f, " ms",
        [](float v, int) { return v < 1000.0f ? juce::String(v, 0) + " ms" : juce::String(v * 0.001f, 2) + " s"; },
        [](const juce::String& text) {
            const auto unit = text.trimCharactersAtStart("0123456789. ").toLowerCase();
            if (unit.isEmpty() || unit == "ms")
                return text.getFloatValue();
            return unit == "s" ? text.getFloatValue() * 1000.0f : 250.0f;
        });
}

// Decibels relative to 100, down to "-inf dB" at 0.
std::unique_ptr<juce::AudioParameterFloat> outputGain()
{
    return makeParameter(
        "Output", { 0.0f, 200.0f }, 100.0f, " dB",
        [](float v, int) { return v <= 0.0f ? juce::String("-inf dB") : juce::String(20.0f * std::log10(v * 0.01f), 1) + " dB"; },
        [](const juce::String& text) {
            return text.trim().startsWithIgnoreCase("-inf") ? 0.0f : 100.0f * std::pow(10.0f, text.getFloatValue() / 20.0f);
        });
}

std::optional<std::string> refusal(const juce::AudioProcessorParameter& parameter, const juce::String& text)
{
    try
    {
        normalisedValueForText(parameter, text);
        return std::nullopt;
    }
    catch (const InputError& error)
    {
        return std::string(error.what());
    }
}
} // namespace

TEST(TypedParameterText, StepTextsComeFromTheStepsOrFromASweepOfTheTravel)
{
    const juce::AudioParameterBool bypass(juce::ParameterID("Bypass", 1), "Bypass", false);
    EXPECT_EQ(stepTextsOf(bypass), juce::StringArray({ "Off", "On" }));
    EXPECT_EQ(stepTextsOf(*headsSwitch()), juce::StringArray({ "HEADS OFF", "HEADS ON" }));
    EXPECT_EQ(stepTextsOf(*syncDivision()), juce::StringArray(divisions, 16));
    EXPECT_TRUE(stepTextsOf(*echoMix()).isEmpty());
    EXPECT_TRUE(stepTextsOf(*echoTime()).isEmpty());
}

TEST(TypedParameterText, TakesWhatThePluginReadsAsAsked)
{
    const auto heads = headsSwitch();
    const auto division = syncDivision();
    const auto mix = echoMix();
    const auto time = echoTime();
    const auto gain = outputGain();
    const juce::AudioParameterBool bypass(juce::ParameterID("Bypass", 1), "Bypass", false);
    struct Case
    {
        const juce::AudioProcessorParameter& parameter;
        const char* text;
        const char* shown;
    };
    const Case cases[] {
        { *heads, "HEADS ON", "HEADS ON" },
        { *heads, "heads  off", "HEADS OFF" },
        { *heads, "1", "HEADS ON" },
        { *heads, "0", "HEADS OFF" },
        { bypass, "yes", "On" },
        { bypass, "OFF", "Off" },
        { *division, "1/16 TRIPLET", "1/16 TRIPLET" },
        { *division, "whole", "WHOLE" },
        { *mix, "50", "50.0 %" },
        { *mix, " 50 % ", "50.0 %" },
        { *mix, "50.04", "50.0 %" }, // within the step of 0.1
        { *mix, "50.06%", "50.1 %" },
        { *time, "250 ms", "250 ms" },
        { *time, "1500", "1.50 s" },
        { *time, "1500ms", "1.50 s" },
        { *time, "1.5 S", "1.50 s" },
        { *time, "1.234 s", "1.23 s" }, // within what the text shows
        { *gain, "-6", "-6.0 dB" },
        { *gain, "-inf dB", "-inf dB" },
        { *gain, "-INF", "-inf dB" },
    };
    for (const auto& c : cases)
    {
        float normalised = -1.0f;
        ASSERT_NO_THROW(normalised = normalisedValueForText(c.parameter, c.text)) << c.parameter.getName(100) << " \"" << c.text << '"';
        EXPECT_EQ(c.parameter.getText(normalised, 1024), c.shown) << c.parameter.getName(100) << " \"" << c.text << '"';
    }
}

TEST(TypedParameterText, RefusesWhatThePluginMisreadsNamingWhatItTakes)
{
    const auto heads = headsSwitch();
    const auto division = syncDivision();
    const auto mix = echoMix();
    const auto time = echoTime();
    const juce::AudioParameterBool bypass(juce::ParameterID("Bypass", 1), "Bypass", false);
    const auto switchTakes = std::string("; it takes \"HEADS OFF\" or \"HEADS ON\" (or On/Off, true/false, yes/no, 1/0)");
    const auto divisionTakes = std::string(
        "; it takes one of \"1/64\", \"1/32\", \"1/16 TRIPLET\", \"1/32 DOTTED\", \"1/16\", \"1/8 TRIPLET\", \"1/16 DOTTED\", "
        "\"1/8\", \"1/4 TRIPLET\", \"1/8 DOTTED\", \"1/4\", \"1/2 TRIPLET\", \"1/4 DOTTED\", \"1/2\", \"1/2 DOTTED\", \"WHOLE\"");
    const auto mixTakes = std::string("; it takes 0.0 % to 100.0 % (a number, with or without \"%\")");
    const auto timeTakes = std::string("; it takes 1 ms to 5.00 s (a number, with or without \"ms\")");
    struct Case
    {
        const juce::AudioProcessorParameter& parameter;
        const char* text;
        std::string message;
    };
    const Case cases[] {
        { *heads, "On", "HeadsOn does not take \"On\"" + switchTakes }, // read as 0
        { *heads, "banana", "HeadsOn does not take \"banana\"" + switchTakes },
        { *heads, "HEADS", "HeadsOn does not take \"HEADS\"" + switchTakes },
        { bypass, "banana", "Bypass does not take \"banana\"; it takes \"Off\" or \"On\" (or On/Off, true/false, yes/no, 1/0)" },
        { *division, "1/16T", "EchoSyncDiv does not take \"1/16T\"" + divisionTakes }, // read as 1: "1/32"
        { *division, "7", "EchoSyncDiv does not take \"7\"" + divisionTakes },
        { *division, "On", "EchoSyncDiv does not take \"On\"" + divisionTakes },
        { *mix, "1e9 ms", "EchoMix does not take \"1e9 ms\"" + mixTakes }, // read as 100 %
        { *mix, "150", "EchoMix does not take \"150\"" + mixTakes },
        { *mix, "-3 %", "EchoMix does not take \"-3 %\"" + mixTakes },
        { *mix, "50 % A", "EchoMix does not take \"50 % A\"" + mixTakes },
        { *mix, "On", "EchoMix does not take \"On\"" + mixTakes },
        { *mix, "", "EchoMix does not take \"\"" + mixTakes },
        { *time, "2 Hz", "EchoTime does not take \"2 Hz\"" + timeTakes },
        { *time, "1.5 kHz", "EchoTime does not take \"1.5 kHz\"" + timeTakes },
        { *time, "9 s", "EchoTime does not take \"9 s\"" + timeTakes },
    };
    for (const auto& c : cases)
        EXPECT_EQ(refusal(c.parameter, c.text), c.message) << c.parameter.getName(100) << " \"" << c.text << '"';
}

TEST(TypedParameterText, APluginThatReadsTextAsNaNOrBeyondItsTravelIsRefused)
{
    for (const float read : { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), -0.5f, 1.5f })
    {
        struct Odd final : juce::AudioParameterFloat
        {
            explicit Odd(float readAs) : juce::AudioParameterFloat(juce::ParameterID("Odd", 1), "Odd", 0.0f, 1.0f, 0.5f), value(readAs) {}
            float getValueForText(const juce::String&) const override { return value; }
            float value;
        } odd(read);
        const auto message = refusal(odd, "0.5");
        ASSERT_TRUE(message.has_value()) << read;
        EXPECT_EQ(*message, "Odd does not take \"0.5\"; it takes 0.00 to 1.00 (a number)") << read;
    }
}
