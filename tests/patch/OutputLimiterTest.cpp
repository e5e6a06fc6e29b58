// The stereo-linked output limiter measured on what it outputs: the fade-in after construction, the
// linked drop, the recovery, and a prepare that leaves the gain alone.
#include "patch/space/OutputLimiter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using PRT::dsp::OutputLimiter;

namespace
{
// Runs constant input pairs until the limiter's output has reached `level` × input on the left,
// returns the seconds it took (negative when it never did within `limitSeconds`).
double secondsUntil(OutputLimiter& limiter, float sampleRate, float input, float level, double limitSeconds = 20.0)
{
    constexpr int block = 256;
    std::vector<float> inL(block, input), inR(block, -input), outL(block), outR(block);
    for (long done = 0; done < static_cast<long>(limitSeconds * sampleRate); done += block)
    {
        limiter.process(inL.data(), inR.data(), outL.data(), outR.data(), block);
        for (int i = 0; i < block; ++i)
            if (outL[i] >= level * input)
                return static_cast<double>(done + i + 1) / sampleRate;
    }
    return -1.0;
}
} // namespace

TEST(OutputLimiterTest, FadesInFromSilenceOverAboutSixAndAHalfSecondsAtEveryRate)
{
    for (float rate : {44100.0f, 48000.0f, 96000.0f})
    {
        OutputLimiter limiter;
        limiter.prepare(rate);
        float l = 0.5f, r = 0.5f;
        limiter.process(&l, &r, &l, &r, 1);
        EXPECT_LT(l, 1e-4f) << rate << ": starts from silence";
        // Additively to 0.01 in 0.01 / rate samples, then by (1 + rate) per sample up to 1.
        const double expected = 0.01 / 0.707 + std::log(100.0) / 0.707;
        EXPECT_NEAR(secondsUntil(limiter, rate, 0.5f, 1.0f), expected, 0.02) << rate;
        EXPECT_EQ(limiter.gain(), 1.0f);
    }
}

TEST(OutputLimiterTest, APeakOnOneChannelLowersBothAndRecoversByHalfInUnderOneSecond)
{
    OutputLimiter limiter;
    limiter.prepare(48000.0f);
    secondsUntil(limiter, 48000.0f, 0.25f, 1.0f);

    float l = 2.0f, r = 0.3f;
    limiter.process(&l, &r, &l, &r, 1);
    EXPECT_FLOAT_EQ(l, 1.0f) << "the peak channel at the threshold";
    EXPECT_FLOAT_EQ(r, 0.15f) << "the other channel by the same gain";

    // From 0.5 back to 0.75 of full level: ln 1.5 / rate (0.57 s); from 0.5 to 1: ln 2 / rate (0.98 s).
    OutputLimiter copy = limiter;
    EXPECT_NEAR(secondsUntil(limiter, 48000.0f, 0.25f, 0.75f), std::log(1.5) / 0.707, 0.005);
    EXPECT_NEAR(secondsUntil(copy, 48000.0f, 0.25f, 1.0f), std::log(2.0) / 0.707, 0.005);
}

TEST(OutputLimiterTest, PassesInputWithinTheThresholdUnchangedOnceFadedIn)
{
    OutputLimiter limiter;
    limiter.prepare(44100.0f);
    secondsUntil(limiter, 44100.0f, 0.25f, 1.0f);
    std::vector<float> inL(100), inR(100), outL(100), outR(100);
    for (int i = 0; i < 100; ++i)
    {
        inL[i] = std::sin(0.3f * static_cast<float>(i));
        inR[i] = i == 57 ? -1.0f : 0.1f * static_cast<float>(i % 7);
    }
    limiter.process(inL.data(), inR.data(), outL.data(), outR.data(), 100);
    EXPECT_EQ(outL, inL);
    EXPECT_EQ(outR, inR);
    // A peak late in a block still drops the gain at its own sample, not before.
    inL[93] = 4.0f;
    limiter.process(inL.data(), inR.data(), outL.data(), outR.data(), 100);
    EXPECT_EQ(outL[92], inL[92]);
    EXPECT_FLOAT_EQ(outL[93], 1.0f);
    EXPECT_FLOAT_EQ(outL[94], inL[94] * 0.25f * (1.0f + limiter.releaseRate()));
}

TEST(OutputLimiterTest, APrepareChangesTheReleaseButNeitherRestartsNorJumpsTheFadeIn)
{
    OutputLimiter limiter;
    limiter.prepare(44100.0f);
    secondsUntil(limiter, 44100.0f, 0.5f, 0.5f);
    const float before = limiter.gain();
    for (float rate : {96000.0f, 0.0f, NAN, -1.0f, 22050.0f})
    {
        limiter.prepare(rate);
        EXPECT_EQ(limiter.gain(), before) << rate;
        EXPECT_GT(limiter.releaseRate(), 0.0f) << rate;
        EXPECT_TRUE(std::isfinite(limiter.releaseRate())) << rate;
    }
    EXPECT_FLOAT_EQ(limiter.releaseRate(), 0.707f / 22050.0f);
}
