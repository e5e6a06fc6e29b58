// The warble values the editor shows, from the real patch through the processor while audio runs.
#include "tests/plugin/ProcessorPlayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

TEST(WarbleValues, MoveWithTheRealPatchsWarbleWhileAudioRuns)
{
    QuillmoreAudioProcessor processor;
    ProcessorPlayer::prepare(processor, 512);
    juce::AudioBuffer<float> chunk(2, 4800); // 100 ms of a 440 Hz sine
    for (int i = 0; i < chunk.getNumSamples(); ++i)
        for (int c = 0; c < 2; ++c)
            chunk.setSample(c, i, 0.25f * std::sin(6.2831853f * 440.0f * static_cast<float>(i) / 48000.0f));
    const auto blocks = [] { return 512; };

    ProcessorPlayer::render(processor, chunk, blocks);
    EXPECT_EQ(processor.warbleL.load(), 0.5f) << "no master warble: no deflection";
    EXPECT_EQ(processor.warbleR.load(), 0.5f);

    ProcessorPlayer::setHostValue(processor, "Wow", 100.0f);
    ProcessorPlayer::setHostValue(processor, "MstrWarble", 100.0f);
    ProcessorPlayer::setHostValue(processor, "WowRate", 2.0f);
    std::set<float> left, right;
    for (int k = 0; k < 40; ++k)
    {
        ProcessorPlayer::render(processor, chunk, blocks);
        left.insert(processor.warbleL.load());
        right.insert(processor.warbleR.load());
        ASSERT_TRUE(processor.warbleL.load() >= 0.24f && processor.warbleL.load() <= 0.76f) << processor.warbleL.load();
        ASSERT_TRUE(processor.warbleR.load() >= 0.24f && processor.warbleR.load() <= 0.76f) << processor.warbleR.load();
    }
    EXPECT_GT(left.size(), 10u) << "the meter moves";
    EXPECT_GT(right.size(), 10u);
    EXPECT_GT(*left.rbegin() - *left.begin(), 0.3f) << "swinging over most of 0.25 .. 0.75";

    ProcessorPlayer::setHostValue(processor, "HeadsOn", 0.0f);
    ProcessorPlayer::render(processor, chunk, blocks);
    EXPECT_EQ(processor.warbleL.load(), 0.5f) << "the Heads off: no deflection shown";
}
