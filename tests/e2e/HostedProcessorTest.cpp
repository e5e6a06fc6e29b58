// The processor as a VST3 host sees it: its parameters with their texts, its latency and its tail, and
// the patch it runs.
#include "tests/e2e/BuiltBundle.h"
#include "tests/e2e/ExpectSameSamples.h"
#include "tools/host/HostedParameters.h"
#include "tools/host/OfflineRender.h"
#include "tools/host/TestSignal.h"

#include <gtest/gtest.h>

#include <set>

using namespace Quillmore::Host;

TEST(HostedProcessor, ShowsItsFortyEightParametersWithTheirTexts)
{
    // Every host parameter with the text of its default value.
    const struct
    {
        const char* id;
        const char* text;
    } parameters[] = {
        { "Output", "0.0 dB" },          { "Input", "0.0 dB" },           { "Saturate", "0.00 %" },
        { "HighPass", "20 Hz" },         { "HighPassQ", "0.80" },         { "EchoFilterLFOAmount", "0.00 %" },
        { "EchoFilterLFOSpeed", "0.019 Hz" }, { "EchoFilterFreq", "600 Hz" }, { "EchoFilterQ", "0.250" },
        { "SpringMix", "0.00 %" },       { "EchoTime", "250 ms" },        { "NoiseFreq", "15.00 kHz" },
        { "NoiseAmnt", "0.00 %" },       { "NoiseDuckThresh", "-5.0 dB" }, { "NoiseDuckTime", "100 ms" },
        { "NoiseGateTime", "1.00 s" },   { "EchoMix", "0.00 %" },         { "EchoFdbck", "80.0 %" },
        { "SpringDecay", "70.0 %" },     { "StDrift", "0.00 %" },         { "Flutter", "0.00 %" },
        { "WowRate", "1.2 Hz" },         { "Wow", "0.00 %" },             { "MstrWarble", "0.00 %" },
        { "Blips", "0.00 %" },           { "Instability", "0.00 %" },     { "SpringSize", "8.0" },
        { "SpringHighPass", "50 Hz" },   { "Degrade", "0.00 %" },         { "HighRolloff", "18.00 kHz" },
        { "SpringAB", "50 % A / 50 % B" }, { "EchoStOffset", "0.0 %" },   { "EchoSyncOn", "TEMPO SYNC OFF" },
        { "EchoSyncDiv", "1/8" },        { "SendRetMode", "WET/DRY MODE" }, { "EchoSend", "0.00 %" },
        { "SpringSend", "0.00 %" },      { "EchoToSpring", "0.00 %" },    { "hostTempo", "120.000" },
        { "Order", "1" },                { "TapeStop", "0" },             { "TapeStopInertia", "1.50 s" },
        { "HeadsOn", "HEADS ON" },       { "SpaceOn", "SPACE ON" },       { "WarbleR", "0.000" },
        { "WarbleL", "0.000" },          { "EchoFiltMeter", "1234.0000000" }, { "TrueBypass", "Off" },
    };

    auto plugin = loadBuiltBundle();
    auto& instance = *plugin.instance;
    // Ours, and the host's own bypass that the framework adds.
    ASSERT_EQ(instance.getParameters().size(), 49);
    EXPECT_EQ(findParameter(instance, "Bypass").getName(1024), "Bypass");

    for (const auto& expected : parameters)
    {
        auto& parameter = findParameter(instance, expected.id);
        EXPECT_EQ(parameter.getText(parameter.getValue(), 1024), expected.text) << expected.id;
    }

    // A text typed by the host reaches the plug-in's own parser and comes back as the plug-in writes it.
    auto& echoTime = findParameter(instance, "EchoTime");
    setParameterFromText(echoTime, "1.2 s");
    EXPECT_EQ(echoTime.getText(echoTime.getValue(), 1024), "1.20 s");
}

