// The latency the bundle reports is the delay of the signal through it, on every routing of its two
// sections, through either bypass and through a switch from one of them to another, so that a host's
// delay compensation lines the track up with its neighbours and a switch does not jump in time. At no
// warble an impulse must start exactly at the reported latency on every path, to the sample; the
// Heads' low-pass may spread its peak over the next sample.
#include "tests/e2e/BuiltBundle.h"
#include "tools/host/HostedParameters.h"
#include "tools/host/OfflineRender.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

using namespace Quillmore::Host;

namespace
{
constexpr float impulseLevel = 0.25f;
// An impulse has arrived at the first sample that carries a hundredth of it.
constexpr float arrivalLevel = 0.01f * impulseLevel;

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

// At no warble the Heads delay by their fixed sample alone.
void noWarble(juce::AudioPluginInstance& instance)
{
    setParameterFromText(findParameter(instance, "MstrWarble"), "0");
}

struct Arrival
{
    int sample = -1;
    int onset = -1;
    float level = 0.0f;
};

// Where the impulse comes out in the left channel: its largest sample and its onset.
Arrival arrivalIn(const juce::AudioBuffer<float>& output, int impulseAt)
{
    Arrival arrival;
    for (int i = 0; i < output.getNumSamples(); ++i)
    {
        if (arrival.onset < 0 && std::abs(output.getSample(0, i)) > arrivalLevel)
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
    int reportedLatency; // twice the engine block the host block calls for, and the patch's sample
};

void PrintTo(const Setting& setting, std::ostream* out)
{
    *out << setting.sampleRate << " Hz, host blocks of " << setting.hostBlock;
}

class LatencyOnEveryPath : public testing::TestWithParam<Setting>
{
};

const auto settings = testing::Values(Setting { 44100.0, 32, 129 }, Setting { 44100.0, 256, 513 },
                                      Setting { 44100.0, 1000, 513 }, Setting { 48000.0, 32, 129 },
                                      Setting { 48000.0, 256, 513 }, Setting { 48000.0, 1000, 513 },
                                      Setting { 96000.0, 32, 129 }, Setting { 96000.0, 256, 513 },
                                      Setting { 96000.0, 1000, 513 });

std::string settingName(const testing::TestParamInfo<Setting>& info)
{
    std::ostringstream name;
    name << static_cast<int>(info.param.sampleRate) << "Hz_blocks" << info.param.hostBlock;
    return name.str();
}
} // namespace

TEST_P(LatencyOnEveryPath, AnImpulseComesOutAtTheReportedLatency)
{
    const auto [sampleRate, hostBlock, reportedLatency] = GetParam();
    auto plugin = loadBuiltBundle(sampleRate, hostBlock);
    auto& instance = *plugin.instance;
    const int latency = latencySamplesOf(instance);
    EXPECT_EQ(latency, reportedLatency);
    noWarble(instance);

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
        EXPECT_EQ(arrival.onset, latency) << path.name;
        if (path.passesTheHeads())
        {
            // The Heads' low-pass (18 kHz at rest) spreads the impulse over the sample after its
            // arrival, at 96 kHz enough to move its peak there.
            EXPECT_LE(arrival.sample - arrival.onset, 1) << path.name;
            EXPECT_GT(arrival.level, 0.4f * impulseLevel) << path.name;
            EXPECT_LT(arrival.level, 1.05f * impulseLevel) << path.name;
        }
        else
        {
            EXPECT_EQ(arrival.sample, latency) << path.name;
            EXPECT_NEAR(arrival.level, impulseLevel, 0.01f) << path.name << ": the impulse at unity gain";
        }
        float ahead = 0.0f;
        for (int i = impulseAt; i < impulseAt + latency; ++i)
            ahead = std::max(ahead, std::abs(output.getSample(0, i)));
        EXPECT_LT(ahead, 1.0e-4f) << path.name << ": nothing ahead of it";
    }
}

