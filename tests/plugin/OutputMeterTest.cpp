#include "plugin/OutputMeter.h"
#include "tests/plugin/ProcessorHarness.h"

#include <gtest/gtest.h>

namespace
{
// Host blocks of a constant level on each channel, 128 samples each.
void playLevels(ProcessorHarness& harness, float left, float right, int blocks)
{
    juce::AudioBuffer<float> input(2, 128 * blocks);
    juce::FloatVectorOperations::fill(input.getWritePointer(0), left, input.getNumSamples());
    juce::FloatVectorOperations::fill(input.getWritePointer(1), right, input.getNumSamples());
    harness.render(input, 128);
}
} // namespace

TEST(OutputMeter, LevelToMeterValue)
{
    const struct
    {
        float peak;
        float meter;
    } cases[] = {
        { 1.0f, 1.0f },     { 0.5f, 0.7072f },  { 0.1f, 0.2518f }, { 0.01f, 0.0130f }, { 0.00316f, 0.0f },
        { 0.000001f, 0.0f }, { 0.0f, 0.0f },    { -1.0f, 0.0f },   { 4.0f, 1.0f },
    };
    for (const auto& c : cases)
        EXPECT_NEAR(Quillmore::levelToMeterValue(c.peak), c.meter, 0.00005f) << c.peak;
}

TEST(OutputMeter, ProcessorMetersTheOutputAndLetsItFallThreePercentPerBlock)
{
    ProcessorHarness harness;
    harness.prepare(128);
    auto& processor = harness.processor;

    // The output follows the input two engine blocks and a sample late; a steady level holds the meter.
    playLevels(harness, 0.5f, 0.1f, 4);
    EXPECT_NEAR(processor.outputLevelL.load(), 0.7072f, 0.00005f);
    EXPECT_NEAR(processor.outputLevelR.load(), 0.2518f, 0.00005f);
    playLevels(harness, 0.5f, 0.1f, 1);
    EXPECT_NEAR(processor.outputLevelL.load(), 0.7072f, 0.00005f);

    playLevels(harness, 1.0f, 1.0f, 3);
    ASSERT_EQ(processor.outputLevelL.load(), 1.0f);

    // Two blocks and a sample of the level still in the pipeline, then silence: 0.97, 0.9409, ...
    playLevels(harness, 0.0f, 0.0f, 3);
    float expected = 1.0f;
    for (int block = 0; block < 5; ++block)
    {
        playLevels(harness, 0.0f, 0.0f, 1);
        expected *= 0.97f;
        EXPECT_FLOAT_EQ(processor.outputLevelL.load(), expected) << "silent block " << block + 1;
        EXPECT_FLOAT_EQ(processor.outputLevelR.load(), expected) << "silent block " << block + 1;
    }
}

TEST(OutputMeter, ClipLightsFromExactly099AndGoOffWithTheNextLowerBlock)
{
    ProcessorHarness harness;
    harness.prepare(128);
    auto& processor = harness.processor;

    // Each level fills the last of four blocks: it reaches the output two blocks and a sample late.
    playLevels(harness, 0.99f, 0.9899f, 4);
    EXPECT_TRUE(processor.clipL.load());
    EXPECT_FALSE(processor.clipR.load());

    playLevels(harness, -0.995f, 0.5f, 4);
    EXPECT_TRUE(processor.clipL.load()) << "negative peaks count by their size";

    playLevels(harness, 0.9899f, 0.99f, 4);
    EXPECT_FALSE(processor.clipL.load());
    EXPECT_TRUE(processor.clipR.load());
}
