#include "runtime/Logger.h"

#include "tests/runtime/CountingPlatform.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
std::string captureLog(int32_t level, const char* text)
{
    testing::internal::CaptureStdout();
    PRT::consoleLogger().log(level, text);
    return testing::internal::GetCapturedStdout();
}
} // namespace

TEST(Logger, PrintsLevelNameTabTextAndTwoLineEnds)
{
    EXPECT_EQ(captureLog(0, "ready"), "[INFO]\tready\n\n");
    EXPECT_EQ(captureLog(1, "late"), "[WARNING]\tlate\n\n");
    EXPECT_EQ(captureLog(2, "broken"), "[ERROR]\tbroken\n\n");
}

TEST(Logger, LevelOutsideTheTableIsNamedUnknown)
{
    EXPECT_EQ(captureLog(3, "odd"), "[UNKNOWN]\todd\n\n");
    EXPECT_EQ(captureLog(-1, "odd"), "[UNKNOWN]\todd\n\n");
    EXPECT_EQ(captureLog(1000000, "odd"), "[UNKNOWN]\todd\n\n");
}

TEST(Logger, PrintsThroughThePlatformObject)
{
    PRT::test::CountingPlatform counting;
    PRT::consoleLogger().log(PRT::LogWarning, "through platform");
    ASSERT_EQ(counting.printed.size(), 1u);
    EXPECT_EQ(counting.printed[0], "[WARNING]\tthrough platform\n");
    EXPECT_EQ(counting.outstanding(), 0);
    EXPECT_GT(counting.allocations, 0);
}

namespace
{
int customCalls = 0;
void customOutput(int32_t, const char*)
{
    ++customCalls;
}
} // namespace

TEST(Logger, AccessorReinstallsTheConsoleOutput)
{
    PRT::consoleLogger().setOutputCallback(&customOutput);
    (*PRT::consoleLoggerSlot())->log(0, "custom");
    EXPECT_EQ(customCalls, 1);
    EXPECT_EQ(captureLog(0, "console again"), "[INFO]\tconsole again\n\n");
    EXPECT_EQ(customCalls, 1);
}