// A train of impulses of alternating sign (so that the Heads' high-pass leaves no offset between
// them) through the Heads, switched to another path and back while it plays: every impulse, before,
// during and after each switch and its crossfade, starts exactly at the reported latency.
TEST_P(LatencyOnEveryPath, SwitchingAPathMidStreamKeepsTime)
{
    const auto [sampleRate, hostBlock, reportedLatency] = GetParam();
    const struct
    {
        const char* name;
        const char* parameter; // switched from its first value to the second and back
        float from, to;
    } switches[] = {
        { "HeadsOn", "HeadsOn", 1.0f, 0.0f },
        { "the true bypass", "TrueBypass", 0.0f, 1.0f },
        { "the host's bypass", "Bypass", 0.0f, 1.0f },
    };

    const int spacing = 240;
    const int firstImpulse = static_cast<int>(sampleRate); // after the start-up ramp
    const int switchOn = firstImpulse + static_cast<int>(0.25 * sampleRate);
    const int switchBack = switchOn + static_cast<int>(0.25 * sampleRate);
    const int inputLength = switchBack + static_cast<int>(0.25 * sampleRate);
    juce::AudioBuffer<float> input(2, inputLength);
    input.clear();
    std::vector<int> impulses;
    for (int at = firstImpulse; at < inputLength; at += spacing)
    {
        impulses.push_back(at);
        for (int channel = 0; channel < 2; ++channel)
            input.setSample(channel, at, impulses.size() % 2 == 0 ? impulseLevel : -impulseLevel);
    }

    for (const auto& s : switches)
    {
        auto plugin = loadBuiltBundle(sampleRate, hostBlock);
        auto& instance = *plugin.instance;
        const int latency = latencySamplesOf(instance);
        EXPECT_EQ(latency, reportedLatency);
        noWarble(instance);
        setNormalised(instance, "Order", 0.0f);
        setNormalised(instance, "SpaceOn", 0.0f); // no echo or spring tail between the impulses
        setNormalised(instance, "HeadsOn", 1.0f);
        setNormalised(instance, s.parameter, s.from);

        // As a host automates: the value changes between two blocks.
        juce::AudioBuffer<float> output(2, inputLength + latency);
        auto blocks = BlockSizes::fixed(hostBlock);
        PluginStream stream(instance, input, 0, blocks);
        bool switchedOn = false, switchedBack = false;
        while (stream.position() < output.getNumSamples())
        {
            if (!switchedOn && stream.position() >= switchOn)
            {
                setNormalised(instance, s.parameter, s.to);
                switchedOn = true;
            }
            if (!switchedBack && stream.position() >= switchBack)
            {
                setNormalised(instance, s.parameter, s.from);
                switchedBack = true;
            }
            const auto start = static_cast<int>(stream.position());
            const auto& block = stream.next(output.getNumSamples() - start);
            for (int channel = 0; channel < 2; ++channel)
                output.copyFrom(channel, start, block, channel, 0, block.getNumSamples());
        }

        std::vector<std::string> offTime;
        for (const int at : impulses)
        {
            int onset = -1;
            for (int i = at + latency - spacing / 2; i < at + latency + spacing / 2 && onset < 0; ++i)
                if (std::abs(output.getSample(0, i)) > arrivalLevel)
                    onset = i - at;
            if (onset != latency)
                offTime.push_back("impulse at " + std::to_string(at - switchOn) + " samples from the switch: "
                                  + std::to_string(onset));
        }
        EXPECT_TRUE(offTime.empty()) << "switching " << s.name << ", latency " << latency << ": " << offTime.size()
                                     << " of " << impulses.size() << " impulses off time, first "
                                     << (offTime.empty() ? "" : offTime.front()) << ", last "
                                     << (offTime.empty() ? "" : offTime.back());
    }
}

INSTANTIATE_TEST_SUITE_P(RatesAndHostBlocks, LatencyOnEveryPath, settings, settingName);
