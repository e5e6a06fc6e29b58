#include "patch/core/SignalBuffer.h"
#include "patch/core/WriteBufferSample.h"

#include "tests/runtime/CountingPlatform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace PRT;

TEST(SignalBuffer, ResizeKeepsOldSamplesAndZeroesTheGrowth)
{
    test::CountingPlatform platform;
    float* buffer = resizeSignalBuffer(nullptr, 0, 4);
    ASSERT_NE(buffer, nullptr);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(buffer[i], 0.0f);
    fillSignalRange(buffer, 4, 7.0f, 0);

    buffer = resizeSignalBuffer(buffer, 4, 64);
    for (int i = 0; i < 64; ++i)
        ASSERT_EQ(buffer[i], i < 4 ? 7.0f : 0.0f) << i;

    // Zeroing starts at the old count the caller names, even inside the old storage.
    buffer = resizeSignalBuffer(buffer, 2, 8);
    EXPECT_EQ(buffer[1], 7.0f);
    EXPECT_EQ(buffer[2], 0.0f);

    EXPECT_EQ(resizeSignalBuffer(buffer, 8, 0), nullptr);
    EXPECT_EQ(platform.releases, 1) << "a count of 0 frees the buffer";
    EXPECT_EQ(platform.reallocations, 3) << "the other resizes reallocate through the platform";
}

TEST(SignalBuffer, FillSignalRangeStartsWhereAsked)
{
    float samples[5] = {1, 1, 1, 1, 1};
    fillSignalRange(samples, 5, 3.0f, 2);
    EXPECT_EQ(std::vector<float>(samples, samples + 5), (std::vector<float>{1, 1, 3, 3, 3}));
    fillSignalRange(samples, 5, 9.0f, 5);
    fillSignalRange(samples, 5, 9.0f, 7);
    EXPECT_EQ(samples[4], 3.0f);
}

namespace
{
struct TwoChannelBuffer
{
    TwoChannelBuffer(size_t frames) : ref("table", false), view(&ref)
    {
        view.requestChannels(2);
        ref.setRequestedSizeInBytes(frames * 2 * sizeof(double));
        view.allocateIfNeeded();
    }

    double at(size_t frame, size_t channel) const { return view.getData()[frame * 2 + channel]; }

    DataRef ref;
    Float64Buffer view;
};
} // namespace

TEST(WriteBufferSample, WritesInsideTheBufferOnly)
{
    TwoChannelBuffer buffer(4);
    ASSERT_EQ(buffer.view.getSize(), 4u);

    writeBufferSample(buffer.view, 0.5f, 2.9f, 1, 0.0f);
    EXPECT_EQ(buffer.at(2, 1), 0.5) << "the index is truncated";
    EXPECT_TRUE(buffer.ref.isTouched());

    buffer.ref.setTouched(false);
    const struct
    {
        float index;
        int64_t channel;
    } outside[] = {{4.0f, 0}, {-0.5f, 0}, {-1.0f, 0}, {1.0f, 2}, {1.0f, -1}, {std::nanf(""), 0}};
    for (const auto& c : outside)
    {
        writeBufferSample(buffer.view, 9.0f, c.index, c.channel, 0.0f);
        EXPECT_FALSE(buffer.ref.isTouched()) << c.index << "/" << c.channel;
    }
    for (size_t frame = 0; frame < 4; ++frame)
        for (size_t channel = 0; channel < 2; ++channel)
            EXPECT_EQ(buffer.at(frame, channel), frame == 2 && channel == 1 ? 0.5 : 0.0);
}

TEST(WriteBufferSample, OverdubAddsTheScaledStoredSample)
{
    TwoChannelBuffer buffer(2);
    writeBufferSample(buffer.view, 1.0f, 0, 0, 0.0f);
    writeBufferSample(buffer.view, 0.25f, 0, 0, 0.5f);
    EXPECT_DOUBLE_EQ(buffer.at(0, 0), 0.75);
}

TEST(WriteBufferSample, ABufferWithoutStorageOnlyGetsTouched)
{
    DataRef ref("empty", false);
    Float64Buffer view(&ref);
    view.requestChannels(1);
    EXPECT_EQ(view.getSize(), 0u);
    writeBufferSample(view, 1.0f, 0, 0, 1.0f);
    EXPECT_FALSE(ref.isTouched()) << "no frames: nothing happens";
}
