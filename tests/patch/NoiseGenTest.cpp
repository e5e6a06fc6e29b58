// The tape hiss generator inside the real engine core, as the only module of a test top level, its
// two outputs measured: level, colour, the design of its band-pass, and the independence of its
// channels.
#include "patch/core/FilterMode.h"
#include "patch/core/RandomState.h"
#include "patch/heads/NoiseGen.h"

#include "tests/patch/ModuleTestRoot.h"
#include "tests/patch/ReferenceDesign.h"
#include "tests/patch/StereoRender.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

using namespace PRT;
using namespace PRT::test;

using NoiseGen = Quillmore::PRTSubpatcher_40;

namespace
{
constexpr double pi = 3.141592653589793;

// A hiss generator in its own engine, started as the top level starts it: set-up (seeds included)
// at installation, then NoiseAmnt and NoiseFreq as the top level's setters hand them over.
struct HissRig
{
    HissRig(float sampleRate, float amount, float noiseFreq, float seed = 1.0f)
    {
        {
            const ScopedFixedRandomSeed fixed(seed);
            hiss = patch.install(new ModuleTestRoot<NoiseGen>()).module;
        }
        patch.prepare(sampleRate, 64);
        hiss->number_obj_46.setNumberValue(amount * 0.01f);
        hiss->biquad->setFrequencyInput(noiseFreq);
        rate = sampleRate;
    }

    StereoSignal render(size_t samples) { return renderSamples(patch, samples); }

    PatchEngine patch;
    NoiseGen* hiss = nullptr;
    float rate = 0;
};

// |H|² of the constant-peak band-pass at f for a centre fc and q, at the sample rate sr.
double bandPassPower(double f, double fc, double q, double sr)
{
    const double w0 = 2.0 * pi * fc / sr;
    const double alpha = std::sin(w0) / (2.0 * q);
    const std::complex<double> z1 = std::polar(1.0, -2.0 * pi * f / sr);
    const std::complex<double> h = alpha * (1.0 - z1 * z1) / ((1.0 + alpha) - 2.0 * std::cos(w0) * z1 + (1.0 - alpha) * z1 * z1);
    return std::norm(h);
}

// The power spectral density of x at f, per unit of white-noise variance: the mean over Hann-windowed
// segments of |X(f)|², divided by the window's energy.
double densityAt(const std::vector<float>& x, double f, double sr, size_t segment)
{
    std::vector<double> window(segment);
    double windowEnergy = 0.0;
    for (size_t n = 0; n < segment; ++n)
    {
        window[n] = 0.5 - 0.5 * std::cos(2.0 * pi * static_cast<double>(n) / static_cast<double>(segment));
        windowEnergy += window[n] * window[n];
    }
    double sum = 0.0;
    size_t count = 0;
    for (size_t start = 0; start + segment <= x.size(); start += segment / 2, ++count)
    {
        std::complex<double> acc = 0.0;
        const std::complex<double> step = std::polar(1.0, -2.0 * pi * f / sr);
        std::complex<double> rotor = 1.0;
        for (size_t n = 0; n < segment; ++n)
        {
            acc += window[n] * static_cast<double>(x[start + n]) * rotor;
            rotor *= step;
        }
        sum += std::norm(acc);
    }
    return sum / static_cast<double>(count) / windowEnergy;
}

double correlation(const std::vector<float>& a, const std::vector<float>& b)
{
    double ab = 0, aa = 0, bb = 0;
    for (size_t i = 0; i < a.size(); ++i)
    {
        ab += double(a[i]) * b[i];
        aa += double(a[i]) * a[i];
        bb += double(b[i]) * b[i];
    }
    return ab / std::sqrt(aa * bb);
}
} // namespace

TEST(NoiseGen, NoiseAmountZeroIsExactSilence)
{
    HissRig rig(48000, 0, 15000);
    const StereoSignal out = rig.render(48000);
    for (size_t i = 0; i < out.left.size(); ++i)
    {
        ASSERT_EQ(out.left[i], 0.0f) << i;
        ASSERT_EQ(out.right[i], 0.0f) << i;
    }
}

