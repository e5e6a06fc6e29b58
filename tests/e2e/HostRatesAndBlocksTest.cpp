// Through the built bundle, as a VST3 host drives it: every sample rate a host may run at, host blocks
// from 1 to 8192 samples, fixed and varying at random, mono and stereo buses. A steady sine at the
// default settings must come out whole (finite, without gaps or clicks, at its level) once the start-up
// ramp has opened, also after the host prepares again for another rate or block size.
#include "tests/common/SteadySine.h"
#include "tests/e2e/BuiltBundle.h"
#include "tools/host/HostedParameters.h"
#include "tools/host/OfflineRender.h"
#include "tools/host/TestSignal.h"

#include <gtest/gtest.h>

using namespace Quillmore::Host;

namespace
{
constexpr double sampleRates[] = { 22050.0, 44100.0, 48000.0, 88200.0, 96000.0, 176400.0, 192000.0 };

struct Blocks
{
    const char* name;
    int smallest, largest; // equal for fixed blocks

    BlockSizes sizes(juce::uint32 seed) const
    {
        return smallest == largest ? BlockSizes::fixed(largest) : BlockSizes::varying(smallest, largest, seed);
    }
};

// The engine runs on blocks of 64, 128 or 256 samples, chosen by the largest host block: these reach
// each engine block with host blocks that divide it, that do not, and that span many of them.
constexpr Blocks blockPatterns[] = {
    { "fixed1", 1, 1 },           { "fixed100", 100, 100 },      { "fixed8192", 8192, 8192 },
    { "varying1to96", 1, 96 },    { "varying1to8192", 1, 8192 },
};

struct Buses
{
    const char* name;
    int inputs, outputs;
};

constexpr Buses busLayouts[] = { { "mono", 1, 1 }, { "monoToStereo", 1, 2 }, { "stereo", 2, 2 } };

// The start-up ramp is fully open 500 ms after the patch starts, and the tape's start at
// instantiation (TapeStop's first value) has crossfaded back to the direct signal 0.95 s in at the
// default inertia; the plug-in's latency comes on top.
constexpr double settledAfterSeconds = 1.0;
constexpr double renderSeconds = 1.5;

SignalSettings sineSpec(int channels, double seconds)
{
    SignalSettings settings;
    settings.kind = SignalKind::sine;
    settings.frequency = 440.0;
    settings.peakDecibels = -12.0;
    settings.channels = channels;
    settings.seconds = seconds;
    return settings;
}

// Renders the sine through the prepared plug-in and expects every output channel to carry it whole.
void expectSteadySineThrough(juce::AudioPluginInstance& instance, double sampleRate, BlockSizes& blocks,
                             const std::string& context)
{
    const auto settings = sineSpec(instance.getTotalNumInputChannels(), renderSeconds);
    const auto output = renderThrough(instance, generateSignal(settings, sampleRate), blocks);

    SteadySine sine;
    sine.frequency = settings.frequency;
    sine.sampleRate = sampleRate;
    sine.peak = juce::Decibels::decibelsToGain(static_cast<float>(settings.peakDecibels));
    const int settled = static_cast<int>(settledAfterSeconds * sampleRate) + latencySamplesOf(instance);
    ASSERT_EQ(output.getNumChannels(), instance.getTotalNumOutputChannels()) << context;
    for (int channel = 0; channel < output.getNumChannels(); ++channel)
        EXPECT_EQ(sine.faultIn(output, channel, settled), "") << context;
}

struct RenderCase
{
    double sampleRate;
    Blocks blocks;
    Buses buses;
};

std::string nameOf(const RenderCase& c)
{
    return std::to_string(static_cast<int>(c.sampleRate)) + "Hz_" + c.blocks.name + "_" + c.buses.name;
}

void PrintTo(const RenderCase& c, std::ostream* out)
{
    *out << nameOf(c);
}

std::vector<RenderCase> everyRenderCase()
{
    std::vector<RenderCase> cases;
    for (const double rate : sampleRates)
        for (const auto& blocks : blockPatterns)
            for (const auto& buses : busLayouts)
                cases.push_back({ rate, blocks, buses });
    return cases;
}

class HostRatesAndBlocks : public testing::TestWithParam<RenderCase>
{
};
} // namespace

TEST_P(HostRatesAndBlocks, SteadySineComesThroughWhole)
{
    const auto& c = GetParam();
    auto blocks = c.blocks.sizes(11);
    auto plugin = loadBuiltBundle(c.sampleRate, blocks.maximum(), c.buses.inputs, c.buses.outputs);
    ASSERT_EQ(plugin.instance->getTotalNumInputChannels(), c.buses.inputs);
    ASSERT_EQ(plugin.instance->getTotalNumOutputChannels(), c.buses.outputs);
    expectSteadySineThrough(*plugin.instance, c.sampleRate, blocks, nameOf(c));
}

INSTANTIATE_TEST_SUITE_P(AllRatesBlocksAndBuses, HostRatesAndBlocks, testing::ValuesIn(everyRenderCase()),
                         [](const testing::TestParamInfo<RenderCase>& info) { return nameOf(info.param); });

// A host prepares again when the user changes the project's rate or the audio device's block size;
// a VST3 host deactivates the plug-in first (JUCE's VST3 client releases its resources then). The
// plug-in goes on from there as from a fresh start.
TEST(HostPreparesAgain, ForAnotherRateOrBlockSizeTheSineComesThroughWhole)
{
    const struct
    {
        double rate;
        Blocks blocks;
    } steps[] = {
        { 44100.0, { "fixed512", 512, 512 } },
        { 192000.0, { "fixed1", 1, 1 } },            // rate and engine block change
        { 22050.0, { "varying1to8192", 1, 8192 } },  // and back the other way
        { 22050.0, { "fixed64", 64, 64 } },          // the block size alone
        { 96000.0, { "fixed64", 64, 64 } },          // the rate alone
    };

    auto firstBlocks = steps[0].blocks.sizes(5);
    auto plugin = loadBuiltBundle(steps[0].rate, firstBlocks.maximum());
    for (const auto& step : steps)
    {
        auto blocks = step.blocks.sizes(5);
        preparePlugin(*plugin.instance, step.rate, blocks.maximum());
        expectSteadySineThrough(*plugin.instance, step.rate, blocks,
                                std::to_string(static_cast<int>(step.rate)) + " Hz, " + step.blocks.name);
    }
}
