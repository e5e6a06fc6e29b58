#pragma once

#include "patch/core/BiquadCoefficients.h"
#include "tests/patch/StereoRender.h"

#include <complex>
#include <cmath>
#include <cstddef>
#include <vector>

namespace PRT::test
{

// The amplitude of a sine at frequency hz in x[begin, end), by correlation with a sine and a cosine
// over a whole number of periods' worth of samples.
inline double sineAmplitude(const std::vector<float>& x, double hz, double sampleRate, size_t begin, size_t end)
{
    double s = 0.0, c = 0.0;
    for (size_t i = begin; i < end; ++i)
    {
        const double phase = 6.283185307179586 * hz * static_cast<double>(i) / sampleRate;
        s += x[i] * std::sin(phase);
        c += x[i] * std::cos(phase);
    }
    const double n = static_cast<double>(end - begin);
    return 2.0 * std::sqrt(s * s + c * c) / n;
}

// A unit sine at hz on both inputs for the given number of samples; the gain of each channel
// measured over the last half.
struct SineGains
{
    double left = 0.0;
    double right = 0.0;
};

inline SineGains measureSineGains(PatchEngine& patch, double hz, double sampleRate, size_t samples)
{
    auto sine = [&](size_t i) {
        return static_cast<float>(std::sin(6.283185307179586 * hz * static_cast<double>(i) / sampleRate));
    };
    const StereoSignal out = renderSignals(patch, samples, sine, sine);
    return {sineAmplitude(out.left, hz, sampleRate, samples / 2, samples),
            sineAmplitude(out.right, hz, sampleRate, samples / 2, samples)};
}

// |H| of a biquad at hz.
inline double biquadGain(const dsp::BiquadCoefficients& c, double hz, double sampleRate)
{
    const std::complex<double> z1 = std::polar(1.0, -6.283185307179586 * hz / sampleRate);
    const std::complex<double> z2 = z1 * z1;
    return std::abs((double(c.b0) + double(c.b1) * z1 + double(c.b2) * z2) / (1.0 + double(c.a1) * z1 + double(c.a2) * z2));
}

} // namespace PRT::test
