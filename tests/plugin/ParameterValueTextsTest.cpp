#include "plugin/GainRange.h"
#include "tests/plugin/ParameterLayoutHost.h"

#include <gtest/gtest.h>

#include <cmath>

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
        { "NoiseDuckThresh", "quiet", 0 },
        { "NoiseDuckThresh", "nan dB", 0 },
        // Each parameter reads back the texts it shows.
        { "Output", "-6.0 dB", 50.1187f },
        { "Output", "+6.0 dB", 199.526f },
        { "Output", "0.0 dB", 100 },
        { "Output", "-inf dB", 0 },
        { "Input", "-3", 70.7946f },
        { "Input", "50 %", 50 },
        { "NoiseFreq", "1.00 kHz", 1000 },
        { "HighPass", "2.5k", 2500 },
        { "EchoFilterFreq", "600 Hz", 600 },
        { "EchoTime", "1.50 s", 1500 },
        { "EchoTime", "250 ms", 250 },
        { "EchoTime", "320", 320 },
        { "NoiseGateTime", "INF - Gate Disabled", 30000 },
        { "NoiseGateTime", "inf", 30000 },
        { "NoiseGateTime", "12.00 s", 12000 },
        { "SpringAB", "70 % A / 30 % B", 30 },
        { "SpringAB", "  0 % A / 100 % B", 100 },
        { "SpringAB", "80 % A", 20 },
        { "SpringAB", "35", 35 },
        { "EchoStOffset", "-75.0 %", -1 },
        { "EchoStOffset", "37.5", 0.5f },
        { "EchoSyncOn", "TEMPO SYNC ON", 1 },
        { "EchoSyncOn", "tempo sync off", 0 },
        { "SendRetMode", "send/ret mode", 1 },
        { "HeadsOn", "HEADS OFF", 0 },
        { "SpaceOn", "1", 1 },
        { "Saturate", "42.5 %", 42.5f },
        { "Saturate", "nan", 0 },
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

// Whatever a host shows, typed back in, shows the same text again.
TEST(ParameterValueTexts, EveryShownTextReadsBackToTheSameText)
{
    ParameterLayoutHost host;
    for (auto* parameter : host.getParameters())
    {
        for (int i = 0; i <= 40; ++i)
        {
            const float position = static_cast<float>(i) / 40.0f;
            const auto shown = parameter->getText(position, 1024);
            const auto again = parameter->getText(parameter->getValueForText(shown), 1024);
            EXPECT_EQ(again, shown) << parameter->getName(100) << " at position " << position;
        }
    }
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
