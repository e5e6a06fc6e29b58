#pragma once

#include "tools/host/BlockSizes.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <optional>

namespace Quillmore::Host
{
// A render for listening and comparing, as the command-line host makes it: silence runs through the
// plug-in ahead of the input (the pre-roll) so that its start-up is over when the input begins, the
// plug-in's latency is taken off the front so that output sample n lines up with input sample n, and
// the tail after the input is either fixed or lasts until the output has fallen silent.
struct AlignedRenderSettings
{
    int preRollSamples = 0;   // run before the input, left out of the output
    int latencySamples = 0;   // taken off the front of the output; 0 keeps the plug-in's delay in it

    std::optional<int> fixedTailSamples; // the tail's exact length; when not given, automatic:
    int maximumTailSamples = 0;          // at most this long,
    int silenceSamples = 0;              // ending once the output has stayed silent this long
};

struct AlignedRender
{
    juce::AudioBuffer<float> output; // the input's length plus the tail
    int tailSamples = 0;
    bool endedInSilence = false;     // an automatic tail that stopped early
};

// Output below this level (-100 dBFS) on every channel counts as silence for the automatic tail.
inline constexpr float silenceLevel = 1.0e-5f;

// Throws HostError when a setting is negative.
AlignedRender renderAligned(juce::AudioPluginInstance& instance, const juce::AudioBuffer<float>& input,
                            BlockSizes& blockSizes, const AlignedRenderSettings& settings);
} // namespace Quillmore::Host
