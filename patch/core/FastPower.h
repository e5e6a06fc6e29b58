#pragma once

#include <cstdint>
#include <cstring>

namespace PRT::dsp
{

// Powers and logarithms of two for per-sample control signals (gains, levels) where a library call
// per sample would cost more than the rest of the loop: branch-free and without calls, so that a
// loop of them vectorises. A result 2^y is accurate to about (2 + |y|/2) parts in 10^7: some 10^−6
// for gains down to −100 dB, 10^−5 at the ends of the float range.

// log2(x) for a normal x above 0 (a denormal, 0, an infinity or a NaN gives a finite wrong value).
inline float fastLog2(float x)
{
    std::uint32_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    // x = 2^e × m with the mantissa m in [√½, √2), where the series below converges fastest: a
    // mantissa above √2 is halved (its exponent field 126 in place of 127) and e counts one more.
    // Integer selects, which vectorise where floating-point ones would not.
    const std::uint32_t mantissa = bits & 0x007fffffu;
    const std::uint32_t high = mantissa > 0x003504f3u ? 1u : 0u;
    const auto e = static_cast<std::int32_t>((bits >> 23) & 0xffu) - 127 + static_cast<std::int32_t>(high);
    bits = mantissa | (0x3f800000u - (high << 23));
    float m;
    std::memcpy(&m, &bits, sizeof m);
    // log2(m) = 2/ln 2 × atanh(s), s = (m − 1)/(m + 1), |s| < 0.172.
    const float s = (m - 1.0f) / (m + 1.0f);
    const float s2 = s * s;
    const float series =
        s * (2.8853900818f + s2 * (0.9617966939f + s2 * (0.5770780164f + s2 * (0.4121985832f + s2 * 0.3205988981f))));
    return static_cast<float>(e) + series;
}

// 2^y for y in [−126, 126] (beyond it, a finite wrong value; a clamp here would keep the loop
// from vectorising, so callers keep y in range).
inline float fastExp2(float y)
{
    // y = k + f with k the nearest whole number and f in [−½, ½]: adding 1.5 × 2^23 rounds y to a
    // whole number and leaves it in the low bits, without a conversion or a select (so that the loop
    // vectorises).
    constexpr float roundingShift = 12582912.0f;
    const float shifted = y + roundingShift;
    std::uint32_t shiftedBits;
    std::memcpy(&shiftedBits, &shifted, sizeof shiftedBits);
    const float f = y - (shifted - roundingShift);
    // 2^f by its Taylor series in f ln 2, to the 7th power.
    const float p =
        1.0f + f * (0.6931471806f + f * (0.2402265070f + f * (0.0555041087f + f * (0.0096181291f +
               f * (0.0013333558f + f * (0.0001540353f + f * 0.0000152527f))))));
    // 2^k: the exponent field k + 127 (the low bits of shifted hold k + 2^22).
    const std::uint32_t scaleBits = (shiftedBits - 0x4b400000u + 127u) << 23;
    float scale;
    std::memcpy(&scale, &scaleBits, sizeof scale);
    return p * scale;
}

// base^exponent for a normal base above 0, as long as exponent × log2(base) lies within ±126.
inline float fastPow(float base, float exponent)
{
    return fastExp2(exponent * fastLog2(base));
}

} // namespace PRT::dsp
