#include "tools/host/TestSignal.h"

#include "tools/host/HostError.h"
#include "tools/host/SampleCount.h"

#include <cmath>

namespace Quillmore::Host
{
namespace
{
// A plucked note every half second: a tone with two overtones, never above the peak level, that dies
// away within about 0.3 s. The notes climb and fall through a pentatonic melody.
void writePhrase(float* samples, int length, double sampleRate, float peak, int channel)
{
    constexpr double notes[] = { 220.0, 261.63, 329.63, 392.0, 440.0, 392.0, 329.63, 293.66 };
    constexpr double noteSeconds = 0.5;
    constexpr double decaySeconds = 0.06;
    const int noteLength = juce::jmax(1, static_cast<int>(noteSeconds * sampleRate));
    for (int i = 0; i < length; ++i)
    {
        const int note = i / noteLength;
        const double t = static_cast<double>(i % noteLength) / sampleRate;
        const double w = juce::MathConstants<double>::twoPi * notes[note % 8] * t;
        const double tone = (std::sin(w) + 0.5 * std::sin(2.0 * w) + 0.25 * std::sin(3.0 * w)) / 1.75;
        const double pan = (note + channel) % 2 == 0 ? 1.0 : 0.7;
        samples[i] = peak * static_cast<float>(pan * tone * std::exp(-t / decaySeconds));
    }
}
} // namespace

std::optional<SignalKind> signalKindNamed(const juce::String& name)
{
    if (name == "sine")
        return SignalKind::sine;
    if (name == "impulse")
        return SignalKind::impulse;
    if (name == "noise")
        return SignalKind::noise;
    if (name == "phrase")
        return SignalKind::phrase;
    if (name == "silence")
        return SignalKind::silence;
    return std::nullopt;
}

juce::AudioBuffer<float> generateSignal(const SignalSettings& settings, double sampleRate)
{
    if (settings.seconds < 0.0 || sampleRate <= 0.0 || settings.channels < 1)
        throw HostError("a test signal needs a length of 0 s or more, a positive sample rate and a channel");

    const int length = samplesIn(settings.seconds, sampleRate);
    const auto peak = juce::Decibels::decibelsToGain(static_cast<float>(settings.peakDecibels), -1000.0f);
    juce::AudioBuffer<float> signal(settings.channels, length);
    signal.clear();

    juce::Random random(static_cast<juce::int64>(settings.seed));
    for (int channel = 0; channel < settings.channels; ++channel)
    {
        auto* samples = signal.getWritePointer(channel);
        switch (settings.kind)
        {
            case SignalKind::sine:
            {
                const double step = juce::MathConstants<double>::twoPi * settings.frequency / sampleRate;
                const double phase = juce::MathConstants<double>::halfPi * channel;
                for (int i = 0; i < length; ++i)
                    samples[i] = peak * static_cast<float>(std::sin(phase + step * i));
                break;
            }
            case SignalKind::impulse:
                if (length > 0)
                    samples[0] = peak;
                break;
            case SignalKind::noise:
                for (int i = 0; i < length; ++i)
                    samples[i] = peak * (2.0f * random.nextFloat() - 1.0f);
                break;
            case SignalKind::phrase:
                writePhrase(samples, length, sampleRate, peak, channel);
                break;
            case SignalKind::silence:
                break;
        }
    }
    return signal;
}
} // namespace Quillmore::Host
