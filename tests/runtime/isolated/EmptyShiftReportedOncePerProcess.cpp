// The empty-list shift shares the process-wide list error flag: once it has printed, out-of-range
// reads stay silent too.
#include "runtime/List.h"

#include <gtest/gtest.h>

TEST(ListErrorReport, EmptyShiftPrintsFirstAndSilencesLaterErrors)
{
    PRT::list empty;
    testing::internal::CaptureStdout();
    EXPECT_EQ(empty.shift(), 0.0f);
    EXPECT_EQ(empty.shift(), 0.0f);
    EXPECT_EQ(empty[0], 0.0f);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "cannot shift out of empty list\n");
}
