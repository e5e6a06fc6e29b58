#pragma once

#include "patch/core/BiquadCoefficients.h"
#include "patch/core/SteadySignal.h"

#include <cstdint>
#include <cstring>

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

    // n samples of process() at held coefficients (in may be out). A filter whose two inputs and
    // two outputs stand at one input and one output, and that gives that output again for that
    // input, stands still for as long as the input holds: the rest of such a stretch is a fill.
    void render(const float* in, float* out, std::uint32_t n, const BiquadCoefficients& c)
    {
        BiquadState s = *this; // a local: the stores to out cannot touch it
        for (std::uint32_t i = 0; i < n; ++i)
        {
            const float x = in[i];
            const bool standing = sameBits(x, s.x1) && sameBits(x, s.x2) && sameBits(s.y1, s.y2);
            const float y = s.process(x, c);
            out[i] = y;
            if (standing && sameBits(y, s.y2))
                while (i + 1 < n && sameBits(in[i + 1], x))
                    out[++i] = y;
        }
        *this = s;
    }
};

} // namespace PRT::dsp
