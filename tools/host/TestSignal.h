#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <optional>

namespace Quillmore::Host
{
enum class SignalKind
{
    sine,
    impulse,
    noise,
    phrase,
    silence
};

struct SignalSettings
{
    SignalKind kind = SignalKind::sine;
    double seconds = 2.0;
    double peakDecibels = -12.0; // peak level in dB full scale
    double frequency = 440.0;    // sine only
    int channels = 2;
    juce::uint32 seed = 1;       // noise only
};

// "sine", "impulse", "noise", "phrase", "silence".
std::optional<SignalKind> signalKindNamed(const juce::String& name);

// Channels differ where the kind allows, so that swapped or merged channels show: the sine's phase
// advances by a quarter turn per channel, each channel has its own noise. The impulse is one sample at
// the start of every channel. The phrase is a short melody of plucked notes, one every half second
// with silence between them in which echoes and springs are heard, its notes leaning left and right
// in turn.
juce::AudioBuffer<float> generateSignal(const SignalSettings& settings, double sampleRate);
} // namespace Quillmore::Host
