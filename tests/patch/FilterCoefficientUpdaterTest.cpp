#include "patch/core/FilterCoefficientUpdater.h"
#include "patch/core/FilterMode.h"

#include "tests/patch/ReferenceDesign.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

using namespace PRT::dsp;
using PRT::test::referenceDesign;

namespace
{
constexpr std::uint32_t kBlock = 64;

class FilterCoefficientUpdaterTest : public ::testing::Test
{
protected:
    void SetUp() override { updater.prepare(48000.0f, kBlock, LowPass); }

    // One block of constant inputs; the coefficients of every sample.
    std::vector<BiquadCoefficients> block(float f, float q, float g, std::int64_t mode, std::uint32_t n = kBlock)
    {
        std::vector<BiquadCoefficients> out;
        for (std::uint32_t i = 0; i < n; ++i)
            out.push_back(updater.next(f, q, g, mode));
        return out;
    }

    FilterCoefficientUpdater updater;
};
} // namespace

TEST_F(FilterCoefficientUpdaterTest, DesignsAtTheFirstSampleAndHoldsForTheBlock)
{
    const auto expected = referenceDesign(48000.0f, 1000.0f, 0.7f, 1.0f, LowPass);
    for (const auto& c : block(1000.0f, 0.7f, 1.0f, LowPass))
        EXPECT_EQ(c, expected);
}

TEST_F(FilterCoefficientUpdaterTest, AChangeInsideABlockTakesEffectAtTheNextBlockStart)
{
    block(1000.0f, 0.7f, 1.0f, LowPass);
    const auto before = referenceDesign(48000.0f, 1000.0f, 0.7f, 1.0f, LowPass);
    const auto after = referenceDesign(48000.0f, 3000.0f, 0.7f, 1.0f, LowPass);
    for (std::uint32_t i = 0; i < kBlock; ++i)
        EXPECT_EQ(updater.next(i < 10 ? 1000.0f : 3000.0f, 0.7f, 1.0f, LowPass), before) << "sample " << i;
    EXPECT_EQ(updater.next(3000.0f, 0.7f, 1.0f, LowPass), after);
}

TEST_F(FilterCoefficientUpdaterTest, ControlsAreClampedBeforeTheDesign)
{
    struct Case
    {
        float f, q, g;
        std::int64_t mode;
        float designF, designQ, designG;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {0.0f, 1.0f, 1.0f, LowPass, 1.0f, 1.0f, 1.0f},
        {-50.0f, 1.0f, 1.0f, HighPass, 1.0f, 1.0f, 1.0f},
        {nan, 1.0f, 1.0f, LowPass, 1.0f, 1.0f, 1.0f},
        {30000.0f, 1.0f, 1.0f, LowPass, 24000.0f, 1.0f, 1.0f},
        {24000.5f, 1.0f, 1.0f, BandPass, 24000.0f, 1.0f, 1.0f},
        {1000.0f, 0.0f, 1.0f, BandPass, 1000.0f, 1e-9f, 1.0f},
        {1000.0f, -3.0f, 1.0f, Notch, 1000.0f, 1e-9f, 1.0f},
        {1000.0f, 1.0f, -2.0f, BandPassWithGain, 1000.0f, 1.0f, 0.0f},
        {1000.0f, 1.0f, nan, Peak, 1000.0f, 1.0f, 0.0f},
    };
    for (const auto& c : cases)
    {
        updater.prepare(48000.0f, kBlock, c.mode);
        EXPECT_EQ(updater.next(c.f, c.q, c.g, c.mode), referenceDesign(48000.0f, c.designF, c.designQ, c.designG, c.mode))
            << "f " << c.f << " q " << c.q << " g " << c.g << " mode " << c.mode;
    }
}

TEST_F(FilterCoefficientUpdaterTest, AModeChangeRedesignsAndAnInvalidModeKeepsTheResponse)
{
    block(1000.0f, 0.7f, 1.0f, LowPass);
    block(1000.0f, 0.7f, 1.0f, HighPass);
    EXPECT_EQ(updater.coefficients(), referenceDesign(48000.0f, 1000.0f, 0.7f, 1.0f, HighPass));
    for (const std::int64_t invalid : {std::int64_t{16}, std::int64_t{-1}})
    {
        block(5000.0f, 2.0f, 1.0f, invalid);
        EXPECT_EQ(updater.coefficients(), referenceDesign(48000.0f, 1000.0f, 0.7f, 1.0f, HighPass));
    }
}

TEST_F(FilterCoefficientUpdaterTest, APrepareRedesignsForTheNewRateWithUnchangedControls)
{
    block(1000.0f, 0.7f, 1.0f, LowPass);
    updater.prepare(96000.0f, 128, LowPass);
    EXPECT_EQ(updater.coefficients(), BiquadCoefficients{});
    const auto c = block(1000.0f, 0.7f, 1.0f, LowPass, 128);
    EXPECT_EQ(c.front(), referenceDesign(96000.0f, 1000.0f, 0.7f, 1.0f, LowPass));
    EXPECT_EQ(c.back(), c.front());
}
