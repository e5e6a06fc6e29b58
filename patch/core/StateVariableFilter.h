#pragma once

#include <cmath>

namespace PRT::dsp
{

// What a redesign of a state-variable filter needs of the angle and q, worked out once for any number
// of channels. w0 in radians per sample, inside (0, π); q > 0.
struct StateVariableDesign
{
    double g, k;
    float b1, b2, b3;

    static StateVariableDesign of(float w0, float q)
    {
        const double g = std::tan(0.5 * static_cast<double>(w0));
        const double k = 1.0 / static_cast<double>(q);
        const double m1 = 1.0 / (1.0 + g * (g + k));
        return {g, k, static_cast<float>(m1), static_cast<float>(g * m1), static_cast<float>(g * g * m1)};
    }
};

// The output a state-variable filter gives: at the same angle and q, the designer's LowPass, BandPass
// (0 dB at the centre) or HighPass response.
enum class StateVariableOutput
{
    LowPass,
    BandPass,
    HighPass
};

// Second-order filter in state-variable form with trapezoidal integrators, for a filter whose cut-off
// or q is redesigned while it plays.
//
// A direct-form section keeps its last outputs as its state and reads them under the new poles. Where
// its poles sit next to its zeros (a low-pass near half the rate, a high-pass or band-pass near 0 Hz)
// they nearly cancel, and outputs that the old design left start a ring tens to thousands of times the
// input that takes hundreds of milliseconds to die (a low-pass jumping from 10 kHz to 22 kHz, a high-pass
// from 15 kHz to 20 Hz, a band-pass swept down to 1 Hz). Here the state is the band-pass and low-pass
// signals, which a redesign carries over; only the integrators' half-step terms are formed anew.
template <StateVariableOutput output>
class StateVariableFilter
{
public:
    void reset() { *this = {}; }

    void design(float w0, float q) { design(StateVariableDesign::of(w0, q)); }

    void design(const StateVariableDesign& d)
    {
        // The integrators' states under the new g, from the signals of the last sample. When the
        // damping k grows, the band-pass signal shrinks by as much, so that k × band (the 0 dB band-pass)
        // and the high-pass stand; a band-pass output shrinks the low-pass signal with it, which the
        // heavier damping would otherwise hand on to the output for milliseconds at the input's size.
        // When the damping falls both stay as they were: growing them would add to the filter's energy
        // (band² + low²), and a q switched up and down at every redesign then pumped the output up
        // thousands of times.
        const double kWas = k_;
        const double high = static_cast<double>(input_) - kWas * band_ - low_;
        const double shrink = d.k > kWas ? kWas / d.k : 1.0;
        const double band = band_ * shrink;
        const double low = output == StateVariableOutput::BandPass ? low_ * shrink : low_;
        b1_ = d.b1;
        b2_ = d.b2;
        b3_ = d.b3;
        k_ = d.k;
        kOut_ = static_cast<float>(d.k);
        ic1_ = static_cast<float>(band + d.g * high);
        ic2_ = static_cast<float>(low + d.g * band);
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
        if constexpr (output == StateVariableOutput::LowPass)
            return low;
        else if constexpr (output == StateVariableOutput::BandPass)
            return kOut_ * band;
        else
            return x - kOut_ * band - low;
    }

private:
    float b1_ = 0.0f, b2_ = 0.0f, b3_ = 0.0f;
    double k_ = 1.0;
    float kOut_ = 1.0f;
    float ic1_ = 0.0f, ic2_ = 0.0f;
    float input_ = 0.0f, band_ = 0.0f, low_ = 0.0f;
};

} // namespace PRT::dsp
