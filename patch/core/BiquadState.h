#pragma once

#include "patch/core/BiquadCoefficients.h"

namespace PRT::dsp
{

// Direct-form-I second-order section of one channel; the coefficients come per sample.
struct BiquadState
{
    float x1 = 0.0f;
    float x2 = 0.0f;
    float y1 = 0.0f;
    float y2 = 0.0f;

    void reset() { *this = {}; }

    float process(float x, const BiquadCoefficients& c)
    {
        const float y = c.b0 * x + c.b1 * x1 + c.b2 * x2 - (c.a2 * y2 + c.a1 * y1);
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

} // namespace PRT::dsp
