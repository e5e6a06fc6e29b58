#pragma once

#include "tools/host/PluginLoading.h"

// The bundle that this build produced (the test target depends on it).
inline juce::File builtBundle()
{
    return juce::File(QUILLMORE_VST3_BUNDLE);
}

inline Quillmore::Host::HostedPlugin loadBuiltBundle(double sampleRate = 48000.0, int maximumBlockSize = 512,
                                                     int inputChannels = 2, int outputChannels = 2)
{
    return Quillmore::Host::loadPlugin(builtBundle(), sampleRate, maximumBlockSize, inputChannels, outputChannels);
}
