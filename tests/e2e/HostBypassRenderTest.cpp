// The host's own bypass: the plug-in hands its input back, delayed by exactly the latency it reports
// (so that a host's latency compensation keeps bypassed and processed audio in time), whatever the
// rate and the block sizes, without a gap, and a mono input feeds both outputs.
#include "tests/e2e/BuiltBundle.h"
#include "tests/e2e/ExpectSameSamples.h"
#include "tools/host/HostedParameters.h"
#include "tools/host/OfflineRender.h"
#include "tools/host/TestSignal.h"

#include <gtest/gtest.h>

using namespace Quillmore::Host;

namespace
{
struct RenderCase
{
    const char* name;
    double sampleRate;
    int smallestBlock, largestBlock;
    SignalKind signal;
    int expectedLatency; // twice the engine block the largest host block calls for, and a sample
};

void PrintTo(const RenderCase& c, std::ostream* out)
{
    *out << c.name;
}

class HostBypassRender : public testing::TestWithParam<RenderCase>
{
};

BlockSizes blockSizesFor(const RenderCase& c)
{
    return c.smallestBlock == c.largestBlock ? BlockSizes::fixed(c.largestBlock)
                                             : BlockSizes::varying(c.smallestBlock, c.largestBlock, 7);
}

void bypassByTheHost(juce::AudioPluginInstance& instance)
{
    setParameterFromText(findParameter(instance, "Bypass"), "On");
    flushParameterChanges(instance);
}
} // namespace

TEST_P(HostBypassRender, OutputIsTheStereoInputDelayedByTheReportedLatency)
{
    const auto& c = GetParam();
    auto blockSizes = blockSizesFor(c);
    auto plugin = loadBuiltBundle(c.sampleRate, blockSizes.maximum());
    EXPECT_EQ(latencySamplesOf(*plugin.instance), c.expectedLatency);
    bypassByTheHost(*plugin.instance);

    SignalSettings settings;
    settings.kind = c.signal;
    settings.seconds = 0.5;
    const auto input = generateSignal(settings, c.sampleRate);
    const auto output = renderThrough(*plugin.instance, input, blockSizes);

    ASSERT_EQ(output.getNumChannels(), 2);
    ASSERT_EQ(output.getNumSamples(), input.getNumSamples());
    for (int channel = 0; channel < 2; ++channel)
        expectDelayedSamples(output, channel, input, channel, latencySamplesOf(*plugin.instance));
}

INSTANTIATE_TEST_SUITE_P(
    RatesAndBlocks, HostBypassRender,
    testing::Values(RenderCase { "sine_48k_fixed256", 48000.0, 256, 256, SignalKind::sine, 513 },
                    RenderCase { "noise_44k1_fixed1", 44100.0, 1, 1, SignalKind::noise, 129 },
                    RenderCase { "noise_96k_varying1to1024", 96000.0, 1, 1024, SignalKind::noise, 513 },
                    RenderCase { "impulse_48k_varying17to150", 48000.0, 17, 150, SignalKind::impulse, 257 }),
    [](const testing::TestParamInfo<RenderCase>& info) { return std::string(info.param.name); });

TEST(HostBypassMono, InputFeedsBothOutputs)
{
    auto blockSizes = BlockSizes::varying(32, 512, 3);
    auto plugin = loadBuiltBundle(48000.0, blockSizes.maximum(), 1);
    ASSERT_EQ(plugin.instance->getTotalNumInputChannels(), 1);
    bypassByTheHost(*plugin.instance);

    SignalSettings settings;
    settings.kind = SignalKind::noise;
    settings.channels = 1;
    settings.seconds = 0.25;
    const auto input = generateSignal(settings, 48000.0);
    const auto output = renderThrough(*plugin.instance, input, blockSizes);

    ASSERT_EQ(output.getNumChannels(), 2);
    for (int channel = 0; channel < 2; ++channel)
        expectDelayedSamples(output, channel, input, 0, latencySamplesOf(*plugin.instance));
}
