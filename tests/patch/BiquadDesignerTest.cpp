#include "patch/core/BiquadDesigner.h"
#include "patch/core/BiquadState.h"
#include "patch/core/FilterMode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <vector>

using namespace PRT::dsp;

namespace
{
constexpr double kPi = 3.141592653589793;

std::complex<double> response(const BiquadCoefficients& c, double omega)
{
    const std::complex<double> z1 = std::polar(1.0, -omega);
    const std::complex<double> z2 = z1 * z1;
    return (double(c.b0) + double(c.b1) * z1 + double(c.b2) * z2) / (1.0 + double(c.a1) * z1 + double(c.a2) * z2);
}

bool allFinite(const BiquadCoefficients& c)
{
    return std::isfinite(c.b0) && std::isfinite(c.b1) && std::isfinite(c.b2) && std::isfinite(c.a1) && std::isfinite(c.a2);
}

// Poles on or inside the unit circle (the stability triangle), with room for float rounding.
bool stable(const BiquadCoefficients& c)
{
    return std::fabs(c.a2) <= 1.0f && std::fabs(c.a1) <= 1.0f + c.a2 + 1e-6f;
}

class BiquadDesignerTest : public ::testing::Test
{
protected:
    void SetUp() override { designer.prepare(48000.0f); }
    BiquadCoefficients design(float f, float q, float g, std::int64_t mode)
    {
        return designer.computeFilterCoefficients(f, q, g, static_cast<float>(mode));
    }
    BiquadDesigner designer;
};
} // namespace

TEST_F(BiquadDesignerTest, BandPassHasUnityGainAtItsCentre)
{
    const auto c = design(1000.0f, 1.0f, 1.0f, BandPass);
    EXPECT_EQ(c.b1, 0.0f);
    EXPECT_EQ(c.b0, -c.b2);
    EXPECT_NEAR(std::abs(response(c, 2.0 * kPi * 1000.0 / 48000.0)), 1.0, 1e-5);
    EXPECT_LT(std::abs(response(c, 2.0 * kPi * 100.0 / 48000.0)), 0.2);
}

TEST_F(BiquadDesignerTest, AllPassHasUnitMagnitudeEverywhereAndExactB2)
{
    for (const float q : {0.3f, 1.0f, 8.0f})
    {
        const auto c = design(2500.0f, q, 1.0f, AllPass);
        EXPECT_EQ(c.b2, 1.0f);
        for (double f = 10.0; f < 24000.0; f *= 1.7)
            EXPECT_NEAR(std::abs(response(c, 2.0 * kPi * f / 48000.0)), 1.0, 1e-5) << "q " << q << " at " << f << " Hz";
    }
    EXPECT_EQ(design(2500.0f, 1.0f, 0.37f, AllPassWithGain).b2, 0.37f);
}

TEST_F(BiquadDesignerTest, PassThroughIsExactAndLeavesTheSignalUnchanged)
{
    const auto c = design(1234.0f, 0.5f, 3.0f, PassThrough);
    EXPECT_EQ(c, (BiquadCoefficients{1.0f, 0.0f, 0.0f, 0.0f, 0.0f}));
    BiquadState state;
    for (int i = 0; i < 100; ++i)
    {
        const float x = std::sin(0.37f * float(i)) * 0.8f + 1e-3f * float(i);
        EXPECT_EQ(state.process(x, c), x);
    }
}

TEST_F(BiquadDesignerTest, ModesOutsideTheTableKeepThePreviousDesign)
{
    EXPECT_EQ(design(500.0f, 1.0f, 1.0f, 16), BiquadCoefficients{}) << "no design yet: silence";
    const auto lowPass = design(500.0f, 0.7f, 1.0f, LowPass);
    for (const float mode : {16.0f, -1.0f, 100.0f, 1e30f, -1e30f, std::numeric_limits<float>::quiet_NaN(),
                             std::numeric_limits<float>::infinity()})
        EXPECT_EQ(designer.computeFilterCoefficients(9000.0f, 3.0f, 2.0f, mode), lowPass) << "mode " << mode;
    EXPECT_EQ(designer.computeFilterCoefficients(500.0f, 0.7f, 1.0f, 0.9f), lowPass) << "the mode truncates toward zero";
}

