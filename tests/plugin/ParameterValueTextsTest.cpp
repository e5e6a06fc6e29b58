#include "plugin/GainRange.h"
#include "tests/plugin/ParameterLayoutHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace
{
struct TextCase
{
    const char* id;
    float value;
    const char* text;
};

struct ParseCase
{
    const char* id;
    const char* typed;
    float value;
};

// The host's path: a normalised value in, the parameter's text out.
juce::String hostText(juce::RangedAudioParameter& parameter, float value)
{
    return parameter.getText(parameter.convertTo0to1(value), 1024);
}

// The host's path for typed text: normalised value out, read back in the parameter's units.
float hostValueForText(juce::RangedAudioParameter& parameter, const juce::String& text)
{
    return parameter.convertFrom0to1(parameter.getValueForText(text));
}
} // namespace

TEST(ParameterValueTexts, HostShowsEachValueAsItsParameterText)
{
    const TextCase cases[] {
        // Percentages: two decimals below 10, one below 100, none from 100.
        { "Saturate", 5, "5.00 %" },
        { "EchoMix", 50, "50.0 %" },
        { "SpringMix", 99.96f, "100.0 %" },
        { "SpringMix", 100, "100 %" },
        { "EchoFdbck", 112.3f, "112.3 %" },
        { "EchoFdbck", 120, "120 %" },
        { "EchoToSpring", 9.99f, "9.99 %" },
        // Frequencies and times switch to the thousands unit at 1000.
        { "EchoFilterLFOSpeed", 0.019f, "0.019 Hz" },
        { "WowRate", 1.2f, "1.2 Hz" },
        { "EchoFilterFreq", 600, "600 Hz" },
        { "EchoFilterFreq", 999.5f, "999.5 Hz" },
        { "NoiseFreq", 1000, "1.00 kHz" },
        { "NoiseFreq", 15000, "15.00 kHz" },
        { "HighRolloff", 18000, "18.00 kHz" },
        { "EchoTime", 250, "250 ms" },
        { "TapeStopInertia", 1500, "1.50 s" },
        { "EchoTime", 5000, "5.00 s" },
        { "NoiseGateTime", 29999, "30.00 s" },
        { "NoiseGateTime", 30000, "INF - Gate Disabled" },
        { "NoiseDuckThresh", -5, "-5.0 dB" },
        { "NoiseDuckThresh", 0, "0.0 dB" },
        { "NoiseDuckThresh", -100, "-100.0 dB" },
        // Spring blend rounds halves away from zero.
        { "SpringAB", 50, "50 % A / 50 % B" },
        { "SpringAB", 30.4f, "70 % A / 30 % B" },
        { "SpringAB", 0.5f, "99 % A / 1 % B" },
        { "SpringAB", 99.5f, "  0 % A / 100 % B" },
        { "SpringAB", 100, "  0 % A / 100 % B" },
        { "SpringAB", 0, "100 % A / 0 % B" },
        { "EchoStOffset", -1, "-75.0 %" },
        { "EchoStOffset", 0.5f, "37.5 %" },
        { "EchoStOffset", 0, "0.0 %" },
        { "EchoSyncOn", 0, "TEMPO SYNC OFF" },
        { "EchoSyncOn", 1, "TEMPO SYNC ON" },
        { "SendRetMode", 0, "WET/DRY MODE" },
        { "SendRetMode", 1, "SEND/RET MODE" },
        { "HeadsOn", 0, "HEADS OFF" },
        { "HeadsOn", 1, "HEADS ON" },
        { "SpaceOn", 0, "SPACE OFF" },
        { "SpaceOn", 1, "SPACE ON" },
        // Gain in dB relative to unity (100).
        { "Output", 200, "+6.0 dB" },
        { "Output", 100, "0.0 dB" },
        { "Output", 100.5f, "0.0 dB" },
        { "Output", 50, "-6.0 dB" },
        { "Output", 0, "-inf dB" },
        { "Input", 141.3f, "+3.0 dB" },
        // The framework's own texts where no function is set.
        { "HighPassQ", 0.8f, "0.80" },
        { "Order", 1, "1" },
        { "TapeStop", 0, "0" },
        { "hostTempo", 120, "120.000" },
        { "TrueBypass", 1, "On" },
        { "TrueBypass", 0, "Off" },
    };

    ParameterLayoutHost host;
    for (const auto& c : cases)
        EXPECT_EQ(hostText(host.parameter(c.id), c.value), juce::String(c.text)) << c.id << " at " << c.value;
}

