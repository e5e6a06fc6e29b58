// The branch-free arctangent against the library's, over every range it reduces to and the floats
// a host could push into the echo's feedback path.
#include "patch/core/Arctangent.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using PRT::dsp::arctangent;

TEST(ArctangentTest, FollowsTheLibraryWithinTwoTenMillionthsEverywhere)
{
    double worst = 0.0;
    float worstAt = 0.0f;
    // Logarithmically from 1e-30 to 1e30, both signs, plus the reduction's boundaries.
    for (double e = -30.0; e <= 30.0; e += 1e-4)
        for (float sign : {1.0f, -1.0f})
        {
            const float x = sign * static_cast<float>(std::pow(10.0, e));
            const double error = std::fabs(static_cast<double>(arctangent(x)) - std::atan(static_cast<double>(x)));
            if (error > worst)
            {
                worst = error;
                worstAt = x;
            }
        }
    for (float x : {0.41421356f, 0.41421357f, 2.4142134f, 2.4142137f, 1.0f, -1.0f, 0.0f, -0.0f})
        EXPECT_NEAR(arctangent(x), std::atan(static_cast<double>(x)), 2e-7) << x;
    EXPECT_LT(worst, 2e-7) << "at " << worstAt;
}

TEST(ArctangentTest, HandlesTheEndsOfTheFloats)
{
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_FLOAT_EQ(arctangent(inf), 1.5707964f);
    EXPECT_FLOAT_EQ(arctangent(-inf), -1.5707964f);
    EXPECT_FLOAT_EQ(arctangent(std::numeric_limits<float>::max()), 1.5707964f);
    EXPECT_TRUE(std::isnan(arctangent(std::numeric_limits<float>::quiet_NaN())));
    EXPECT_EQ(arctangent(1e-40f), 1e-40f) << "denormals pass as they are";
    EXPECT_LE(std::fabs(arctangent(1e30f)), 1.5707964f);
}
