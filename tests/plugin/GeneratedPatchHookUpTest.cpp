// The processor with the generated patch it ships with.
#include "plugin/QuillmoreAudioProcessor.h"
#include "tests/plugin/ProcessorPlayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <set>

TEST(GeneratedPatchHookUp, EveryHostParameterIsForwardedToAPatcherParameterOfItsOwn)
{
    QuillmoreAudioProcessor processor;
    EXPECT_EQ(processor.getNumForwardedParameters(), 48);

    std::set<int> indices;
    for (auto* parameter : processor.getParameters())
    {
        const auto& id = dynamic_cast<juce::RangedAudioParameter&>(*parameter).paramID;
        const int index = processor.getPatcherParameterIndex(id);
        EXPECT_GE(index, 0) << id;
        indices.insert(index);
    }
    EXPECT_EQ(indices.size(), 48u) << "two host parameters share a patcher parameter";
}

namespace
{
// A 441 Hz sine at half scale, a quarter turn apart on the two channels.
juce::AudioBuffer<float> sine(int length)
{
    juce::AudioBuffer<float> buffer(2, length);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < length; ++i)
            buffer.setSample(channel, i,
                             0.5f * std::sin(2.0f * juce::MathConstants<float>::pi * 441.0f * i / 48000.0f
                                             + 0.5f * juce::MathConstants<float>::pi * channel));
    return buffer;
}

// The largest difference between the output and the input delayed by `delay` samples, from sample
// `from` on, over both channels.
float largestDeviation(const juce::AudioBuffer<float>& input, const juce::AudioBuffer<float>& output, int delay, int from)
{
    float largest = 0.0f;
    for (int channel = 0; channel < 2; ++channel)
        for (int i = from; i < output.getNumSamples(); ++i)
            largest = std::max(largest, std::abs(output.getSample(channel, i) - input.getSample(channel, i - delay)));
    return largest;
}
} // namespace

TEST(GeneratedPatchHookUp, SineWithTheSectionsOffComesOutDelayedByExactlyTheReportedLatency)
{
    const struct
    {
        const char* name;
        int maximumBlock;
        std::function<int()> nextBlock;
    } cases[] = {
        { "fixed 100", 100, [] { return 100; } },
        { "fixed 512", 512, [] { return 512; } },
        { "varying 1 ... 512", 512, [random = std::mt19937(7)]() mutable { return std::uniform_int_distribution<int>(1, 512)(random); } },
    };

    for (const auto& c : cases)
    {
        QuillmoreAudioProcessor processor;
        ProcessorPlayer::setHostValue(processor, "HeadsOn", 0.0f);
        ProcessorPlayer::setHostValue(processor, "SpaceOn", 0.0f);
        ProcessorPlayer::prepare(processor, c.maximumBlock);
        const auto input = sine(60000);
        const auto output = ProcessorPlayer::render(processor, input, c.nextBlock);

        // From 0.7 s on: the start-up ramp has opened (0.5 s) and the output stage has settled.
        const int settled = 33600;
        const int delay = processor.getLatencySamples();
        EXPECT_LT(largestDeviation(input, output, delay, settled), 0.001f) << c.name;
        // One sample either way is far off: the delay is exact.
        EXPECT_GT(largestDeviation(input, output, delay - 1, settled), 0.01f) << c.name;
        EXPECT_GT(largestDeviation(input, output, delay + 1, settled), 0.01f) << c.name;
    }
}
