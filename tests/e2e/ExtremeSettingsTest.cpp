// Through the built bundle: every parameter at the end of its range, at every sample rate a host may
// run at, where filters tuned in Hz meet a low Nyquist frequency and feedback runs at its most. The
// output stays finite and bounded, and once the host puts the parameters back to their defaults the
// sine comes through whole again: nothing inside was left broken.
#include "tests/common/SteadySine.h"
#include "tests/e2e/BuiltBundle.h"
#include "tools/host/HostedParameters.h"
#include "tools/host/OfflineRender.h"
#include "tools/host/TestSignal.h"

#include <gtest/gtest.h>

using namespace Quillmore::Host;

namespace
{
// Switches that stop the sound by design, whatever else is set.
bool stopsTheSound(juce::AudioPluginInstance& instance, juce::AudioProcessorParameter& parameter)
{
    for (const char* id : { "Bypass", "TrueBypass", "TapeStop" })
        if (&parameter == &findParameter(instance, id))
            return true;
    return false;
}

void setEveryParameter(juce::AudioPluginInstance& instance, float normalised)
{
    for (auto* parameter : instance.getParameters())
        if (!stopsTheSound(instance, *parameter))
            setParameterNormalised(*parameter, normalised);
}

void setEveryParameterToItsDefault(juce::AudioPluginInstance& instance)
{
    for (auto* parameter : instance.getParameters())
        setParameterNormalised(*parameter, parameter->getDefaultValue());
}

juce::AudioBuffer<float> signal(SignalKind kind, double seconds, double rate)
{
    SignalSettings settings;
    settings.kind = kind;
    settings.seconds = seconds;
    settings.peakDecibels = kind == SignalKind::sine ? -12.0 : 0.0;
    return generateSignal(settings, rate);
}

// +24 dB over full scale: far above anything the gain stages can make of a full-scale input, far
// below what a filter or a feedback loop that runs away produces.
constexpr float saneCeiling = 16.0f;
} // namespace

TEST(ExtremeSettings, EveryParameterAtEitherEndKeepsTheOutputFiniteAndBoundedAtEveryRate)
{
    for (const double rate : { 22050.0, 44100.0, 48000.0, 88200.0, 96000.0, 176400.0, 192000.0 })
    {
        auto blocks = BlockSizes::varying(1, 512, 9);
        auto plugin = loadBuiltBundle(rate, blocks.maximum());
        auto& instance = *plugin.instance;

        for (const float end : { 1.0f, 0.0f })
        {
            setEveryParameter(instance, end);
            const auto output = renderThrough(instance, signal(SignalKind::noise, 1.0, rate), blocks);
            for (int channel = 0; channel < output.getNumChannels(); ++channel)
                for (int i = 0; i < output.getNumSamples(); ++i)
                {
                    const float sample = output.getSample(channel, i);
                    ASSERT_TRUE(std::isfinite(sample) && std::abs(sample) <= saneCeiling)
                        << rate << " Hz, every parameter at " << end << ", channel " << channel << ", sample " << i
                        << ": " << sample;
                }
        }

        setEveryParameterToItsDefault(instance);
        const auto output = renderThrough(instance, signal(SignalKind::sine, 1.0, rate), blocks);
        SteadySine sine;
        sine.sampleRate = rate;
        sine.peak = juce::Decibels::decibelsToGain(-12.0f);
        for (int channel = 0; channel < output.getNumChannels(); ++channel)
            EXPECT_EQ(sine.faultIn(output, channel, static_cast<int>(0.5 * rate)), "") << rate << " Hz, back at the defaults";
    }
}
