#include "tests/plugin/ParameterLayoutHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

namespace
{
constexpr bool yes = true;
constexpr bool no = false;

struct ExpectedFloat
{
    int hint;
    const char* id;
    const char* name;
    float start, end, interval, skew;
    float defaultValue;
    const char* label; // an empty label and no label read the same to a host
    bool automatable;
};

// Start and end of the gain rows are checked here; their mapping has a test of its own.
constexpr float gain = -1.0f;

const std::vector<ExpectedFloat> expectedFloats {
    { 1, "Output", "Output", 0, 200, gain, gain, 100, " dB", yes },
    { 2, "Input", "Input", 0, 200, gain, gain, 100, " dB", yes },
    { 3, "Saturate", "Saturate", 0, 100, 0.1f, 1, 0, " %", yes },
    { 4, "HighPass", "HighPass", 20, 15000, 0.1f, 0.25f, 20, " Hz", yes },
    { 5, "HighPassQ", "HighPassQ", 0.1f, 2, 0.01f, 1, 0.8f, "", yes },
    { 6, "EchoFilterLFOAmount", "EchoFilterLFOAmount", 0, 100, 0.01f, 0.7f, 0, " %", yes },
    { 7, "EchoFilterLFOSpeed", "EchoFilterLFOSpeed", 0.01f, 20, 0.0001f, 0.28f, 0.019f, " Hz", yes },
    { 8, "EchoFilterFreq", "EchoFilterFreq", 20, 9000, 0.1f, 0.33f, 600, " Hz", yes },
    { 9, "EchoFilterQ", "EchoFilterQ", 0.01f, 2, 0.001f, 0.5f, 0.25f, "", yes },
    { 10, "SpringMix", "SpringMix", 0, 100, 0.01f, 1, 0, " %", yes },
    { 11, "EchoTime", "EchoTime", 1, 5000, 1, 0.3f, 250, " ms", yes },
    { 12, "NoiseFreq", "NoiseFreq", 1, 20000, 1, 0.8f, 15000, " Hz", yes },
    { 13, "NoiseAmnt", "NoiseAmnt", 0, 100, 0.1f, 0.6f, 0, " %", yes },
    { 14, "NoiseDuckThresh", "NoiseDuckThresh", -100, 0, 0.1f, 5, -5, " dB", yes },
    { 15, "NoiseDuckTime", "NoiseDuckTime", 5, 1000, 1, 0.5f, 100, " ms", yes },
    { 16, "NoiseGateTime", "NoiseGateTime", 30, 30000, 1, 0.4f, 1000, " ms", yes },
    { 17, "EchoMix", "EchoMix", 0, 100, 0.1f, 1, 0, " %", yes },
    { 18, "EchoFdbck", "EchoFdbck", 0, 120, 0.1f, 1.3f, 80, " %", yes },
    { 19, "SpringDecay", "SpringDecay", 0, 100, 0.01f, 0.9f, 70, " %", yes },
    { 20, "StDrift", "StDrift", 0, 100, 0.1f, 1, 0, " %", yes },
    { 21, "Flutter", "Flutter", 0, 100, 0.1f, 0.65f, 0, " %", yes },
    { 22, "WowRate", "WowRate", 0.01f, 5, 0.001f, 0.65f, 1.2f, " Hz", yes },
    { 23, "Wow", "Wow", 0, 100, 0.1f, 1, 0, " %", yes },
    { 24, "MstrWarble", "MstrWarble", 0, 100, 0.1f, 1, 0, " %", yes },
    { 25, "Blips", "Blips", 0, 100, 0.1f, 1, 0, " %", yes },
    { 26, "Instability", "Instability", 0, 100, 0.1f, 0.85f, 0, " %", yes },
    { 27, "SpringSize", "SpringSize", 4, 12, 0.1f, 1, 8, "", yes },
    { 28, "SpringHighPass", "SpringHighPass", 30, 1500, 1, 0.6f, 50, " Hz", yes },
    { 29, "Degrade", "Degrade", 0, 100, 0.1f, 1, 0, " %", yes },
    { 30, "HighRolloff", "HighRolloff", 20, 18000, 1, 0.6f, 18000, " Hz", yes },
    { 31, "SpringAB", "SpringAB", 0, 100, 0.1f, 1, 50, " %", yes },
    { 32, "EchoStOffset", "EchoStOffset", -1, 1, 0.01f, 1, 0, " %", yes },
    { 33, "EchoSyncOn", "EchoSyncOn", 0, 1, 1, 1, 0, "", yes },
    { 34, "EchoSyncDiv", "EchoSyncDiv", 0, 15, 1, 1, 7, "", yes },
    { 35, "SendRetMode", "SendRetMode", 0, 1, 1, 1, 0, "", yes },
    { 36, "EchoSend", "EchoSend", 0, 100, 0.01f, 1, 0, "", yes },
    { 37, "SpringSend", "SpringSend", 0, 100, 0.01f, 1, 0, "", yes },
    { 38, "EchoToSpring", "Echo>Springs", 0, 100, 0.01f, 1, 0, "", yes },
    { 39, "hostTempo", "hostTempo", 0, 1028, 0.001f, 1, 120, "", no },
    { 40, "Order", "Order", 0, 1, 1, 1, 1, "", yes },
    { 41, "TapeStop", "TapeStop", 0, 1, 1, 1, 0, "", yes },
    { 42, "TapeStopInertia", "TapeStopInertia", 500, 3000, 1, 1, 1500, " ms", yes },
    { 43, "HeadsOn", "HeadsOn", 0, 1, 1, 1, 1, "", yes },
    { 44, "SpaceOn", "SpaceOn", 0, 1, 1, 1, 1, "", yes },
    { 45, "WarbleR", "WarbleR", 0, 1, 0.001f, 1, 0, "", no },
    { 46, "WarbleL", "WarbleL", 0, 1, 0.001f, 1, 0, "", no },
    { 47, "EchoFiltMeter", "EchoFiltMeter", 20, 20000, 0, 1, 1234, "", no },
};
} // namespace

