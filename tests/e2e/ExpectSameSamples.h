#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <gtest/gtest.h>

// Sample-for-sample equality of the first `length` samples of two channels; stops at the first
// difference and names it.
inline void expectSameSamples(const juce::AudioBuffer<float>& actual, int actualChannel,
                              const juce::AudioBuffer<float>& expected, int expectedChannel, int length)
{
    for (int i = 0; i < length; ++i)
        ASSERT_EQ(actual.getSample(actualChannel, i), expected.getSample(expectedChannel, i))
            << "channel " << actualChannel << ", sample " << i;
}

// The whole actual channel is the expected one running `delay` samples late: silence before it and
// after its end.
inline void expectDelayedSamples(const juce::AudioBuffer<float>& actual, int actualChannel,
                                 const juce::AudioBuffer<float>& expected, int expectedChannel, int delay)
{
    for (int i = 0; i < actual.getNumSamples(); ++i)
    {
        const int source = i - delay;
        const float value = source >= 0 && source < expected.getNumSamples() ? expected.getSample(expectedChannel, source) : 0.0f;
        ASSERT_EQ(actual.getSample(actualChannel, i), value) << "channel " << actualChannel << ", sample " << i
                                                             << ", delay " << delay;
    }
}
