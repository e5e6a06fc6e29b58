// Through the built bundle: what a host may feed the plug-in besides music. Bursts of NaN, infinite
// and denormal samples must never reach the host's mix as anything but finite samples, and must not
// leave the plug-in broken: the sine that follows comes through whole again, at every gain setting.
#include "tests/common/SteadySine.h"
#include "tests/e2e/BuiltBundle.h"
#include "tools/host/HostedParameters.h"
#include "tools/host/OfflineRender.h"
#include "tools/host/TestSignal.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Quillmore::Host;

namespace
{
struct Burst
{
    const char* name;
    float value;
    double startSeconds, seconds;
};

constexpr float denormal = 1.0e-40f;

// After the start-up ramp, so that the processing really runs through them.
const Burst bursts[] = {
    { "one NaN", std::numeric_limits<float>::quiet_NaN(), 0.60, 0.0 },
    { "NaN run", std::numeric_limits<float>::quiet_NaN(), 0.62, 0.005 },
    { "+Inf run", std::numeric_limits<float>::infinity(), 0.64, 0.005 },
    { "-Inf run", -std::numeric_limits<float>::infinity(), 0.66, 0.005 },
    { "denormal run", denormal, 0.68, 0.05 },
    { "largest float run", std::numeric_limits<float>::max(), 0.74, 0.001 },
};
constexpr double cleanFromSeconds = 0.75;
constexpr double recoveredFromSeconds = 1.25;
constexpr double renderSeconds = 1.75;

// The gains around the sections: at +6 dB of Input the largest floats overflow once scaled.
struct GainSetting
{
    const char* input;
    const char* output;
    float decibels; // of the sine that comes through
};
const GainSetting gainSettings[] = {
    { "0 dB", "0 dB", 0.0f },
    { "+6 dB", "0 dB", 6.0f },
    { "+6 dB", "+6 dB", 12.0f },
};
} // namespace

TEST(HostileInput, NonFiniteAndDenormalBurstsComeOutFiniteAndTheSineRecovers)
{
    for (const auto& gain : gainSettings)
    for (const double rate : { 44100.0, 96000.0 })
    {
        SCOPED_TRACE(std::string("Input ") + gain.input + ", Output " + gain.output);
        auto blocks = BlockSizes::varying(1, 1024, 3);
        auto plugin = loadBuiltBundle(rate, blocks.maximum());
        setParameterFromText(findParameter(*plugin.instance, "Input"), gain.input);
        setParameterFromText(findParameter(*plugin.instance, "Output"), gain.output);
        flushParameterChanges(*plugin.instance);

        SignalSettings settings;
        settings.kind = SignalKind::sine;
        settings.seconds = renderSeconds;
        auto input = generateSignal(settings, rate);
        for (const auto& burst : bursts)
        {
            const int start = static_cast<int>(burst.startSeconds * rate);
            const int length = juce::jmax(1, static_cast<int>(burst.seconds * rate));
            for (int channel = 0; channel < input.getNumChannels(); ++channel)
                for (int i = start; i < start + length; ++i)
                    input.setSample(channel, i, (i % 2 == 0 ? 1.0f : -1.0f) * burst.value);
        }
        ASSERT_LT(static_cast<int>(bursts[std::size(bursts) - 1].startSeconds * rate), static_cast<int>(cleanFromSeconds * rate));

        const auto output = renderThrough(*plugin.instance, input, blocks);

        SteadySine sine;
        sine.frequency = settings.frequency;
        sine.sampleRate = rate;
        sine.peak = juce::Decibels::decibelsToGain(static_cast<float>(settings.peakDecibels) + gain.decibels);
        for (int channel = 0; channel < output.getNumChannels(); ++channel)
        {
            for (int i = 0; i < output.getNumSamples(); ++i)
                ASSERT_TRUE(std::isfinite(output.getSample(channel, i))) << rate << " Hz, channel " << channel << ", sample " << i;
            EXPECT_EQ(sine.faultIn(output, channel, static_cast<int>(recoveredFromSeconds * rate)), "") << rate << " Hz";
        }
    }
}

// A host's controller may hand over a NaN for any parameter (the framework's clamp lets it through):
// a stepped one used to crash the host, a gain one to silence the plug-in for good. The sine that
// follows (after the start-up ramp) comes through at its level.
TEST(HostileInput, NaNParameterValuesFromTheHostChangeNothing)
{
    constexpr double rate = 48000.0;
    for (const char* id : { "EchoSyncOn", "EchoSyncDiv", "Input", "Output", "Saturate" })
    {
        SCOPED_TRACE(id);
        auto blocks = BlockSizes::fixed(256);
        auto plugin = loadBuiltBundle(rate, blocks.maximum());
        findParameter(*plugin.instance, id).setValue(std::numeric_limits<float>::quiet_NaN());
        flushParameterChanges(*plugin.instance);

        SignalSettings settings;
        settings.kind = SignalKind::sine;
        settings.seconds = 1.5;
        const auto output = renderThrough(*plugin.instance, generateSignal(settings, rate), blocks);

        SteadySine sine;
        sine.frequency = settings.frequency;
        sine.sampleRate = rate;
        sine.peak = juce::Decibels::decibelsToGain(static_cast<float>(settings.peakDecibels));
        // From 1 s: the tape's start at instantiation has crossfaded back to the direct signal.
        for (int channel = 0; channel < output.getNumChannels(); ++channel)
            EXPECT_EQ(sine.faultIn(output, channel, static_cast<int>(1.0 * rate)), "");
    }
}
