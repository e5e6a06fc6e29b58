#pragma once

#include <cmath>

namespace PRT::dsp
{

// -999 dB stands for silence (zero, negative), the floor of a real level is -200 dB.
inline constexpr float kSilenceDecibels = -999.0f;

inline float amplitudeToDecibels(float amplitude)
{
    if (amplitude <= 0.0f)
        return kSilenceDecibels;
    const double floored = amplitude > 1e-10f ? static_cast<double>(amplitude) : 1e-10;
    return 20.0f * static_cast<float>(std::log10(floored));
}

inline float decibelsToAmplitude(float decibels)
{
    return static_cast<float>(std::pow(10.0, static_cast<double>(decibels) * 0.05));
}

} // namespace PRT::dsp
