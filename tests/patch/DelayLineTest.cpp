#include "patch/core/Allpass.h"
#include "patch/core/CrossfadedDelay.h"
#include "patch/core/DelayLine.h"
#include "patch/core/SteadySignal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

using namespace PRT::dsp;
using PRT::bitsOf;

namespace
{
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// A line of 16 samples, maximum delay 10, that has been fed 1, 2, ..., written.
class DelayLineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        line.setMaximumDelay(10.0);
        storage.assign(line.requiredCapacity(), 0.0);
        line.bind({storage.data(), storage.size()});
    }
    void feed(int count)
    {
        for (int i = 0; i < count; ++i)
            line.write(float(++written));
    }

    DelayLine line;
    std::vector<float> storage;
    int written = 0;
};
} // namespace

TEST_F(DelayLineTest, SizesItsStorageToThePowerOfTwoAboveTheMaximum)
{
    EXPECT_EQ(line.requiredCapacity(), 16u);
    line.setMaximumDelay(0.5);
    EXPECT_EQ(line.maximumDelay(), 2);
    line.setMaximumDelay(kNaN);
    EXPECT_EQ(line.maximumDelay(), 2);
    line.setMaximumDelay(4097.9);
    EXPECT_EQ(line.maximumDelay(), 4097);
    EXPECT_EQ(line.requiredCapacity(), 8192u);
}

TEST_F(DelayLineTest, LinearReadPositions)
{
    feed(40);
    // The sample about to be written is number 41: delay d reads sample 41 - d.
    const struct
    {
        float delay;
        float expected;
    } cases[] = {{1.0f, 40.0f}, {3.0f, 38.0f}, {2.25f, 38.75f}, {9.5f, 31.5f}, {10.0f, 31.0f}, {50.0f, 31.0f},
                 {0.0f, 40.0f}, {0.5f, 40.0f}, {-3.0f, 40.0f}, {kNaN, 40.0f}};
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(line.readLinear(c.delay), c.expected) << "delay " << c.delay;
}

TEST_F(DelayLineTest, FourPointReadPositions)
{
    feed(40);
    // Whole delays read one sample later than the linear read; on a ramp the interpolation is exact
    // from 3 samples on (below, its newest point is the slot about to be written).
    const struct
    {
        float delay;
        float expected;
    } cases[] = {{2.0f, 40.0f}, {3.0f, 39.0f}, {3.5f, 38.5f}, {6.25f, 35.75f}, {10.0f, 32.0f}, {50.0f, 32.0f},
                 {0.0f, 25.0f}, {kNaN, 25.0f}};
    for (const auto& c : cases)
        EXPECT_NEAR(line.readFourPoint(c.delay), c.expected, 1e-4) << "delay " << c.delay;
    // A delay of one sample reaches the oldest slot: the sample written 16 samples ago.
    EXPECT_FLOAT_EQ(line.readFourPoint(1.0f), 25.0f);
}

TEST_F(DelayLineTest, FourPointReadIsExactOnACubic)
{
    DelayLine cubicLine;
    cubicLine.setMaximumDelay(10.0);
    cubicLine.bind({storage.data(), storage.size()});
    const auto cubic = [](double n) { return 0.001 * n * n * n - 0.02 * n * n + 0.5 * n; };
    for (int n = 0; n < 20; ++n)
        cubicLine.write(float(cubic(n)));
    // Sample 20 is next; delay d reads the curve at 21 - d.
    for (const float d : {3.1f, 3.5f, 4.75f, 7.3f})
        EXPECT_NEAR(cubicLine.readFourPoint(d), cubic(21.0 - d), 2e-5) << "delay " << d;
}

TEST_F(DelayLineTest, AFreshLineReadsTheSlotAboutToBeWrittenAtDelayZero)
{
    storage[0] = 0.75;
    EXPECT_EQ(line.readLinear(0.0f), 0.75f);
    feed(1);
    EXPECT_EQ(line.readLinear(0.0f), 1.0f) << "once written, the shortest delay is one sample";
}

