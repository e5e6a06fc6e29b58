#pragma once

#include "patch/core/RampPhasor.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace PRT::dsp
{

// Passes over up to `limit` outputs of a rising phasor at once, for as long as each output lies in
// (floor, ceiling] with ceiling below 1 (no wrap), leaving the phasor exactly where as many next()
// calls would. `increment` is what one next() adds: rate / sample rate, in float, between 0 and 1/2.
// Returns how many outputs it passed (0 where it cannot), the last of them in lastOutput.
//
// Why it is exact: within one binade [2^(e−1), 2^e) floats are the multiples of u = 2^(e−24), so
// while phase + increment stays below 2^e, each float sum is the phase plus increment rounded to a
// multiple of u (the phase is one), the same step every sample. A tie in that rounding (its result
// depends on the phase's last bit) and each step across a binade are left to next().
inline std::uint32_t skipRisingPhases(RampPhasor& phasor, float increment, float floor, float ceiling,
                                      std::uint32_t limit, float& lastOutput)
{
    constexpr float smallestNormal = 1.17549435e-38f;
    if (!(increment > 0.0f && increment < 0.5f) || !(ceiling < 1.0f))
        return 0;
    float phase = phasor.phase();
    std::uint32_t passed = 0;
    while (passed < limit && phase > floor && phase <= ceiling && phase >= smallestNormal)
    {
        int exponent = 0;
        std::frexp(phase, &exponent);
        const double top = std::ldexp(1.0, exponent);
        const double unit = std::ldexp(1.0, exponent - 24);
        const double units = static_cast<double>(increment) / unit;
        const double whole = std::floor(units);
        const double fraction = units - whole;
        if (fraction == 0.5)
            break;
        const double step = (fraction < 0.5 ? whole : whole + 1.0) * unit;
        // Outputs p + j·step for j = 0..count−1: each must stay at or below the ceiling, and each
        // sum p + j·step + increment below the binade's top. Every product and difference here is
        // a multiple of u below 2^30 units, so exact in double.
        const auto p = static_cast<double>(phase);
        const double room = top - p;
        const double headroom = static_cast<double>(ceiling) - p;
        std::uint64_t count = limit - passed;
        if (step > 0.0)
        {
            auto fits = [&](double j) { return room - j * step > static_cast<double>(increment) && j * step <= headroom; };
            double last = std::floor(std::fmin(room - static_cast<double>(increment), headroom) / step);
            last = std::fmin(last, static_cast<double>(count - 1));
            while (last >= 0.0 && !fits(last))
                last -= 1.0;
            while (last + 1.0 < static_cast<double>(count) && fits(last + 1.0))
                last += 1.0;
            if (last < 0.0)
                break;
            count = std::min(count, static_cast<std::uint64_t>(last) + 1u);
        }
        lastOutput = static_cast<float>(p + static_cast<double>(count - 1) * step);
        phase = static_cast<float>(p + static_cast<double>(count) * step);
        passed += static_cast<std::uint32_t>(count);
    }
    phasor.setPhase(phase);
    return passed;
}

} // namespace PRT::dsp