TEST(ParameterValueTexts, SyncDivisionHasATextForEachOfItsSixteenSteps)
{
    const char* const texts[] { "1/64",        "1/32", "1/16 TRIPLET", "1/32 DOTTED", "1/16",       "1/8 TRIPLET",
                                "1/16 DOTTED", "1/8",  "1/4 TRIPLET",  "1/8 DOTTED",  "1/4",        "1/2 TRIPLET",
                                "1/4 DOTTED",  "1/2",  "1/2 DOTTED",   "WHOLE" };
    ParameterLayoutHost host;
    auto& division = host.parameter("EchoSyncDiv");
    for (int step = 0; step < 16; ++step)
    {
        EXPECT_EQ(hostText(division, static_cast<float>(step)), juce::String(texts[step])) << step;
        EXPECT_EQ(hostValueForText(division, texts[step]), static_cast<float>(step)) << texts[step];
    }
}

TEST(ParameterValueTexts, TypedTextReadsBackIntoTheParameterUnits)
{
    const ParseCase cases[] {
        // The threshold's own parser: number before an exact-case "dB", blanks and other case forgiven.
        { "NoiseDuckThresh", "-12.5 dB", -12.5f },
        { "NoiseDuckThresh", "-12.5dB", -12.5f },
        { "NoiseDuckThresh", "  -3  ", -3 },
        { "NoiseDuckThresh", "-3 db", -3 },
        { "NoiseDuckThresh", "-7 dB", -7 },
        { "NoiseDuckThresh", "-7 DB", -7 },
        // Each parameter reads back the texts it shows.
        { "Output", "-6.0 dB", 50.1187f },
        { "Output", "+6.0 dB", 199.526f },
        { "Output", "0.0 dB", 100 },
        { "Output", "-inf dB", 0 },
        { "Input", "-3", 70.7946f },
        { "Input", "50 %", 50 },
        { "Input", "-inf", 0 },
        { "Output", "+1000 dB", 200 },
        { "NoiseFreq", "1.00 kHz", 1000 },
        { "HighPass", "2.5k", 2500 },
        { "HighPass", "2.5 KHZ", 2500 },
        { "HighPass", "250hz", 250 },
        { "EchoFilterFreq", "600 Hz", 600 },
        { "EchoTime", "1.50 s", 1500 },
        { "EchoTime", "250 ms", 250 },
        { "EchoTime", "320", 320 },
        { "EchoTime", "1.5S", 1500 },
        { "EchoTime", "1e3 MS", 1000 },
        { "NoiseGateTime", "INF - Gate Disabled", 30000 },
        { "NoiseGateTime", "inf", 30000 },
        { "NoiseGateTime", "inf - gate  disabled", 30000 },
        { "NoiseGateTime", "12.00 s", 12000 },
        { "SpringAB", "70 % A / 30 % B", 30 },
        { "SpringAB", "  0 % A / 100 % B", 100 },
        { "SpringAB", "80 % A", 20 },
        { "SpringAB", "35", 35 },
        { "SpringAB", "30 % b", 30 },
        { "SpringAB", "70 / 30", 30 },
        { "EchoStOffset", "-75.0 %", -1 },
        { "EchoStOffset", "37.5", 0.5f },
        { "EchoSyncOn", "TEMPO SYNC ON", 1 },
        { "EchoSyncOn", "tempo sync off", 0 },
        { "EchoSyncDiv", "1/16 triplet", 2 },
        { "EchoSyncDiv", " 1/16   TRIPLET ", 2 },
        { "EchoSyncDiv", "1/4", 10 },
        { "EchoSyncDiv", "whole", 15 },
        { "SendRetMode", "send/ret mode", 1 },
        { "HeadsOn", "HEADS OFF", 0 },
        { "SpaceOn", "1", 1 },
        { "Saturate", "42.5 %", 42.5f },
        { "Saturate", "1e30", 100 },
        { "EchoSend", "5.00 %", 5 },
        { "HighPassQ", "1.25", 1.25f },
        { "TrueBypass", "on", 1 },
    };

    ParameterLayoutHost host;
    for (const auto& c : cases)
    {
        auto& parameter = host.parameter(c.id);
        const auto& range = parameter.getNormalisableRange();
        const float value = hostValueForText(parameter, c.typed);
        EXPECT_FALSE(std::isnan(value)) << c.id << " typed \"" << c.typed << '"';
        EXPECT_NEAR(value, c.value, 1e-4f * (range.end - range.start)) << c.id << " typed \"" << c.typed << '"';
    }
}

