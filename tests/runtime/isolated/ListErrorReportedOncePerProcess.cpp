// The list error flag lives in the process-wide platform object: this binary checks it on the real
// platform, where the first report of the process is the one that prints.
#include "runtime/List.h"

#include <gtest/gtest.h>

TEST(ListErrorReport, FirstOutOfRangeReadPrintsThenEveryListStaysSilent)
{
    PRT::list a;
    a.push(1);
    a.push(2);
    a.push(3);

    testing::internal::CaptureStdout();
    EXPECT_EQ(a[5], 0.0f);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "list index out of range\n");

    PRT::list b;
    testing::internal::CaptureStdout();
    EXPECT_EQ(a[7], 0.0f);
    EXPECT_EQ(b[0], 0.0f);
    EXPECT_EQ(b.shift(), 0.0f);
    PRT::indexlist keys;
    EXPECT_EQ(keys[3], 0u);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(PRT::getPlatform()->hasReportedError());
}