TEST_F(DelayLineTest, WithoutStorageItReadsZeros)
{
    DelayLine empty;
    empty.bind({});
    empty.write(1.0f);
    EXPECT_EQ(empty.readLinear(1.0f), 0.0f);
    EXPECT_EQ(empty.readFourPoint(2.0f), 0.0f);
}

TEST_F(DelayLineTest, StorageOfAnyLengthIsNeverLeft)
{
    std::vector<float> guarded(40, 777.0);
    DelayLine odd;
    odd.setMaximumDelay(30.0);
    odd.bind({guarded.data(), 20});
    EXPECT_EQ(odd.capacity(), 16u);
    odd.clear();
    for (int i = 0; i < 100; ++i)
    {
        odd.write(float(i));
        for (float d = -2.0f; d < 40.0f; d += 0.75f)
        {
            ASSERT_NE(odd.readLinear(d), 777.0f);
            ASSERT_NE(odd.readFourPoint(d), 777.0f);
        }
    }
    for (std::size_t i = 20; i < guarded.size(); ++i)
        EXPECT_EQ(guarded[i], 777.0) << "slot " << i;

    // Rebinding to smaller storage brings the positions back inside it.
    odd.bind({guarded.data(), 4});
    odd.write(5.0f);
    EXPECT_EQ(guarded[0], 5.0);
}

TEST_F(DelayLineTest, RewindsOnlyWhenAPositionLiesBeyondTheMaximum)
{
    feed(5);
    line.rewindIfBeyondMaximum();
    EXPECT_EQ(line.writeIndex(), 5);
    feed(6);
    line.rewindIfBeyondMaximum();
    EXPECT_EQ(line.writeIndex(), 0);
}

namespace
{
// Crossfaded delay at 1 kHz over a ramp input: the sample written at step n is n + 1.
class CrossfadedDelayTest : public ::testing::Test
{
protected:
    void setUp(float crossfadeMs, CrossfadedDelay::Interpolation interpolation = CrossfadedDelay::Interpolation::Linear)
    {
        delay = CrossfadedDelay(interpolation);
        delay.line().setMaximumDelay(64.0);
        storage.assign(delay.line().requiredCapacity(), 0.0);
        delay.line().bind({storage.data(), storage.size()});
        delay.setCrossfade(1000.0f, crossfadeMs);
    }
    float step(float time) { return delay.next(time, float(++n)); }

    CrossfadedDelay delay;
    std::vector<float> storage;
    int n = 0;
};
} // namespace

TEST_F(CrossfadedDelayTest, WithoutCrossfadeANewTimeActsOneSampleLater)
{
    setUp(0.0f);
    for (int i = 0; i < 20; ++i)
        step(2.0f);
    // A read at delay d gives the number of the sample being written minus d.
    float previousTime = 2.0f;
    for (const float time : {5.0f, 3.0f, 7.5f, 7.5f, 4.0f})
    {
        const float writing = float(n + 1);
        EXPECT_FLOAT_EQ(step(time), writing - previousTime) << "time " << time;
        previousTime = time;
    }
}

TEST_F(CrossfadedDelayTest, FadesLinearlyFromTheOldTapToTheNewOne)
{
    setUp(4.0f);
    EXPECT_EQ(delay.crossfadeLength(), 4);
    for (int i = 0; i < 20; ++i)
        step(2.0f);
    float writing = float(n + 1);
    EXPECT_FLOAT_EQ(step(10.0f), writing - 2.0f) << "the change itself still reads the old tap";
    for (const float oldWeight : {0.75f, 0.5f, 0.25f})
    {
        writing = float(n + 1);
        EXPECT_FLOAT_EQ(step(10.0f), (writing - 2.0f) * oldWeight + (writing - 10.0f) * (1.0f - oldWeight))
            << "old weight " << oldWeight;
    }
    writing = float(n + 1);
    EXPECT_FLOAT_EQ(step(10.0f), writing - 10.0f);
}