// The parameters of two steps: the on/off switches and the two-way modes.
const char* const twoStepIds[] { "EchoSyncOn", "SendRetMode", "Order", "TapeStop", "HeadsOn", "SpaceOn", "TrueBypass" };

bool isStepped(const juce::RangedAudioParameter& parameter)
{
    const auto& range = parameter.getNormalisableRange();
    return range.interval >= 1.0f && range.end - range.start <= 15.0f;
}

// Whatever a host shows, typed back in, gives back the value shown: each step of a stepped parameter
// exactly; for the others, across a fine grid of their travel, the same text and the value within
// what the text shows (its last digit, or the range's step where that is coarser).
TEST(ParameterValueTexts, EveryShownTextReadsBackToTheValueShown)
{
    ParameterLayoutHost host;
    for (auto* hosted : host.getParameters())
    {
        auto& parameter = *dynamic_cast<juce::RangedAudioParameter*>(hosted);
        const auto& range = parameter.getNormalisableRange();
        if (isStepped(parameter))
        {
            for (float step = range.start; step <= range.end; step += 1.0f)
            {
                const auto shown = hostText(parameter, step);
                EXPECT_EQ(hostValueForText(parameter, shown), step) << parameter.getName(100) << " shows \"" << shown << '"';
            }
            continue;
        }
        for (int i = 0; i <= 1000; ++i)
        {
            const float position = static_cast<float>(i) / 1000.0f;
            const float value = parameter.convertFrom0to1(position);
            const auto shown = parameter.getText(position, 1024);
            const float back = hostValueForText(parameter, shown);
            // The texts show three significant digits at least (0.05 dB of gain is 0.6 %); the spring
            // blend shows whole percents.
            const float shownStep = parameter.getParameterID() == "SpringAB" ? 0.5f : 0.0f;
            const float tolerance = std::max({ range.interval, 1.0e-3f * (range.end - range.start), 6.0e-3f * std::abs(value),
                                               shownStep });
            EXPECT_EQ(hostText(parameter, back), shown) << parameter.getName(100) << " at " << value;
            EXPECT_NEAR(back, value, tolerance) << parameter.getName(100) << " shows \"" << shown << '"';
        }
    }
}

TEST(ParameterValueTexts, SwitchesReadTheirWordsInAnyCase)
{
    const std::pair<const char*, float> words[] {
        { "On", 1 },   { "on", 1 },  { "ON", 1 },   { " oN ", 1 },  { "true", 1 }, { "TRUE", 1 },
        { "yes", 1 },  { "Yes", 1 }, { "1", 1 },    { "Off", 0 },   { "off", 0 },  { "OFF", 0 },
        { "false", 0 }, { "False", 0 }, { "no", 0 }, { "NO", 0 },   { "0", 0 },    { " 0 ", 0 },
    };
    ParameterLayoutHost host;
    for (const char* id : twoStepIds)
    {
        auto& parameter = host.parameter(id);
        for (const auto& [word, value] : words)
        {
            // From the other end: a parser that leaves the parameter where it is cannot pass.
            parameter.setValueNotifyingHost(1.0f - value);
            EXPECT_EQ(parameter.getValueForText(word), value) << id << " typed \"" << word << '"';
        }
    }
}

