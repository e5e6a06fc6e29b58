#include "patch/core/DcBlocker.h"
#include "patch/core/HysteresisTrigger.h"
#include "patch/core/LevelConversion.h"
#include "patch/core/OnePoleSmoother.h"
#include "patch/core/RmsAverage.h"
#include "patch/core/SampleAndHold.h"
#include "patch/core/Slide.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

using namespace PRT::dsp;

namespace
{
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
}

TEST(OnePoleSmoother, ApproachesItsTargetByTheCoefficient)
{
    OnePoleSmoother smoother(0.005f);
    EXPECT_FLOAT_EQ(smoother.next(1.0f), 0.005f);
    for (int i = 0; i < 5000; ++i)
        smoother.next(1.0f);
    EXPECT_NEAR(smoother.value(), 1.0f, 1e-5f) << "it stalls where a step rounds to nothing";
}

TEST(OnePoleSmoother, ABlockRenderGivesTheSamplesOfStepByStep)
{
    // Gliding, settling within the block, settled (the fill), at odd block sizes, with targets that
    // change between blocks, NaN and infinities included: the same bits as next() one by one.
    struct Case
    {
        float coefficient, start;
        std::vector<float> targets; // one per block
    };
    const Case cases[] = {
        {0.005f, 0.0f, {1.0f, 1.0f, 1.0f, 0.25f, 0.25f}},
        {0.5f, 3.0f, {-2.0f, -2.0f, 7.0f}},      // settles within the first block
        {1.0f, 0.0f, {0.3f, 0.3f, -0.1f}},       // arrives in one step
        {0.002f, 1e-30f, {1e-30f, 0.0f, 0.0f}},  // at rest from the start; a denormal walk
        {0.01f, 0.5f, {kNaN, 0.5f}},             // NaN stays NaN: no fill
        {0.01f, 0.5f, {std::numeric_limits<float>::infinity(), 0.5f}},
    };
    for (const Case& c : cases)
        for (int blockSize : {1, 7, 64, 1000})
        {
            OnePoleSmoother block(c.coefficient), single(c.coefficient);
            block.setValue(c.start);
            single.setValue(c.start);
            std::vector<float> out(static_cast<size_t>(blockSize));
            for (float target : c.targets)
            {
                block.render(out.data(), static_cast<PRT::Index>(blockSize), target);
                for (int i = 0; i < blockSize; ++i)
                {
                    const float expected = single.next(target);
                    ASSERT_TRUE(std::memcmp(&out[static_cast<size_t>(i)], &expected, sizeof expected) == 0)
                        << "coefficient " << c.coefficient << ", target " << target << ", block " << blockSize
                        << ", sample " << i << ": " << out[static_cast<size_t>(i)] << " for " << expected;
                }
            }
        }
}

TEST(Slide, RisesAndFallsWithTheirOwnTimes)
{
    Slide slide;
    slide.setRise(4.0f);
    slide.setFall(2.0f);
    EXPECT_FLOAT_EQ(slide.next(1.0f), 0.25f);
    EXPECT_FLOAT_EQ(slide.next(1.0f), 0.4375f);
    EXPECT_FLOAT_EQ(slide.next(0.0f), 0.21875f);

    Slide instant;
    instant.setRise(0.0f);
    instant.setFall(kNaN);
    EXPECT_EQ(instant.next(0.8f), 0.8f) << "times below one sample act as one";
    EXPECT_EQ(instant.next(-0.3f), -0.3f);
    instant.setRise(-4.0f);
    EXPECT_FLOAT_EQ(instant.next(0.7f), -0.3f + 1.0f * 0.25f) << "negative times count by magnitude";
}

TEST(HysteresisTrigger, SwitchesBetweenItsTwoThresholds)
{
    struct Step
    {
        float input;
        float expected;
    };
    HysteresisTrigger trigger;
    trigger.setThresholds(0.2f, 0.5f);
    const Step steps[] = {{0.4f, 0}, {0.5f, 1}, {0.3f, 1}, {kNaN, 1}, {0.2f, 0}, {0.45f, 0}, {kNaN, 0}, {0.9f, 1}};
    for (const auto& s : steps)
        EXPECT_EQ(trigger.next(s.input), s.expected) << "input " << s.input;

    HysteresisTrigger single;
    single.setThresholds(0.01f, 0.01f);
    EXPECT_EQ(single.next(0.01f), 1.0f);
    EXPECT_EQ(single.next(0.01f), 1.0f) << "sitting on a single threshold stays on";
    EXPECT_EQ(single.next(0.0099f), 0.0f);
}

TEST(SampleAndHold, CapturesOnlyOnARisingCrossing)
{
    SampleAndHold hold;
    EXPECT_EQ(hold.next(0.0f, 5.0f), 0.0f);
    EXPECT_EQ(hold.next(0.5f, 6.0f), 6.0f);
    EXPECT_EQ(hold.next(0.8f, 7.0f), 6.0f) << "high trigger holds";
    EXPECT_EQ(hold.next(0.01f, 8.0f), 6.0f);
    EXPECT_EQ(hold.next(0.02f, 9.0f), 9.0f);
}

TEST(DcBlocker, RemovesAConstantAndPassesAChange)
{
    DcBlocker blocker;
    EXPECT_EQ(blocker.next(1.0f), 1.0f);
    float y = 0.0f;
    for (int i = 0; i < 48000; ++i)
        y = blocker.next(1.0f);
    EXPECT_LT(std::fabs(y), 1e-5f);
    EXPECT_NEAR(blocker.next(0.0f), -1.0f, 1e-4f);
    blocker.reset();
    EXPECT_EQ(blocker.next(0.5f), 0.5f);
}

