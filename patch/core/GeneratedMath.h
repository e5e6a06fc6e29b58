#pragma once

#include <cmath>
#include <cstdint>

// Numeric helpers shared by the generated patch code and its signal objects.
namespace PRT
{

// Square root that is 0 for zero, negative and NaN arguments, so designs never take the root of
// a negative intermediate.
inline float safeSqrt(float x)
{
    return x > 0.0f ? std::sqrt(x) : 0.0f;
}

// Nearest integer with halves away from zero: 2.5 -> 3, -2.5 -> -3. A NaN or an infinity comes back
// as it is.
inline float roundToNearest(float x)
{
    const float magnitude = std::fabs(x);
    const float c = std::ceil(magnitude);
    const float rounded = c - magnitude > 0.5f ? c - 1.0f : c;
    return std::copysign(rounded, x);
}

// x limited to ±limit: an infinity becomes the limit of its sign, a NaN 0. For signals that must never
// carry a non-finite value into a state that outlives the block.
inline float boundSample(float x, float limit)
{
    if (x > -limit)
        return x < limit ? x : limit;
    return x <= -limit ? -limit : 0.0f;
}

// 0 for a NaN or an infinity.
inline float silenceIfNotFinite(float x)
{
    return std::isfinite(x) ? x : 0.0f;
}

// Smallest power of two not below n; 0 for 0 (and for n above 2^63, which wraps).
inline std::uint64_t nextPowerOfTwo(std::uint64_t n)
{
    n -= 1;
    n |= n >> 1;
    n |= n >> 2;
    n |= n >> 4;
    n |= n >> 8;
    n |= n >> 16;
    n |= n >> 32;
    return n + 1;
}

// Maps x from [inLow, inHigh] onto [outLow, outHigh], bent by exponent (1: linear; otherwise the
// normalised position's magnitude is raised to it and its sign kept). Nothing is clamped: inputs
// outside the input range extrapolate, and an empty input range maps everything to outLow.
inline float scaleValue(float x, float inLow, float inHigh, float outLow, float outHigh, float exponent)
{
    const float range = inHigh - inLow;
    float u = (x - inLow) * (range == 0.0f ? 0.0f : 1.0f / range);
    if (exponent != 1.0f)
    {
        if (u > 0.0f)
        {
            u = std::pow(u, exponent);
            if (std::isnan(u))
                u = 0.0f;
        }
        else
        {
            u = -std::pow(-u, exponent);
            if (std::isnan(u))
                u = -0.0f;
        }
    }
    return (outHigh - outLow) * u + outLow;
}

} // namespace PRT