TEST(HostedProcessor, ReportsItsLatencyAndTail)
{
    const struct
    {
        int maximumBlock;
        int latency;
    } cases[] = { { 64, 129 }, { 150, 257 }, { 512, 513 } }; // twice the engine block, and a sample
    for (const auto& c : cases)
    {
        auto plugin = loadBuiltBundle(48000.0, c.maximumBlock);
        EXPECT_EQ(latencySamplesOf(*plugin.instance), c.latency) << c.maximumBlock;
    }

    auto plugin = loadBuiltBundle();
    EXPECT_NEAR(plugin.instance->getTailLengthSeconds(), 10.0, 0.001);
}

// JUCE's host reads a VST3 plug-in's latency before activating it, and the plug-in announces the
// value that activating gave it from a thread of its own, later, through the host's message loop. The
// latency the host library gives is the plug-in's own answer as soon as it is prepared, with no loop
// run: each step moves the latency, so a value held over from the step before shows, and the
// framework's own prepare call is taken as well as the library's. The host's bypass hands the input
// back delayed by exactly the plug-in's latency, which measures it.
TEST(HostedProcessor, ItsLatencyIsTheOnePreparingGaveItRightAway)
{
    const struct
    {
        double rate;
        int block;
        bool preparedByTheFramework;
    } steps[] = {
        { 44100.0, 64, false }, { 96000.0, 160, true }, { 48000.0, 1024, true },
        { 22050.0, 96, false }, { 48000.0, 192, true }, { 192000.0, 1, false },
    };

    auto plugin = loadBuiltBundle(48000.0, 512);
    auto& instance = *plugin.instance;
    setParameterFromText(findParameter(instance, "Bypass"), "On");
    SignalSettings noise;
    noise.kind = SignalKind::noise;
    noise.seconds = 0.05;

    std::set<int> latencies;
    const auto expectLatencyMeasured = [&](double rate, int block) {
        const int latency = latencySamplesOf(instance);
        latencies.insert(latency);
        const auto input = generateSignal(noise, rate);
        auto blocks = BlockSizes::fixed(block);
        const auto output = renderThrough(instance, input, blocks);
        for (int channel = 0; channel < 2; ++channel)
            expectDelayedSamples(output, channel, input, channel, latency);
    };

    {
        SCOPED_TRACE("48000 Hz, blocks of 512, as loaded");
        expectLatencyMeasured(48000.0, 512);
    }
    for (const auto& step : steps)
    {
        SCOPED_TRACE(std::to_string(static_cast<int>(step.rate)) + " Hz, blocks of " + std::to_string(step.block)
                     + (step.preparedByTheFramework ? ", prepared by the framework" : ""));
        if (step.preparedByTheFramework)
        {
            instance.releaseResources();
            instance.prepareToPlay(step.rate, step.block);
        }
        else
            preparePlugin(instance, step.rate, step.block);
        expectLatencyMeasured(step.rate, step.block);
    }
    // Else a stale value could not show.
    EXPECT_GE(latencies.size(), 3u) << "the steps no longer move the plug-in's latency";
}

TEST(HostedProcessor, RendersThePatchAndOutputAtZeroSilencesIt)
{
    auto plugin = loadBuiltBundle();
    auto& instance = *plugin.instance;
    SignalSettings settings;
    settings.kind = SignalKind::sine;
    settings.seconds = 1.0;
    const auto input = generateSignal(settings, 48000.0);
    const int length = input.getNumSamples();
    const int lastPart = 14400; // the last 0.3 s, long after the start-up ramp has opened

    auto blocks = BlockSizes::fixed(512);
    const auto audible = renderThrough(instance, input, blocks);
    for (int channel = 0; channel < 2; ++channel)
        EXPECT_GT(audible.getRMSLevel(channel, length - lastPart, lastPart), 0.05f) << "channel " << channel;

    setParameterNormalised(findParameter(instance, "Output"), 0.0f);
    flushParameterChanges(instance);
    const auto silenced = renderThrough(instance, input, blocks);
    EXPECT_LT(silenced.getMagnitude(length - lastPart, lastPart), 0.000001f);
}
