#pragma once

#include "patch/core/BiquadDesigner.h"
#include "patch/core/FilterMode.h"

#include <cmath>
#include <complex>
#include <cstdint>

namespace PRT::test
{

// The coefficients a freshly prepared designer gives: what a module's filter is expected to run on.
inline dsp::BiquadCoefficients referenceDesign(float sampleRate, float hz, float q, float gain, std::int64_t mode)
{
    dsp::BiquadDesigner designer;
    designer.prepare(sampleRate);
    return designer.computeFilterCoefficients(hz, q, gain, static_cast<float>(mode));
}

// |H| at hz of the designer's LowPass, HighPass, HighPassWithGain or BandPass section, worked out in
// double precision from the angle the designer uses: the response a filter running that design is
// meant to have (the float coefficients stray from it near 0 Hz and half the rate).
inline double designedGain(float sampleRate, float hz0, float q, float gain, std::int64_t mode, double hz)
{
    dsp::BiquadDesigner designer;
    designer.prepare(sampleRate);
    const double w0 = designer.designAngle(hz0);
    const double c = std::cos(w0), alpha = std::sin(w0) / (2.0 * q);
    double b0 = 0.0, b1 = 0.0, b2 = 0.0;
    switch (mode)
    {
    case dsp::LowPass: b0 = b2 = (1.0 - c) / 2.0, b1 = 1.0 - c; break;
    case dsp::HighPass: b0 = b2 = (1.0 + c) / 2.0, b1 = -(1.0 + c); break;
    case dsp::HighPassWithGain: b0 = b2 = gain * (1.0 + c) / 2.0, b1 = -gain * (1.0 + c); break;
    case dsp::BandPass: b0 = alpha, b2 = -alpha; break;
    default: return NAN;
    }
    const std::complex<double> z1 = std::polar(1.0, -6.283185307179586 * hz / sampleRate);
    const std::complex<double> z2 = z1 * z1;
    return std::abs((b0 + b1 * z1 + b2 * z2) / ((1.0 + alpha) - 2.0 * c * z1 + (1.0 - alpha) * z2));
}

} // namespace PRT::test
