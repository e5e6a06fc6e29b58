// In process, on the processor with its patch: what a VST3 host never does but other hosts and
// wrappers do (a VST3 host always releases before it prepares again; the end-to-end tests cover that
// through the bundle): preparing again for another rate or block size without releasing first. A
// steady sine must come through whole after every prepare.
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
    double rate;
    int smallestBlock, largestBlock;
};
} // namespace

TEST(PrepareAgain, WithoutReleasingForAnotherRateOrBlockSizeTheSineComesThroughWhole)
{
    const Step steps[] = {
        { 44100.0, 512, 512 },
        { 96000.0, 64, 64 },     // rate and engine block change
        { 22050.0, 1, 8192 },    // and back, blocks varying
        { 22050.0, 100, 100 },   // the block size alone
        { 192000.0, 100, 100 },  // the rate alone
        { 192000.0, 100, 100 },  // the same again
    };

    QuillmoreAudioProcessor processor;
    std::mt19937 random(3);
    for (const auto& step : steps)
    {
        ProcessorPlayer::prepare(processor, step.largestBlock, juce::AudioChannelSet::stereo(),
                                 juce::AudioChannelSet::stereo(), step.rate);
        const auto output = ProcessorPlayer::render(processor, sine(step.rate, 1.5), [&] {
            return std::uniform_int_distribution<int>(step.smallestBlock, step.largestBlock)(random);
        });

        SteadySine expected;
        expected.frequency = frequency;
        expected.sampleRate = step.rate;
        expected.peak = peak;
        // The start-up ramp may open again after a prepare, and the first prepare follows the tape's
        // start at instantiation (back at the direct signal 0.95 s in): 1 s covers them and the latency.
        const int settled = static_cast<int>(1.0 * step.rate) + processor.getLatencySamples();
        for (int channel = 0; channel < 2; ++channel)
            EXPECT_EQ(expected.faultIn(output, channel, settled), "")
                << step.rate << " Hz, blocks " << step.smallestBlock << " to " << step.largestBlock;
    }
}
