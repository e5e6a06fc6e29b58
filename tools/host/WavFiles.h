#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

namespace Quillmore::Host
{
struct AudioData
{
    juce::AudioBuffer<float> samples;
    double sampleRate = 0.0;
};

// Reads a mono or stereo PCM or float WAV file; throws HostError if it cannot, InputError when the
// file is not one or is damaged (its header claims more samples than the file holds, say).
AudioData readWav(const juce::File& file);

// Writes 32-bit float WAV, replacing the file; throws HostError if it cannot.
void writeFloatWav(const juce::File& file, const juce::AudioBuffer<float>& samples, double sampleRate);
} // namespace Quillmore::Host
