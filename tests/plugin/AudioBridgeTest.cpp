// The bridge from host blocks to engine blocks, measured on audio: a pass-through patcher that lags one
// engine block and a sample, as the patch does, stands in for the patch, so the output must be the
// input, delayed by exactly the reported latency, sample for sample and without a gap, for any
// sequence of host blocks.
#include "plugin/EngineBlockSize.h"
#include "tests/plugin/ProcessorHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <utility>

namespace
{
// A different sine on each channel, so that swapped or shared channels show.
juce::AudioBuffer<float> sines(int channels, int length)
{
    juce::AudioBuffer<float> buffer(channels, length);
    for (int channel = 0; channel < channels; ++channel)
        for (int i = 0; i < length; ++i)
            buffer.setSample(channel, i,
                             (0.5f - 0.2f * channel)
                                 * std::sin(2.0f * juce::MathConstants<float>::pi * (441.0f + 793.0f * channel) * i / 48000.0f));
    return buffer;
}

// The first sample at which output channel outChannel is not input channel inChannel delayed by delay
// samples (silence before), or -1.
int firstMismatch(const juce::AudioBuffer<float>& input, int inChannel, const juce::AudioBuffer<float>& output,
                  int outChannel, int delay)
{
    for (int i = 0; i < output.getNumSamples(); ++i)
    {
        const float expected = i >= delay ? input.getSample(inChannel, i - delay) : 0.0f;
        if (output.getSample(outChannel, i) != expected)
            return i;
    }
    return -1;
}

// Delay through the processor with the lagged pass-through: the latency it reports, which is the
// bridge's engine block plus the patch's block and sample.
int expectedDelay(QuillmoreAudioProcessor& processor)
{
    EXPECT_EQ(processor.getLatencySamples(), 2 * processor.getEngineBlockSize() + 1);
    return processor.getLatencySamples();
}
} // namespace

TEST(EngineBlockSize, FollowsTheHostMaximumAndTwiceItAndASampleAreReportedAsLatency)
{
    const struct
    {
        int hostMaximum;
        int engineBlock;
    } cases[] = { { -1, 64 }, { 0, 64 }, { 96, 64 }, { 97, 128 }, { 192, 128 }, { 193, 256 }, { 8192, 256 } };

    ProcessorHarness harness;
    for (const auto& c : cases)
    {
        EXPECT_EQ(Quillmore::chooseEngineBlockSize(c.hostMaximum), c.engineBlock) << c.hostMaximum;
        harness.prepare(c.hostMaximum);
        EXPECT_EQ(harness.processor.getEngineBlockSize(), c.engineBlock) << c.hostMaximum;
        EXPECT_EQ(harness.processor.getLatencySamples(), 2 * c.engineBlock + 1) << c.hostMaximum;
        EXPECT_EQ(harness.patcher.getBlockSize(), c.engineBlock) << c.hostMaximum;
    }
}

class FixedHostBlocks : public ::testing::TestWithParam<int>
{
};

TEST_P(FixedHostBlocks, ComeOutContinuousAndDelayedByTheReportedLatency)
{
    const int blockSize = GetParam();
    ProcessorHarness harness;
    harness.prepare(blockSize);
    const auto input = sines(2, 3 * 4096 + 1000);
    const auto output = harness.render(input, blockSize);

    const int delay = expectedDelay(harness.processor);
    EXPECT_EQ(firstMismatch(input, 0, output, 0, delay), -1);
    EXPECT_EQ(firstMismatch(input, 1, output, 1, delay), -1);
}

INSTANTIATE_TEST_SUITE_P(AudioBridge, FixedHostBlocks, ::testing::Values(1, 32, 64, 100, 128, 441, 512, 4096));

TEST(AudioBridge, RandomlyVaryingHostBlocksComeOutContinuous)
{
    for (const unsigned seed : { 1u, 2u, 3u })
    {
        ProcessorHarness harness;
        harness.prepare(512);
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> size(0, 512);
        const auto input = sines(2, 48000);
        const auto output = harness.render(input, [&] { return size(random); });

        const int delay = expectedDelay(harness.processor);
        EXPECT_EQ(firstMismatch(input, 0, output, 0, delay), -1) << "seed " << seed;
        EXPECT_EQ(firstMismatch(input, 1, output, 1, delay), -1) << "seed " << seed;
    }
}

TEST(AudioBridge, HostBlocksLargerThanTheFifosComeOutContinuous)
{
    ProcessorHarness harness;
    harness.prepare(512);
    int call = 0;
    const auto input = sines(2, 120000);
    // Mostly the announced size, then blocks longer than the FIFOs hold.
    const auto output = harness.render(input, [&] { return ++call % 3 == 0 ? 40000 : 300; });

    const int delay = expectedDelay(harness.processor);
    EXPECT_EQ(firstMismatch(input, 0, output, 0, delay), -1);
    EXPECT_EQ(firstMismatch(input, 1, output, 1, delay), -1);
}