TEST(ParameterLayout, HostSeesTheFortyEightParametersInOrderWithTheirRangesDefaultsAndFlags)
{
    ParameterLayoutHost host;
    const auto& parameters = host.getParameters();
    ASSERT_EQ(parameters.size(), 48);

    for (size_t i = 0; i < expectedFloats.size(); ++i)
    {
        const auto& expected = expectedFloats[i];
        SCOPED_TRACE(expected.id);
        auto* parameter = dynamic_cast<juce::AudioParameterFloat*>(parameters[static_cast<int>(i)]);
        ASSERT_NE(parameter, nullptr);

        EXPECT_EQ(parameter->getParameterID(), expected.id);
        EXPECT_EQ(parameter->getVersionHint(), expected.hint);
        EXPECT_EQ(parameter->getName(100), expected.name);
        EXPECT_EQ(parameter->getLabel(), expected.label);
        EXPECT_EQ(parameter->isAutomatable(), expected.automatable);
        EXPECT_FALSE(parameter->isMetaParameter());
        EXPECT_FALSE(parameter->isOrientationInverted());
        EXPECT_EQ(parameter->getCategory(), juce::AudioProcessorParameter::genericParameter);

        const auto& range = parameter->getNormalisableRange();
        EXPECT_FLOAT_EQ(range.start, expected.start);
        EXPECT_FLOAT_EQ(range.end, expected.end);
        if (expected.interval != gain)
        {
            EXPECT_FLOAT_EQ(range.interval, expected.interval);
            EXPECT_FLOAT_EQ(range.skew, expected.skew);
            EXPECT_FALSE(range.symmetricSkew);
        }

        EXPECT_FLOAT_EQ(parameter->get(), expected.defaultValue);
        EXPECT_NEAR(parameter->convertFrom0to1(parameters[static_cast<int>(i)]->getDefaultValue()), expected.defaultValue,
                    1e-5f * (expected.end - expected.start));
    }

    auto* bypass = dynamic_cast<juce::AudioParameterBool*>(parameters[47]);
    ASSERT_NE(bypass, nullptr);
    EXPECT_EQ(bypass->getParameterID(), "TrueBypass");
    EXPECT_EQ(bypass->getName(100), "TrueBypass");
    EXPECT_EQ(bypass->getVersionHint(), 48);
    EXPECT_TRUE(bypass->isAutomatable());
    EXPECT_FALSE(bypass->get());
    EXPECT_EQ(parameters[47]->getDefaultValue(), 0.0f);
}
