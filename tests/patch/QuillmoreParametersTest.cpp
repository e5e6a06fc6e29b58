#include "patch/core/QuillmoreModules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

using namespace PRT;

namespace
{
// The table's parameter operations need no engine; the modules exist once initialised.
class QuillmoreParametersTest : public testing::Test
{
protected:
    void SetUp() override { top.initialize(); }
    Quillmore top;
};

constexpr float s = 0.06666667f; // one sync division on the normalised scale

struct Conversion
{
    ParameterIndex index;
    float in;
    float out;
};
} // namespace

TEST_F(QuillmoreParametersTest, ConstrainClampsAndRoundsOnlyTheSteppedParameters)
{
    const Conversion cases[] = {
        {params::EchoSyncDiv, 7.5f, 8},  {params::EchoSyncOn, 0.5f, 1},     {params::HeadsOn, 0.5f, 0.5f},
        {params::NoiseDuckThresh, 3, 0}, {params::EchoTime, 0, 1},          {params::EchoSyncDiv, 99, 15},
        {params::EchoSyncDiv, -2.5f, 0}, {params::TrueBypass, 0.25f, 0.25f}, {params::Output, 250, 200},
    };
    for (const Conversion& c : cases)
        EXPECT_FLOAT_EQ(top.constrainParameterValue(c.index, c.in), c.out) << quillmoreParameters[c.index].id;
    EXPECT_EQ(top.constrainParameterValue(48, 1234.5f), 1234.5f) << "beyond the table: unchanged";
}

// Hostile values land inside the range: a NaN at the minimum, an infinity at its end.
TEST_F(QuillmoreParametersTest, ConstrainKeepsNonFiniteValuesInRange)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const Conversion cases[] = {
        {params::EchoSyncOn, nan, 0},   {params::EchoSyncDiv, nan, 0},  {params::EchoSyncDiv, -nan, 0},
        {params::Input, nan, 0},        {params::EchoTime, nan, 1},     {params::EchoSyncDiv, inf, 15},
        {params::Output, -inf, 0},      {params::Saturate, inf, 100},
    };
    for (const Conversion& c : cases)
    {
        EXPECT_EQ(top.constrainParameterValue(c.index, c.in), c.out) << quillmoreParameters[c.index].id << " " << c.in;
        EXPECT_TRUE(std::isfinite(top.convertToNormalizedParameterValue(c.index, c.in))) << quillmoreParameters[c.index].id;
    }
}

TEST_F(QuillmoreParametersTest, NormalisedValuesFollowTheTable)
{
    const Conversion toNormalized[] = {
        {params::EchoTime, 0, 0},  // below the minimum
        {params::EchoStOffset, 0, 0.5f},
        {params::EchoSyncDiv, 7, 7 * s},
        {params::EchoSyncOn, 0.4f, 0},
        {params::HighPassQ, 0.8f, static_cast<float>((static_cast<double>(0.8f) - 0.1) / 1.9)},
        {params::Output, 500, 1},
    };
    for (const Conversion& c : toNormalized)
        EXPECT_FLOAT_EQ(top.convertToNormalizedParameterValue(c.index, c.in), c.out) << quillmoreParameters[c.index].id;

    const Conversion fromNormalized[] = {
        {params::EchoSyncDiv, 0.5f, 7}, // 0.5 / s lies just below 7.5
        {params::EchoSyncDiv, 1, 15},
        {params::Output, 1.5f, 200}, // clamped first
        {params::Output, -1, 0},
        {params::EchoSyncOn, 0.6f, 1},
        {params::WowRate, 0.5f, static_cast<float>(0.01 + 0.5 * 4.99)},
    };
    for (const Conversion& c : fromNormalized)
        EXPECT_FLOAT_EQ(top.convertFromNormalizedParameterValue(c.index, c.in), c.out)
            << quillmoreParameters[c.index].id;
    EXPECT_EQ(top.convertFromNormalizedParameterValue(48, 1.5f), 1.0f) << "beyond the table: clamped only";
}

TEST_F(QuillmoreParametersTest, DescribesEachParameterAndNothingBeyond)
{
    EXPECT_EQ(top.getNumParameters(), 48u);
    EXPECT_STREQ(top.getParameterName(48), "bogus");
    EXPECT_STREQ(top.getParameterId(100), "bogus");
    EXPECT_EQ(top.getParameterValue(48), 0.0f);
    EXPECT_STREQ(top.getParameterName(params::hostTempo), "hostTempo");
    EXPECT_STREQ(top.getParameterId(params::SpaceOn), "SpaceOn");

    ParameterInfo untouched;
    untouched.minimum = -7.0f;
    top.getParameterInfo(48, &untouched);
    EXPECT_EQ(untouched.minimum, -7.0f);

    ParameterInfo echoTime;
    top.getParameterInfo(params::EchoTime, &echoTime);
    EXPECT_EQ(echoTime.minimum, 1.0f);
    EXPECT_EQ(echoTime.initial, 0.0f);
    EXPECT_TRUE(echoTime.hostVisible);
    EXPECT_EQ(echoTime.enumTexts, nullptr);

    ParameterInfo division;
    top.getParameterInfo(params::EchoSyncDiv, &division);
    EXPECT_EQ(division.stepCount, 16);
    ASSERT_NE(division.enumTexts, nullptr);
    EXPECT_STREQ(division.enumTexts[0], "1/64th,");
    EXPECT_STREQ(division.enumTexts[15], "WHOLE");
    ParameterInfo syncOn;
    top.getParameterInfo(params::EchoSyncOn, &syncOn);
    EXPECT_EQ(syncOn.stepCount, 2);
    EXPECT_STREQ(syncOn.enumTexts[0], "OFF,");

    for (ParameterIndex index = 0; index < numQuillmoreParameters; ++index)
        EXPECT_EQ(top.getParameterValue(index), quillmoreParameters[index].initial) << "initial values";
}

TEST_F(QuillmoreParametersTest, EveryModuleStartsAfterTheTopLevelsParameters)
{
    ASSERT_EQ(top.getChildren().size(), static_cast<size_t>(QuillmoreModule::Count));
    for (GeneratedPatcher* module : top.getChildren())
    {
        EXPECT_EQ(module->getParameterOffset(), 48) << module->getObjectName();
        EXPECT_EQ(top.getParameterOffset(module), 48u);
    }
    EXPECT_EQ(top.getParameterOffset(&top), 0u);
}