TEST(NoiseGen, LevelAndColourAreTheBandPassedNoiseScaledByTheSquaredAmount)
{
    // White noise uniform on [-1, 1) has a variance of 1/3; the hiss's density at f is that times the
    // band-pass's |H(f)|² (q 0.2, centre 20 Hz × 1000^(NoiseFreq / 20000)) times ((amount/100)² × 0.1)².
    struct Case
    {
        float rate, amount, noiseFreq;
        double centre;
    };
    const Case cases[] = {
        {48000, 100, 15000, 3556.56},
        {48000, 50, 15000, 3556.56},
        {44100, 100, 10000, 20.0 * std::sqrt(1000.0)},
        {96000, 70, 12000, 20.0 * std::pow(1000.0, 0.6)},
    };
    for (const Case& c : cases)
    {
        HissRig rig(c.rate, c.amount, c.noiseFreq);
        const StereoSignal out = rig.render(static_cast<size_t>(c.rate * 12));
        const double scale = c.amount * c.amount * 1e-4 * 0.1;
        constexpr size_t segment = 4096;
        for (const double ratio : {1.0 / 16, 0.25, 1.0, 4.0})
        {
            // Where the window resolves the slope of the response.
            const double f = c.centre * ratio;
            if (f < 8.0 * c.rate / segment || f > 0.45 * c.rate)
                continue;
            const double expected = bandPassPower(f, c.centre, 0.2, c.rate) * scale * scale / 3.0;
            for (const std::vector<float>* channel : {&out.left, &out.right})
                EXPECT_NEAR(densityAt(*channel, f, c.rate, segment) / expected, 1.0, 0.15)
                    << c.rate << " Hz, NoiseAmnt " << c.amount << ", NoiseFreq " << c.noiseFreq << ", at " << f << " Hz";
        }
    }
}

TEST(NoiseGen, TheBandPassIsCentredByNoiseFreqAndStopsAtHalfTheSampleRate)
{
    struct Case
    {
        float rate, noiseFreq;
        float centre;   // what NoiseFreq maps to
        float designed; // where the filter is designed
    };
    const Case cases[] = {
        {44100, 15000, 3556.56f, 3556.56f},
        {44100, 20000, 20000.006f, 20000.006f},
        {48000, 1, 20.0069f, 20.0069f},
        {32000, 20000, 20000.006f, 16000.0f},
    };
    for (const Case& c : cases)
    {
        HissRig rig(c.rate, 100, c.noiseFreq);
        rig.render(128);
        EXPECT_NEAR(rig.hiss->biquad->getCentreFrequency(), c.centre, c.centre * 2e-6f) << c.noiseFreq;

        const dsp::BiquadCoefficients expected = referenceDesign(c.rate, c.designed, 0.2f, 1.2f, dsp::BandPass);
        const dsp::BiquadCoefficients& actual = rig.hiss->biquad->getCoefficients();
        const float tolerance = 1e-5f * std::fabs(expected.b0) + 1e-9f;
        EXPECT_NEAR(actual.b0, expected.b0, tolerance) << c.rate << " Hz, NoiseFreq " << c.noiseFreq;
        EXPECT_EQ(actual.b1, 0.0f);
        EXPECT_EQ(actual.b2, -actual.b0);
        EXPECT_NEAR(actual.a1, expected.a1, 1e-5f);
        EXPECT_NEAR(actual.a2, expected.a2, 1e-5f);
    }
}

TEST(NoiseGen, LeftAndRightAreUncorrelatedAndRepeatWithTheSeed)
{
    HissRig first(48000, 100, 15000, 3.0f);
    const StereoSignal a = first.render(96000);
    EXPECT_LT(std::fabs(correlation(a.left, a.right)), 0.02);

    HissRig again(48000, 100, 15000, 3.0f);
    const StereoSignal b = again.render(96000);
    EXPECT_EQ(a.left, b.left) << "the seed seam repeats the render";
    EXPECT_EQ(a.right, b.right);

    HissRig other(48000, 100, 15000, 4.0f);
    const StereoSignal c = other.render(96000);
    EXPECT_LT(std::fabs(correlation(a.left, c.left)), 0.02) << "another seed, other noise";
}
