#pragma once

#include "patch/core/BiquadCoefficients.h"

namespace PRT::dsp
{

// Designs one second-order section per call (the Audio EQ Cookbook formulas, FilterMode 0..15).
// Returns and keeps the design; a mode outside 0..15, or a design that would not be finite, returns
// the previous one (zeros before the first), so a filter never receives an inf or NaN coefficient.
class BiquadDesigner
{
public:
    static constexpr float kMinimumQ = 1e-9f;

    void prepare(float sampleRate) { radiansPerHz_ = 6.2831855f / sampleRate; }
    float radiansPerHz() const { return radiansPerHz_; }

    // frequency in Hz, q > 0 (lower values design at kMinimumQ), gain linear (below 0 taken as 0),
    // mode a small integer held in a float, truncated toward zero.
    BiquadCoefficients computeFilterCoefficients(float frequency, float q, float gain, float mode);

    const BiquadCoefficients& lastDesign() const { return last_; }

    // The angle, in radians per sample, that a design at this frequency uses (kept a hair below
    // half the rate, where the poles would reach the unit circle).
    float designAngle(float frequency) const;

private:
    float radiansPerHz_ = 6.2831855f / 44100.0f;
    BiquadCoefficients last_;
};

} // namespace PRT::dsp