namespace
{
class RmsAverageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        history.assign(48001, 0.0);
        rms.bind({history.data(), history.size()});
        rms.setUp(48000);
        rms.prepare(48000.0f);
    }
    std::vector<double> history;
    RmsAverage rms;
};
} // namespace

TEST_F(RmsAverageTest, AConstantReachesItsLevelAtTheFirstSample)
{
    EXPECT_FLOAT_EQ(rms.next(0.5f), 0.5f);
    EXPECT_EQ(rms.window(), 1000);
    for (int i = 0; i < 3000; ++i)
        ASSERT_FLOAT_EQ(rms.next(-0.5f), 0.5f);
}

TEST_F(RmsAverageTest, AveragesTheLastThousandSamples)
{
    for (int i = 0; i < 1000; ++i)
        rms.next(1.0f);
    for (int i = 0; i < 500; ++i)
        rms.next(0.0f);
    EXPECT_FLOAT_EQ(rms.next(0.0f), std::sqrt(499.0f / 1000.0f));
    for (int i = 0; i < 498; ++i)
        rms.next(0.0f);
    EXPECT_FLOAT_EQ(rms.next(0.0f), 0.0f);
}

TEST_F(RmsAverageTest, SilenceAfterALongLoudPassageReadsAsSilence)
{
    float x = 0.3f;
    for (int i = 0; i < 200000; ++i)
    {
        x = std::fmod(x * 3.7f + 0.123f, 1.0f);
        rms.next(x - 0.5f);
    }
    for (int i = 0; i < 999; ++i)
        rms.next(0.0f);
    EXPECT_LT(rms.next(0.0f), 1e-6f);
}

TEST_F(RmsAverageTest, APrepareRestartsTheHistory)
{
    for (int i = 0; i < 100; ++i)
        rms.next(1.0f);
    rms.prepare(48000.0f);
    EXPECT_FLOAT_EQ(rms.next(0.25f), 0.25f);
}

TEST_F(RmsAverageTest, ShortOrMissingHistoryStaysInBounds)
{
    std::vector<double> guarded(10, 777.0);
    rms.bind({guarded.data(), 4});
    for (int i = 0; i < 20; ++i)
        EXPECT_NEAR(rms.next(0.5f), 0.5f, 1e-6f);
    for (std::size_t i = 4; i < guarded.size(); ++i)
        EXPECT_EQ(guarded[i], 777.0);
    rms.bind({});
    EXPECT_EQ(rms.next(1.0f), 0.0f);
    rms.bind({guarded.data(), 1});
    EXPECT_EQ(rms.next(1.0f), 0.0f);
}

TEST(RmsAverageBlocks, AWholeBlockGivesWhatSampleBySampleGives)
{
    // Histories that wrap every few windows or hardly ever, blocks of every size, the window filling
    // and restarting: the block form follows the sample form.
    for (const std::size_t size : {1001u, 1700u, 48001u})
    {
        std::vector<double> historyA(size, 0.0), historyB(size, 0.0);
        RmsAverage bySample, byBlock;
        for (RmsAverage* rms : {&bySample, &byBlock})
        {
            rms->setUp(44100);
            rms->prepare(48000.0f);
        }
        bySample.bind({historyA.data(), size});
        byBlock.bind({historyB.data(), size});
        uint32_t seed = 99;
        std::vector<float> block(300), means(300);
        for (int b = 0; b < 2000; ++b)
        {
            const std::size_t n = (b * 37) % 300;
            for (std::size_t i = 0; i < n; ++i)
            {
                seed = seed * 1664525u + 1013904223u;
                block[i] = (b / 200 % 2 == 0 ? 1.0f : 1e-3f) * (static_cast<float>(seed >> 8) / 8388608.0f - 1.0f);
            }
            if (b == 1000)
            {
                bySample.prepare(48000.0f);
                byBlock.prepare(48000.0f);
            }
            const float largest = byBlock.meanSquares(block.data(), means.data(), n);
            float expectedLargest = 0.0f;
            for (std::size_t i = 0; i < n; ++i)
            {
                const double expected = bySample.nextMeanSquare(block[i]);
                ASSERT_NEAR(means[i], expected, 1e-5 * expected + 1e-12) << "history " << size << ", block " << b;
                expectedLargest = std::max(expectedLargest, means[i]);
            }
            ASSERT_EQ(largest, expectedLargest) << "the block's largest mean square, block " << b;
        }
    }
}

TEST(RmsAverageLowRate, BelowOneKilohertzKeepsItsSetUpWindow)
{
    std::vector<double> history(801, 0.0);
    RmsAverage rms;
    rms.bind({history.data(), history.size()});
    rms.setUp(800);
    rms.prepare(800.0f);
    rms.next(1.0f);
    EXPECT_EQ(rms.window(), 800);
}

TEST(LevelConversion, DecibelsAndAmplitudes)
{
    EXPECT_EQ(amplitudeToDecibels(1.0f), 0.0f);
    EXPECT_NEAR(amplitudeToDecibels(0.5f), -6.0206f, 1e-4f);
    EXPECT_EQ(amplitudeToDecibels(0.0f), -999.0f);
    EXPECT_EQ(amplitudeToDecibels(-1.0f), -999.0f);
    EXPECT_NEAR(amplitudeToDecibels(1e-12f), -200.0f, 1e-3f);
    EXPECT_EQ(decibelsToAmplitude(0.0f), 1.0f);
    EXPECT_NEAR(decibelsToAmplitude(-20.0f), 0.1f, 1e-7f);
    EXPECT_NEAR(decibelsToAmplitude(amplitudeToDecibels(0.3f)), 0.3f, 1e-6f);
}
