#include "plugin/QuillmoreAudioProcessor.h"

#include <gtest/gtest.h>

namespace
{
juce::AudioProcessor::BusesLayout layout(const juce::AudioChannelSet& in, const juce::AudioChannelSet& out)
{
    juce::AudioProcessor::BusesLayout l;
    l.inputBuses.add(in);
    l.outputBuses.add(out);
    return l;
}
} // namespace

TEST(BusLayout, AcceptsMonoMonoMonoStereoAndStereoStereoOnly)
{
    QuillmoreAudioProcessor processor;
    const auto mono = juce::AudioChannelSet::mono();
    const auto stereo = juce::AudioChannelSet::stereo();
    EXPECT_TRUE(processor.checkBusesLayoutSupported(layout(mono, mono)));
    EXPECT_TRUE(processor.checkBusesLayoutSupported(layout(mono, stereo)));
    EXPECT_TRUE(processor.checkBusesLayoutSupported(layout(stereo, stereo)));
    EXPECT_FALSE(processor.checkBusesLayoutSupported(layout(stereo, mono)));
    EXPECT_FALSE(processor.checkBusesLayoutSupported(layout(juce::AudioChannelSet::create5point1(), stereo)));
}