TEST_F(CrossfadedDelayTest, ATimeArrivingDuringAFadeWaitsForItToFinish)
{
    setUp(4.0f);
    for (int i = 0; i < 20; ++i)
        step(2.0f);
    step(10.0f);
    std::vector<float> out;
    for (int i = 0; i < 8; ++i)
        out.push_back(step(20.0f));
    // Samples 22 to 29: three more steps of the 2 -> 10 fade, a plain read at 10 that starts the
    // 10 -> 20 fade, its three steps, then the plain read at 20.
    EXPECT_FLOAT_EQ(out[0], (22.0f - 2.0f) * 0.75f + (22.0f - 10.0f) * 0.25f);
    EXPECT_FLOAT_EQ(out[2], (24.0f - 2.0f) * 0.25f + (24.0f - 10.0f) * 0.75f);
    EXPECT_FLOAT_EQ(out[3], 25.0f - 10.0f);
    EXPECT_FLOAT_EQ(out[4], (26.0f - 10.0f) * 0.75f + (26.0f - 20.0f) * 0.25f);
    EXPECT_FLOAT_EQ(out[7], 29.0f - 20.0f);
}

TEST_F(CrossfadedDelayTest, ACrossfadeShortenedDuringAFadeStaysFinite)
{
    setUp(50.0f);
    for (int i = 0; i < 20; ++i)
        step(2.0f);
    step(10.0f);
    step(10.0f);
    delay.setCrossfade(1000.0f, 0.0f);
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(std::isfinite(step(10.0f)));
    const float writing = float(n + 1);
    EXPECT_FLOAT_EQ(step(10.0f), writing - 10.0f);
}

TEST_F(CrossfadedDelayTest, TheFourPointReaderReadsOneSampleLater)
{
    setUp(0.0f, CrossfadedDelay::Interpolation::FourPoint);
    for (int i = 0; i < 30; ++i)
        step(6.0f);
    const float writing = float(n + 1);
    EXPECT_FLOAT_EQ(step(6.0f), writing - 5.0f);
}

namespace
{
// A stage of up to 100 ms at 1 kHz (one sample per ms) on zeroed lines of its own.
void prepareStage(Allpass& stage, std::vector<float>& feedForward, std::vector<float>& feedBack)
{
    stage.setMaximumDelay(100.0);
    const auto capacity = stage.feedForward().requiredCapacity();
    feedForward.assign(capacity, 0.0);
    feedBack.assign(capacity, 0.0);
    stage.feedForward().bind({feedForward.data(), capacity});
    stage.feedBack().bind({feedBack.data(), capacity});
    stage.prepare(1000.0f);
}

class AllpassTest : public ::testing::Test
{
protected:
    void SetUp() override { prepareStage(allpass, feedForward, feedBack); }
    std::vector<float> impulseResponse(float timeMs, float gain, int length)
    {
        std::vector<float> out;
        for (int i = 0; i < length; ++i)
            out.push_back(allpass.next(i == 0 ? 1.0f : 0.0f, timeMs, gain));
        return out;
    }

    Allpass allpass;
    std::vector<float> feedForward, feedBack;
};
} // namespace

TEST_F(AllpassTest, ImpulseResponseOfOneStage)
{
    const auto y = impulseResponse(5.0f, 0.5f, 16);
    std::vector<float> expected(16, 0.0f);
    expected[0] = -0.5f;
    expected[5] = 1.0f - 0.25f;
    expected[10] = 0.5f * 0.75f;
    expected[15] = 0.25f * 0.75f;
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(y[i], expected[i]) << "sample " << i;
}

TEST_F(AllpassTest, KeepsTheEnergyOfAnImpulse)
{
    double energy = 0.0;
    for (const float y : impulseResponse(7.0f, 0.7f, 4000))
        energy += double(y) * y;
    EXPECT_NEAR(energy, 1.0, 1e-3);
}

