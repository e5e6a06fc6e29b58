#pragma once

#include <cmath>

namespace PRT::dsp
{

// Second-order low-pass in state-variable form with trapezoidal integrators: the designer's LowPass
// response at the same angle and q, for a filter whose cut-off is redesigned while it plays.
//
// A direct-form section keeps its last outputs as its state and reads them under the new poles. Near
// half the rate a low-pass's poles sit next to its zeros at z = −1 and nearly cancel them, so outputs
// that the old design left (a jump from 10 kHz up to 22 kHz at 44.1 kHz) start a ring at half the rate
// tens of times the input that takes hundreds of milliseconds to die. Here the state is the band-pass
// and low-pass signals, which a redesign keeps; only the integrators' half-step terms are formed anew
// for the new cut-off, so the output goes on from where it was whatever the jump.
class StateVariableLowPass
{
public:
    void reset() { *this = {}; }

    // w0 in radians per sample, inside (0, π); q > 0.
    void design(float w0, float q)
    {
        const double g = std::tan(0.5 * static_cast<double>(w0));
        const double k = 1.0 / static_cast<double>(q);
        const double m1 = 1.0 / (1.0 + g * (g + k));
        b1_ = static_cast<float>(m1);
        b2_ = static_cast<float>(g * m1);
        b3_ = static_cast<float>(g * g * m1);
        // The integrators' states under the new g, from the band-pass and low-pass signals of the last
        // sample and the high-pass term those give with the new damping.
        const double high = static_cast<double>(input_) - k * band_ - low_;
        ic1_ = static_cast<float>(band_ + g * high);
        ic2_ = static_cast<float>(low_ + g * band_);
    }

    float process(float x)
    {
        const float v3 = x - ic2_;
        const float band = b1_ * ic1_ + b2_ * v3;
        const float low = ic2_ + b2_ * ic1_ + b3_ * v3;
        ic1_ = 2.0f * band - ic1_;
        ic2_ = 2.0f * low - ic2_;
        input_ = x;
        band_ = band;
        low_ = low;
        return low;
    }

private:
    float b1_ = 0.0f, b2_ = 0.0f, b3_ = 0.0f;
    float ic1_ = 0.0f, ic2_ = 0.0f;
    float input_ = 0.0f, band_ = 0.0f, low_ = 0.0f;
};

} // namespace PRT::dsp