TEST(ParameterValueTexts, TextsThatCannotBeReadLeaveTheParameterWhereItIs)
{
    const juce::String everywhere[] {
        "banana", "", "   ", "nan", "NaN %", "-nan", "1e999", "-1e999 dB", "12 furlongs", "5 5", "--5", "0x10",
        "1,5", "%", "yes please", "1/16T", juce::String::repeatedString("x", 100000), juce::String::repeatedString("9", 100000),
        "3" + juce::String::repeatedString(" ", 100000) + "x",
    };
    // Units of another kind, and words that only some parameters read.
    const std::pair<const char*, const char*> elsewhere[] {
        { "EchoMix", "1e9 ms" },    { "EchoMix", "On" },          { "EchoTime", "5 Hz" },     { "HighPass", "3 s" },
        { "Saturate", "3 dB" },     { "Output", "3 Hz" },         { "Output", "inf" },        { "NoiseDuckThresh", "-3 %" },
        { "SpringAB", "30 % C" },   { "SpringAB", "30 / 20 / 50" }, { "SpringAB", "/30" },    { "HighPassQ", "1 %" },
        { "EchoStOffset", "10 ms" }, { "NoiseGateTime", "12 kHz" }, { "EchoSyncDiv", "On" },  { "EchoSyncDiv", "1/16 TRIPLETS" },
        { "EchoSyncOn", "maybe" },  { "Order", "2 %" },           { "TapeStop", "inf" },
    };

    ParameterLayoutHost host;
    const auto expectUnmoved = [&](juce::RangedAudioParameter& parameter, const juce::String& text) {
        const bool twoSteps = std::any_of(std::begin(twoStepIds), std::end(twoStepIds),
                                          [&](const char* id) { return parameter.getParameterID() == id; });
        // From the far end and from a value between: never a jump to 0 or to the default.
        for (const float start : { 1.0f, twoSteps ? 0.0f : 0.37f })
        {
            parameter.setValueNotifyingHost(start);
            EXPECT_EQ(parameter.getValueForText(text), parameter.getValue())
                << parameter.getParameterID() << " typed \"" << text.substring(0, 40) << '"';
        }
    };
    for (auto* parameter : host.getParameters())
        for (const auto& text : everywhere)
            expectUnmoved(*dynamic_cast<juce::RangedAudioParameter*>(parameter), text);
    for (const auto& [id, text] : elsewhere)
        expectUnmoved(host.parameter(id), text);
}

TEST(GainRange, UnitySitsAtThreeQuartersOfTheTravel)
{
    struct Position
    {
        float proportion;
        float gain;
    };
    const Position positions[] { { 0, 0 }, { 0.375f, 50 }, { 0.75f, 100 }, { 0.875f, 150 }, { 1, 200 } };

    ParameterLayoutHost host;
    for (const auto& range : { Quillmore::makeInputOutputGainRange(), host.parameter("Output").getNormalisableRange(),
                               host.parameter("Input").getNormalisableRange() })
    {
        EXPECT_EQ(range.interval, 0.0f);
        for (const auto& p : positions)
        {
            EXPECT_FLOAT_EQ(range.convertFrom0to1(p.proportion), p.gain) << p.proportion;
            EXPECT_FLOAT_EQ(range.convertTo0to1(p.gain), p.proportion) << p.gain;
        }
        EXPECT_EQ(range.snapToLegalValue(123.456f), 123.456f); // continuous: nothing snaps
    }

    // Out-of-range input is clamped by the mapping itself, not only by the framework.
    EXPECT_EQ(Quillmore::gainFromProportion(-0.2f), 0.0f);
    EXPECT_EQ(Quillmore::gainFromProportion(1.4f), 200.0f);
    EXPECT_EQ(Quillmore::gainToProportion(-3.0f), 0.0f);
    EXPECT_EQ(Quillmore::gainToProportion(250.0f), 1.0f);
}
