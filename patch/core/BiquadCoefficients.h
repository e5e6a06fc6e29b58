#pragma once

namespace PRT::dsp
{

// One second-order section, normalised by a0: y = b0 x + b1 x1 + b2 x2 - a1 y1 - a2 y2.
struct BiquadCoefficients
{
    float b0 = 0.0f;
    float b1 = 0.0f;
    float b2 = 0.0f;
    float a1 = 0.0f;
    float a2 = 0.0f;

    bool operator==(const BiquadCoefficients& o) const
    {
        return b0 == o.b0 && b1 == o.b1 && b2 == o.b2 && a1 == o.a1 && a2 == o.a2;
    }
    bool operator!=(const BiquadCoefficients& o) const { return !(*this == o); }
};

} // namespace PRT::dsp