TEST_F(AllpassTest, ClampsGainAndDelay)
{
    EXPECT_FLOAT_EQ(impulseResponse(5.0f, 1.5f, 1)[0], -0.99f);
    SetUp();
    EXPECT_FLOAT_EQ(impulseResponse(5.0f, -0.5f, 6)[5], 1.0f) << "negative gains act as 0";
    SetUp();
    EXPECT_FLOAT_EQ(impulseResponse(900.0f, 0.0f, 101)[100], 1.0f) << "delay limited to the maximum";
    SetUp();
    EXPECT_EQ(impulseResponse(5.0f, kNaN, 6)[5], 1.0f) << "NaN gain acts as 0";
}

// A block at one delay, taken four samples at a time where it can, gives exactly what the stage gives
// sample by sample: at delays below, at and above the four-sample reach, across the lines' wrap,
// from a fresh start and in blocks of odd lengths.
TEST_F(AllpassTest, ABlockAtOneDelayMatchesTheStageSampleBySample)
{
    for (const float delaySamples : {0.0f, 1.0f, 2.5f, 4.0f, 4.5f, 5.0f, 17.25f, 99.9f, 100.0f})
    {
        Allpass reference;
        std::vector<float> referenceFeedForward, referenceFeedBack;
        prepareStage(reference, referenceFeedForward, referenceFeedBack);
        SetUp();

        float seed = 0.3f;
        for (const PRT::Index length : {1u, 7u, 64u, 3u, 128u, 61u, 200u})
        {
            std::vector<float> signal(length), expected(length);
            for (float& x : signal)
                x = seed = std::fmod(seed * 7.13f + 0.37f, 2.0f) - 1.0f;
            for (PRT::Index i = 0; i < length; ++i)
                expected[i] = reference.next(signal[i], delaySamples, 0.6f); // 1 sample per ms
            allpass.process(signal.data(), length, allpass.delaySamples(delaySamples), 0.6f);
            ASSERT_EQ(signal, expected) << "delay " << delaySamples << ", block of " << length;
        }
    }
}

// A block whose delay moves from sample to sample gives what the stage gives sample by sample.
TEST_F(AllpassTest, ABlockAtMovingDelaysMatchesTheStageSampleBySample)
{
    Allpass reference;
    std::vector<float> referenceFeedForward, referenceFeedBack;
    prepareStage(reference, referenceFeedForward, referenceFeedBack);
    float seed = 0.3f, time = 0.0f;
    for (const PRT::Index length : {1u, 64u, 3u, 128u, 200u})
    {
        std::vector<float> signal(length), expected(length), delays(length);
        for (PRT::Index i = 0; i < length; ++i)
        {
            signal[i] = seed = std::fmod(seed * 7.13f + 0.37f, 2.0f) - 1.0f;
            delays[i] = allpass.delaySamples(time = std::fmod(time + 0.77f, 120.0f));
            expected[i] = reference.next(signal[i], time, 0.6f);
        }
        allpass.process(signal.data(), length, delays.data(), 0.6f);
        ASSERT_EQ(signal, expected) << "block of " << length;
    }
}

