// In process, on the processor with its patch: the sequences of prepareToPlay and releaseResources
// that a VST3 host never produces but other hosts and wrappers do (a VST3 host always releases before
// it prepares again; the end-to-end tests cover that through the bundle): preparing twice in a row for
// another rate or block size, and processing after releasing. A steady sine must come through whole
// after every prepare, and nothing may crash or put out garbage in between.
#include "plugin/QuillmoreAudioProcessor.h"
#include "tests/common/SteadySine.h"
#include "tests/plugin/ProcessorPlayer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace
{
constexpr float peak = 0.25f;
constexpr double frequency = 440.0;

juce::AudioBuffer<float> sine(double rate, double seconds)
{
    const int length = static_cast<int>(seconds * rate);
    juce::AudioBuffer<float> buffer(2, length);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < length; ++i)
            buffer.setSample(channel, i,
                             peak * static_cast<float>(std::sin(juce::MathConstants<double>::twoPi * frequency * i / rate
                                                                + juce::MathConstants<double>::halfPi * channel)));
    return buffer;
}

struct Step
{
    bool releaseFirst;
    double rate;
    int smallestBlock, largestBlock;
};

void expectSineWholeAfterEachStep(QuillmoreAudioProcessor& processor, const std::vector<Step>& steps,
                                  const std::string& sequence)
{
    std::mt19937 random(3);
    for (size_t s = 0; s < steps.size(); ++s)
    {
        const auto& step = steps[s];
        if (step.releaseFirst)
            processor.releaseResources();
        ProcessorPlayer::prepare(processor, step.largestBlock, juce::AudioChannelSet::stereo(),
                                 juce::AudioChannelSet::stereo(), step.rate);
        const auto output = ProcessorPlayer::render(processor, sine(step.rate, 1.0), [&] {
            return std::uniform_int_distribution<int>(step.smallestBlock, step.largestBlock)(random);
        });

        SteadySine expected;
        expected.frequency = frequency;
        expected.sampleRate = step.rate;
        expected.peak = peak;
        // The start-up ramp may open again after a prepare: 0.6 s covers it and the latency.
        const int settled = static_cast<int>(0.6 * step.rate) + processor.getLatencySamples();
        for (int channel = 0; channel < 2; ++channel)
            EXPECT_EQ(expected.faultIn(output, channel, settled), "") << sequence << ", step " << s;
    }
}
} // namespace

TEST(PrepareAgain, WithoutReleasingForAnotherRateOrBlockSizeTheSineComesThroughWhole)
{
    QuillmoreAudioProcessor processor;
    expectSineWholeAfterEachStep(processor,
                                 { { false, 44100.0, 512, 512 },
                                   { false, 96000.0, 64, 64 },      // rate and engine block change
                                   { false, 22050.0, 1, 8192 },     // and back, blocks varying
                                   { false, 22050.0, 100, 100 },    // block size alone
                                   { false, 192000.0, 100, 100 },   // rate alone
                                   { false, 192000.0, 100, 100 } }, // the same again
                                 "without releasing");
}

// A host that keeps calling after releasing gets silence, not stale or freed memory.
TEST(PrepareAgain, BlocksAfterReleasingAreSilentUntilTheNextPrepare)
{
    QuillmoreAudioProcessor processor;
    ProcessorPlayer::prepare(processor, 256);
    ProcessorPlayer::render(processor, sine(48000.0, 1.0), 256);
    processor.releaseResources();

    const auto released = ProcessorPlayer::render(processor, sine(48000.0, 0.1), 256);
    EXPECT_EQ(released.getMagnitude(0, released.getNumSamples()), 0.0f);

    expectSineWholeAfterEachStep(processor, { { false, 48000.0, 256, 256 } }, "prepared again");
}