TEST_F(BiquadDesignerTest, GainZeroGivesSilenceInTheGainScaledModes)
{
    const auto reference = design(3000.0f, 2.0f, 1.0f, LowPass);
    for (const std::int64_t mode : {LowPassWithGain, HighPassWithGain, BandPassWithGain, NotchWithGain,
                                    BandPassPeakQWithGain, AllPassWithGain, LowShelf, HighShelf})
    {
        const auto c = design(3000.0f, 2.0f, 0.0f, mode);
        EXPECT_EQ(c.b0, 0.0f) << "mode " << mode;
        EXPECT_EQ(c.b1, 0.0f) << "mode " << mode;
        EXPECT_EQ(c.b2, 0.0f) << "mode " << mode;
        if (mode != LowShelf && mode != HighShelf)
        {
            EXPECT_EQ(c.a1, reference.a1) << "mode " << mode;
            EXPECT_EQ(c.a2, reference.a2) << "mode " << mode;
        }
    }
    // A bell of gain 0 has identical numerator and denominator: exactly no change.
    EXPECT_EQ(design(3000.0f, 2.0f, 0.0f, Peak), (BiquadCoefficients{1.0f, 0.0f, 0.0f, 0.0f, 0.0f}));
}

TEST(BiquadDesignerEdges, EveryModeIsFiniteAndStableAtHalfTheSampleRateAndGainZero)
{
    for (const float sampleRate : {22050.0f, 44100.0f, 48000.0f, 96000.0f, 192000.0f})
    {
        BiquadDesigner designer;
        designer.prepare(sampleRate);
        for (const float frequency : {sampleRate * 0.5f, 1.0f, 0.0f, sampleRate * 0.4999f})
            for (const float q : {1e-9f, 4.37e-8f, 1e-4f, 0.1f, 0.707f, 1.0f, 40.0f})
                for (const float gain : {0.0f, 1e-30f, 1e-3f, 1.0f, 16.0f, 1e12f})
                    for (std::int64_t mode = 0; mode <= 15; ++mode)
                    {
                        const auto c = designer.computeFilterCoefficients(frequency, q, gain, float(mode));
                        ASSERT_TRUE(allFinite(c)) << "sr " << sampleRate << " f " << frequency << " q " << q
                                                  << " g " << gain << " mode " << mode;
                        EXPECT_TRUE(stable(c)) << "sr " << sampleRate << " f " << frequency << " q " << q
                                                   << " g " << gain << " mode " << mode << " a1 " << c.a1
                                                   << " a2 " << c.a2;
                    }
    }
}

TEST(BiquadDesignerEdges, ALowPassAtHalfTheSampleRatePassesNoiseWithoutGrowing)
{
    // The cut-off a module's updater clamps to when it asks for more (a dropout cut-off of 21.7 kHz
    // at 22.05 kHz, say): the float design must keep both poles inside the unit circle.
    for (const float sampleRate : {22050.0f, 44100.0f, 48000.0f, 96000.0f})
        for (const float q : {0.5f, 0.707f, 2.0f})
        {
            BiquadDesigner designer;
            designer.prepare(sampleRate);
            const BiquadCoefficients c = designer.computeFilterCoefficients(sampleRate * 0.5f, q, 1.0f, float(LowPass));
            BiquadState state;
            uint32_t seed = 1;
            float peak = 0.0f;
            for (int i = 0; i < 10 * static_cast<int>(sampleRate); ++i)
            {
                seed = seed * 1664525u + 1013904223u;
                const float x = static_cast<float>(seed >> 8) / 8388608.0f - 1.0f;
                peak = std::max(peak, std::fabs(state.process(x, c)));
            }
            EXPECT_LT(peak, 4.0f) << sampleRate << " Hz, q " << q << ": a1 " << c.a1 << ", a2 " << c.a2;
        }
}

