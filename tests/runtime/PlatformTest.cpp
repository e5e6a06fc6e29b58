#include "runtime/Platform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

namespace
{
PRT::PlatformInterface& platform()
{
    return *PRT::getPlatform();
}
} // namespace

TEST(Platform, ReallocToZeroBytesReleases)
{
    void* p = platform().malloc(32);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(platform().realloc(p, 0), nullptr); // ASan reports a leak if p was not freed
    EXPECT_EQ(platform().realloc(nullptr, 0), nullptr);
}

TEST(Platform, CallocIsZeroFilled)
{
    auto* p = static_cast<unsigned char*>(platform().calloc(64, 4));
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(p[i], 0);
    platform().free(p);
}

TEST(Platform, MemcpyAndMemmoveTolerateOverlap)
{
    for (bool useMemmove : {false, true})
    {
        char text[] = "abcdefgh";
        if (useMemmove)
            platform().memmove(text + 2, text, 6);
        else
            platform().memcpy(text + 2, text, 6);
        EXPECT_STREQ(text, "ababcdef");

        char back[] = "abcdefgh";
        if (useMemmove)
            platform().memmove(back, back + 1, 7);
        else
            platform().memcpy(back, back + 1, 7);
        EXPECT_STREQ(back, "bcdefghh");
    }
}

TEST(Platform, PrintErrorMessageWritesToStandardOutput)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    platform().printErrorMessage("x");
    platform().printMessage("y");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "x\ny\n");
}

TEST(Platform, ErrorThrowsTheStandardKinds)
{
    try
    {
        platform().error(0, "m");
        FAIL();
    }
    catch (const std::out_of_range& e)
    {
        EXPECT_STREQ(e.what(), "m");
    }
    EXPECT_THROW(platform().error(3, "m"), std::runtime_error);
    EXPECT_NO_THROW(platform().assertTrue(true, "m"));
    try
    {
        platform().assertTrue(false, "failed check");
        FAIL();
    }
    catch (const std::runtime_error& e)
    {
        EXPECT_STREQ(e.what(), "failed check");
    }
}

TEST(Platform, NumberToTextFitsEveryIntegerType)
{
    char buffer[64];
    auto text = [&](auto value) {
        const int written = platform().toString(buffer, sizeof(buffer), value);
        EXPECT_EQ(written, static_cast<int>(std::strlen(buffer)));
        return std::string(buffer);
    };
    EXPECT_EQ(text(uint64_t{18446744073709551615ull}), "18446744073709551615");
    EXPECT_EQ(text(int64_t{-9223372036854775807ll - 1}), "-9223372036854775808");
    EXPECT_EQ(text(size_t{4096}), "4096");
    EXPECT_EQ(text(static_cast<unsigned long long>(7)), "7");
    EXPECT_EQ(text(-5L), "-5");
    EXPECT_EQ(text(-3LL), "-3");
    EXPECT_EQ(text(4294967295u), "4294967295");
    EXPECT_EQ(text(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(text(0.5f), "0.500000");
    EXPECT_EQ(text(static_cast<const void*>(nullptr)).empty(), false);
}

TEST(Platform, ToStringReturnsWhatSnprintfReturns)
{
    char small[4];
    EXPECT_EQ(platform().toString(small, sizeof(small), 123456), 6);
    EXPECT_STREQ(small, "123");
}