TEST(AudioBridge, MonoInputFeedsBothEngineChannels)
{
    const auto mono = juce::AudioChannelSet::mono();
    for (const auto& output : { juce::AudioChannelSet::stereo(), mono })
    {
        ProcessorHarness harness;
        harness.prepare(256, mono, output);
        const auto input = sines(1, 5000);
        const auto rendered = harness.render(input, 256);

        ASSERT_EQ(rendered.getNumChannels(), output.size());
        const int delay = expectedDelay(harness.processor);
        for (int channel = 0; channel < rendered.getNumChannels(); ++channel)
            EXPECT_EQ(firstMismatch(input, 0, rendered, channel, delay), -1) << "output channel " << channel;
    }
}

TEST(AudioBridge, NonFiniteSamplesReachTheHostAsZero)
{
    ProcessorHarness harness;
    harness.prepare(128);
    auto input = sines(2, 4000);
    const float nonFinite[] = { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                                -std::numeric_limits<float>::infinity() };
    for (int i = 0; i < 3; ++i)
        for (int channel = 0; channel < 2; ++channel)
            input.setSample(channel, 700 + 900 * i + channel, nonFinite[i]);

    const auto output = harness.render(input, 100);

    // What the host must hear: the input with every non-finite sample silenced, delayed.
    auto expected = input;
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < expected.getNumSamples(); ++i)
            if (!std::isfinite(expected.getSample(channel, i)))
                expected.setSample(channel, i, 0.0f);
    const int delay = expectedDelay(harness.processor);
    EXPECT_EQ(firstMismatch(expected, 0, output, 0, delay), -1);
    EXPECT_EQ(firstMismatch(expected, 1, output, 1, delay), -1);
}

TEST(AudioBridge, HostBypassDelaysTheInputByTheReportedLatency)
{
    ProcessorHarness harness;
    harness.prepare(100);
    const auto input = sines(2, 4000);
    const auto output = harness.render(input, 100, true);

    EXPECT_EQ(firstMismatch(input, 0, output, 0, expectedDelay(harness.processor)), -1);
    EXPECT_EQ(firstMismatch(input, 1, output, 1, expectedDelay(harness.processor)), -1);
    // The patch still runs every engine block, so that what is sent to it meanwhile is taken in step.
    EXPECT_EQ(harness.patcher.processedBlocks, input.getNumSamples() / harness.processor.getEngineBlockSize());

    // Prepared again for other blocks and another rate, it starts over from silence at the new latency.
    for (const auto& [hostBlock, rate] : { std::pair { 1000, 96000.0 }, std::pair { 32, 44100.0 } })
    {
        ProcessorPlayer::prepare(harness.processor, hostBlock, juce::AudioChannelSet::stereo(),
                                 juce::AudioChannelSet::stereo(), rate);
        const auto again = harness.render(input, hostBlock, true);
        EXPECT_EQ(firstMismatch(input, 0, again, 0, expectedDelay(harness.processor)), -1) << hostBlock;
        EXPECT_EQ(firstMismatch(input, 1, again, 1, expectedDelay(harness.processor)), -1) << hostBlock;
    }
}

TEST(AudioBridge, SwitchingTheHostBypassKeepsTime)
{
    // The stand-in patch is exactly as late as the bypass, so the switches are seamless: the output is
    // the input, delayed by the latency, before, between and after them.
    ProcessorHarness harness;
    harness.prepare(256);
    const auto input = sines(2, 6144);
    juce::AudioBuffer<float> output(2, input.getNumSamples());
    juce::AudioBuffer<float> block(2, 256);
    juce::MidiBuffer midi;
    for (int position = 0, k = 0; position < input.getNumSamples(); position += 256, ++k)
    {
        for (int channel = 0; channel < 2; ++channel)
            block.copyFrom(channel, 0, input, channel, position, 256);
        if (k / 5 % 2 == 1)
            harness.processor.processBlockBypassed(block, midi);
        else
            harness.processor.processBlock(block, midi);
        for (int channel = 0; channel < 2; ++channel)
            output.copyFrom(channel, position, block, channel, 0, 256);
    }
    EXPECT_EQ(firstMismatch(input, 0, output, 0, expectedDelay(harness.processor)), -1);
    EXPECT_EQ(firstMismatch(input, 1, output, 1, expectedDelay(harness.processor)), -1);
}

TEST(AudioBridge, AfterReleaseTheOutputIsSilentUntilPreparedAgain)
{
    ProcessorHarness harness;
    harness.prepare(128);
    harness.processor.releaseResources();
    const auto output = harness.render(sines(2, 1000), 128);
    EXPECT_EQ(output.getMagnitude(0, output.getNumSamples()), 0.0f);
    EXPECT_EQ(harness.patcher.processedBlocks, 0);

    harness.prepare(128);
    const auto input = sines(2, 1000);
    EXPECT_EQ(firstMismatch(input, 0, harness.render(input, 128), 0, expectedDelay(harness.processor)), -1);
}