// A block through a crossfaded line gives the very samples its per-sample calls give: at a steady
// fractional time (the stretch read), across a change of time inside the block (four-point; a linear
// line's block takes one time), at the shortest and longest times and around the reach of four
// samples at once, and with a line that wraps many times.
TEST(CrossfadedDelayBlockTest, ABlockIsTheSameAsItsSamplesOneByOne)
{
    struct Case
    {
        const char* what;
        std::vector<float> times; // one per block
    };
    const Case cases[] = {
        {"steady fraction", {37.3f, 37.3f, 37.3f, 37.3f}},
        {"whole", {1000.0f, 1000.0f, 1000.0f}},
        {"changes", {12.5f, 40.25f, 40.25f, 3.0f, 3.0f}},
        {"shortest", {0.0f, 1.0f, 1.0f, 0.5f}},
        // Where four samples at once would read a slot that an earlier one of them writes.
        {"around the four-sample reach",
         {1.0f, 1.0f, 1.5f, 1.5f, 2.0f, 2.0f, 2.5f, 2.5f, 3.0f, 3.0f, 3.5f, 3.5f, 4.0f, 4.0f, 5.5f, 5.5f, 6.0f, 6.0f, 6.5f, 6.5f, 7.0f, 7.0f, 8.0f, 8.0f}},
        {"beyond the maximum", {5000.0f, 5000.0f, 1500.75f}},
    };
    for (const auto interpolation : {CrossfadedDelay::Interpolation::FourPoint, CrossfadedDelay::Interpolation::Linear})
        for (const Case& c : cases)
        {
            const bool fourPoint = interpolation == CrossfadedDelay::Interpolation::FourPoint;
            CrossfadedDelay byBlock(interpolation), bySample(interpolation);
            std::vector<float> storageA, storageB;
            for (auto* pair : {&byBlock, &bySample})
            {
                pair->line().setMaximumDelay(1200.0);
                // A linear line reads through one tap only once no fade runs: fades of three samples.
                pair->setCrossfade(48000.0f, fourPoint ? 0.0f : 0.07f);
            }
            storageA.assign(byBlock.line().requiredCapacity(), 0.0);
            storageB.assign(bySample.line().requiredCapacity(), 0.0);
            byBlock.line().bind({storageA.data(), storageA.size()});
            bySample.line().bind({storageB.data(), storageB.size()});

            unsigned seed = 1;
            for (int round = 0; round < 40; ++round)
                for (size_t b = 0; b < c.times.size(); ++b)
                {
                    // Blocks of 64 and 61 samples, so that the four-sample groups meet the wrap at
                    // every offset.
                    const size_t length = round % 2 == 0 ? 64 : 61;
                    std::vector<float> input(length), delay(length), out(length);
                    for (size_t i = 0; i < length; ++i)
                    {
                        seed = seed * 1103515245u + 12345u;
                        // Now and then a negative zero, whose sign a read at a whole delay keeps only
                        // if the other slot it weighs by 0 is the right one.
                        input[i] = seed % 7 == 0 ? -0.0f : static_cast<float>(seed >> 8) / 16777216.0f - 0.5f;
                        // The time of the block, switched a third of the way in.
                        delay[i] = fourPoint && i < 21 && b > 0 ? c.times[b - 1] : c.times[b];
                    }
                    if (fourPoint)
                        byBlock.process(delay.data(), input.data(), out.data(), length);
                    else
                        byBlock.process(c.times[b], input.data(), out.data(), length);
                    for (size_t i = 0; i < length; ++i)
                        ASSERT_EQ(bitsOf(out[i]), bitsOf(bySample.next(delay[i], input[i])))
                            << c.what << (fourPoint ? " (four-point)" : " (linear)") << ", block " << b << ", sample " << i;
                }
        }
}

TEST_F(DelayLineTest, ABlockWriteIsTheSameAsWritingEachSampleAcrossTheWrap)
{
    for (const size_t length : {size_t{1}, size_t{5}, size_t{16}, size_t{23}})
    {
        DelayLine single;
        single.setMaximumDelay(10.0);
        std::vector<float> singleStorage(single.requiredCapacity(), 0.0);
        single.bind({singleStorage.data(), singleStorage.size()});
        feed(13); // the block starts three samples before the wrap
        for (int i = 0; i < 13; ++i)
            single.write(float(i + 1));

        std::vector<float> block(length);
        for (size_t i = 0; i < length; ++i)
            block[i] = float(100 + i);
        line.writeBlock(block.data(), block.size());
        for (float x : block)
            single.write(x);

        EXPECT_EQ(storage, singleStorage) << length;
        EXPECT_EQ(line.writeIndex(), single.writeIndex()) << length;
        for (float delay : {0.0f, 1.0f, 2.5f, 10.0f})
            EXPECT_EQ(line.readLinear(delay), single.readLinear(delay)) << length << ", delay " << delay;
        line = DelayLine();
        SetUp();
        written = 0;
    }
}