// A few hertz at high rates (the echo filter's LFO sweeps its band-pass down to 1 Hz, the hiss
// band-pass goes down to 1 Hz): the rounded coefficients must keep both real-axis ends of the
// stability triangle strictly inside, or a pole on or past the unit circle grows the signal without
// bound (5 Hz, q 2 at 192 kHz once had a pole at radius 1.0002: a factor e every 22 ms).
TEST(BiquadDesignerEdges, FewHertzSectionsKeepTheirPolesStrictlyInsideAtEveryRate)
{
    for (const float sampleRate : {22050.0f, 44100.0f, 48000.0f, 96000.0f, 176400.0f, 192000.0f})
    {
        BiquadDesigner designer;
        designer.prepare(sampleRate);
        for (const float frequency : {1.0f, 2.0f, 5.0f, 10.0f, 20.0f, sampleRate * 0.5f})
            for (const float q : {0.01f, 0.5f, 2.0f, 40.0f})
                for (std::int64_t mode = 0; mode <= 15; ++mode)
                {
                    const auto c = designer.computeFilterCoefficients(frequency, q, 1.0f, float(mode));
                    const double a1 = c.a1, a2 = c.a2;
                    EXPECT_TRUE(a2 < 1.0 && 1.0 + a1 + a2 > 0.0 && 1.0 - a1 + a2 > 0.0)
                        << "sr " << sampleRate << " f " << frequency << " q " << q << " mode " << mode << " a1 " << c.a1
                        << " a2 " << c.a2;
                }
    }

    BiquadDesigner designer;
    designer.prepare(192000.0f);
    const BiquadCoefficients c = designer.computeFilterCoefficients(5.0f, 2.0f, 1.0f, float(BandPass));
    BiquadState state;
    uint32_t seed = 1;
    float peak = 0.0f;
    for (int i = 0; i < 2 * 192000; ++i)
    {
        seed = seed * 1664525u + 1013904223u;
        const float x = static_cast<float>(seed >> 8) / 8388608.0f - 1.0f;
        peak = std::max(peak, std::fabs(state.process(x, c)));
    }
    EXPECT_LT(peak, 4.0f) << "a band-pass at 5 Hz, q 2, 192 kHz, on two seconds of noise";
}

TEST(BiquadDesignerEdges, NonFiniteInputsKeepThePreviousDesign)
{
    BiquadDesigner designer;
    designer.prepare(48000.0f);
    const auto previous = designer.computeFilterCoefficients(800.0f, 1.0f, 1.0f, float(HighPass));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(designer.computeFilterCoefficients(nan, 1.0f, 1.0f, float(LowPass)), previous);
    EXPECT_EQ(designer.computeFilterCoefficients(inf, 1.0f, 1.0f, float(LowPass)), previous);
    EXPECT_EQ(designer.computeFilterCoefficients(800.0f, 1.0f, inf, float(BandPassWithGain)), previous);
    EXPECT_EQ(designer.computeFilterCoefficients(20000.0f, 1.0f, 3e38f, float(LowPassWithGain)), previous)
        << "a design that overflows float";
    EXPECT_TRUE(allFinite(designer.computeFilterCoefficients(800.0f, nan, 1.0f, float(LowPass))))
        << "a NaN q designs at the minimum q";
}

