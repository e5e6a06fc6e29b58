// The latency the bundle reports is the delay of the signal through it, on every routing of its two
// sections and through either bypass, so that a host's delay compensation lines the track up and
// switching the bypass does not jump in time. An impulse at 1 s must come out exactly at the reported
// latency; on the paths through the Heads the warbler's tape adds its one sample (README), and the
// Heads' low-pass spreads it over the next.
#include "tests/e2e/BuiltBundle.h"
#include "tools/host/HostedParameters.h"
#include "tools/host/OfflineRender.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

using namespace Quillmore::Host;

namespace
{
// The warbler's tape delay reads its line one sample back at no warble.
constexpr int headsPathExtraSamples = 1;
constexpr float impulseLevel = 0.25f;

struct Path
{
    const char* name;
    float order, headsOn, spaceOn;
    bool trueBypass, hostBypass;

    bool passesTheHeads() const { return headsOn > 0.5f && !trueBypass && !hostBypass; }
};

constexpr Path paths[] = {
    { "heads into space", 0, 1, 1, false, false }, { "heads only", 0, 1, 0, false, false },
    { "space only", 0, 0, 1, false, false },       { "neither", 0, 0, 0, false, false },
    { "space into heads", 1, 1, 1, false, false }, { "heads only, order 1", 1, 1, 0, false, false },
    { "space only, order 1", 1, 0, 1, false, false }, { "neither, order 1", 1, 0, 0, false, false },
    { "true bypass", 1, 1, 1, true, false },       { "host bypass", 1, 1, 1, false, true },
};

void setNormalised(juce::AudioPluginInstance& instance, const char* key, float value)
{
    setParameterNormalised(findParameter(instance, key), value);
}

struct Arrival
{
    int sample = -1;
    int onset = -1; // the first sample carrying a hundredth of the impulse
    float level = 0.0f;
};

// Where the impulse comes out: the largest sample of the left channel.
Arrival arrivalIn(const juce::AudioBuffer<float>& output, int impulseAt)
{
    Arrival arrival;
    for (int i = 0; i < output.getNumSamples(); ++i)
    {
        if (arrival.onset < 0 && std::abs(output.getSample(0, i)) > 0.01f * impulseLevel)
            arrival.onset = i - impulseAt;
        if (std::abs(output.getSample(0, i)) > std::abs(arrival.level))
        {
            arrival.sample = i - impulseAt;
            arrival.level = output.getSample(0, i);
        }
    }
    return arrival;
}

struct Setting
{
    double sampleRate;
    int hostBlock;
};

void PrintTo(const Setting& setting, std::ostream* out)
{
    *out << setting.sampleRate << " Hz, host blocks of " << setting.hostBlock;
}

class LatencyOnEveryPath : public testing::TestWithParam<Setting>
{
};
} // namespace

TEST_P(LatencyOnEveryPath, AnImpulseComesOutAtTheReportedLatency)
{
    const auto [sampleRate, hostBlock] = GetParam();
    auto plugin = loadBuiltBundle(sampleRate, hostBlock);
    auto& instance = *plugin.instance;
    const int latency = latencySamplesOf(instance);
    EXPECT_GT(latency, 0);

    // An impulse at 1 s: the start-up ramp, and any switch's crossfade, are over by then.
    const int impulseAt = static_cast<int>(sampleRate);
    juce::AudioBuffer<float> input(2, impulseAt + latency + 4096);
    input.clear();
    for (int channel = 0; channel < 2; ++channel)
        input.setSample(channel, impulseAt, impulseLevel);

    for (const Path& path : paths)
    {
        setNormalised(instance, "Order", path.order);
        setNormalised(instance, "HeadsOn", path.headsOn);
        setNormalised(instance, "SpaceOn", path.spaceOn);
        setNormalised(instance, "TrueBypass", path.trueBypass ? 1.0f : 0.0f);
        setNormalised(instance, "Bypass", path.hostBypass ? 1.0f : 0.0f);
        auto blocks = BlockSizes::fixed(hostBlock);
        const auto output = renderThrough(instance, input, blocks);

        const Arrival arrival = arrivalIn(output, impulseAt);
        const int expected = latency + (path.passesTheHeads() ? headsPathExtraSamples : 0);
        if (path.passesTheHeads())
        {
            // The Heads' low-pass (about 21.7 kHz at rest) spreads the impulse over a sample or two
            // from where it arrives.
            EXPECT_EQ(arrival.onset, expected) << path.name;
            EXPECT_LE(arrival.sample - arrival.onset, 1) << path.name;
            EXPECT_GT(arrival.level, 0.4f * impulseLevel) << path.name;
            EXPECT_LT(arrival.level, 1.05f * impulseLevel) << path.name;
        }
        else
        {
            EXPECT_EQ(arrival.sample, expected) << path.name;
            EXPECT_NEAR(arrival.level, impulseLevel, 0.01f) << path.name << ": the impulse at unity gain";
        }
        float ahead = 0.0f;
        for (int i = impulseAt; i < impulseAt + expected; ++i)
            ahead = std::max(ahead, std::abs(output.getSample(0, i)));
        EXPECT_LT(ahead, 1.0e-4f) << path.name << ": nothing ahead of it";
    }
}

INSTANTIATE_TEST_SUITE_P(RatesAndHostBlocks, LatencyOnEveryPath,
                         testing::Values(Setting { 44100.0, 32 }, Setting { 44100.0, 256 }, Setting { 44100.0, 1000 },
                                         Setting { 48000.0, 32 }, Setting { 48000.0, 256 }, Setting { 48000.0, 1000 },
                                         Setting { 96000.0, 32 }, Setting { 96000.0, 256 }, Setting { 96000.0, 1000 }),
                         [](const testing::TestParamInfo<Setting>& info) {
                             std::ostringstream name;
                             name << static_cast<int>(info.param.sampleRate) << "Hz_blocks" << info.param.hostBlock;
                             return name.str();
                         });