// Magnitudes measured by running sines through the float section, against the cookbook formulas
// evaluated in double precision (shelf slope S = q, linear gain g = A²).
namespace
{
struct Reference
{
    double b0, b1, b2, a0, a1, a2;
};

Reference referenceDesign(std::int64_t mode, double f0, double q, double g, double sampleRate)
{
    const double w = 2.0 * kPi * f0 / sampleRate;
    const double c = std::cos(w);
    const double s = std::sin(w);
    const double alpha = s / (2.0 * q);
    const double A = std::sqrt(g);
    const double scale = mode >= LowPassWithGain ? g : 1.0;
    switch (mode >= LowPassWithGain ? (mode == BandPassPeakQWithGain ? BandPassPeakQ
                                       : mode == AllPassWithGain    ? AllPass
                                                                    : mode - LowPassWithGain)
                                    : mode)
    {
    case LowPass: return {scale * (1 - c) / 2, scale * (1 - c), scale * (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha};
    case HighPass: return {scale * (1 + c) / 2, -scale * (1 + c), scale * (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha};
    case BandPass: return {scale * alpha, 0, -scale * alpha, 1 + alpha, -2 * c, 1 - alpha};
    case Notch: return {scale, -2 * c * scale, scale, 1 + alpha, -2 * c, 1 - alpha};
    case Peak: return {1 + alpha * A, -2 * c, 1 - alpha * A, 1 + alpha / A, -2 * c, 1 - alpha / A};
    case LowShelf:
    case HighShelf:
    {
        const double shelfAlpha = s / 2.0 * std::sqrt((A + 1.0 / A) * (1.0 / q - 1.0) + 2.0);
        const double k = 2.0 * std::sqrt(A) * shelfAlpha;
        if (mode == LowShelf)
            return {A * ((A + 1) - (A - 1) * c + k), 2 * A * ((A - 1) - (A + 1) * c), A * ((A + 1) - (A - 1) * c - k),
                    (A + 1) + (A - 1) * c + k, -2 * ((A - 1) + (A + 1) * c), (A + 1) + (A - 1) * c - k};
        return {A * ((A + 1) + (A - 1) * c + k), -2 * A * ((A - 1) + (A + 1) * c), A * ((A + 1) + (A - 1) * c - k),
                (A + 1) - (A - 1) * c + k, 2 * ((A - 1) - (A + 1) * c), (A + 1) - (A - 1) * c - k};
    }
    case BandPassPeakQ: return {scale * q * alpha, 0, -scale * q * alpha, 1 + alpha, -2 * c, 1 - alpha};
    case AllPass: return {scale * (1 - alpha), -2 * c * scale, scale * (1 + alpha), 1 + alpha, -2 * c, 1 - alpha};
    }
    return {};
}

double referenceMagnitude(const Reference& r, double omega)
{
    const std::complex<double> z1 = std::polar(1.0, -omega);
    const std::complex<double> z2 = z1 * z1;
    return std::abs((r.b0 + r.b1 * z1 + r.b2 * z2) / (r.a0 + r.a1 * z1 + r.a2 * z2));
}

// Amplitude of the steady-state response to a unit sine at an exact bin of the analysis window.
double measuredMagnitude(const BiquadCoefficients& c, double frequency, double sampleRate)
{
    constexpr int kSettle = 48000;
    constexpr int kWindow = 4800;
    BiquadState state;
    double in = 0.0, quad = 0.0;
    for (int n = 0; n < kSettle + kWindow; ++n)
    {
        const double phase = 2.0 * kPi * frequency * double(n) / sampleRate;
        const float y = state.process(static_cast<float>(std::sin(phase)), c);
        if (n >= kSettle)
        {
            in += double(y) * std::sin(phase);
            quad += double(y) * std::cos(phase);
        }
    }
    return 2.0 / kWindow * std::hypot(in, quad);
}

struct MagnitudeCase
{
    std::int64_t mode;
    float f0;
    float q;
    float gain;
};
} // namespace

class BiquadMagnitude : public ::testing::TestWithParam<MagnitudeCase>
{
};

TEST_P(BiquadMagnitude, MatchesTheDoublePrecisionReference)
{
    const auto [mode, f0, q, gain] = GetParam();
    constexpr double sampleRate = 48000.0;
    BiquadDesigner designer;
    designer.prepare(static_cast<float>(sampleRate));
    const auto c = designer.computeFilterCoefficients(f0, q, gain, float(mode));
    const auto reference = referenceDesign(mode, f0, q, gain, sampleRate);
    for (const double probe : {50.0, 200.0, double(f0) * 0.5, double(f0), double(f0) * 2.0, 6000.0, 15000.0, 22000.0})
    {
        const double expected = referenceMagnitude(reference, 2.0 * kPi * probe / sampleRate);
        const double measured = measuredMagnitude(c, probe, sampleRate);
        EXPECT_NEAR(measured, expected, 1e-3 * expected + 1e-4) << "mode " << mode << " probe " << probe << " Hz";
    }
}

INSTANTIATE_TEST_SUITE_P(Modes0To14, BiquadMagnitude,
                         ::testing::Values(MagnitudeCase{LowPass, 1000, 0.707f, 1}, MagnitudeCase{LowPass, 4000, 4.0f, 1},
                                           MagnitudeCase{HighPass, 2000, 0.707f, 1},
                                           MagnitudeCase{BandPass, 3000, 2.0f, 1}, MagnitudeCase{Notch, 1000, 1.0f, 1},
                                           MagnitudeCase{Peak, 2000, 1.5f, 4.0f}, MagnitudeCase{Peak, 800, 0.5f, 0.25f},
                                           MagnitudeCase{LowShelf, 500, 0.8f, 4.0f},
                                           MagnitudeCase{HighShelf, 4000, 1.0f, 0.25f},
                                           MagnitudeCase{BandPassPeakQ, 1000, 3.0f, 1},
                                           MagnitudeCase{AllPass, 1000, 1.0f, 1},
                                           MagnitudeCase{LowPassWithGain, 1000, 0.707f, 0.5f},
                                           MagnitudeCase{HighPassWithGain, 2000, 0.707f, 2.0f},
                                           MagnitudeCase{BandPassWithGain, 3000, 2.0f, 0.5f},
                                           MagnitudeCase{NotchWithGain, 1000, 1.0f, 1.5f},
                                           MagnitudeCase{BandPassPeakQWithGain, 1000, 3.0f, 0.5f},
                                           MagnitudeCase{AllPassWithGain, 1000, 1.0f, 0.7f}));
