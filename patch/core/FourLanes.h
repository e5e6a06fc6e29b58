#pragma once

#include "runtime/Types.h"

#include <cstring>

namespace PRT::lanes
{

// Four single-precision lanes. Each lane's arithmetic is that of a scalar, so a formula written once
// for a value V gives the same samples one at a time (V = float) or four at a time (V = FourFloats).
using FourFloats = float __attribute__((vector_size(16)));
// Four double-precision lanes, for the steps the arithmetic takes in double.
using FourDoubles = double __attribute__((vector_size(32)));

inline float load(const float* from, float) { return *from; }
inline FourFloats load(const float* from, FourFloats)
{
    FourFloats v;
    std::memcpy(&v, from, sizeof v);
    return v;
}
inline void store(float* to, float v) { *to = v; }
inline void store(float* to, FourFloats v) { std::memcpy(to, &v, sizeof v); }

// Runs body(i, lanes) over [0, n): four samples at a time (lanes a FourFloats), the rest one at a time.
template <typename Body>
void inLanes(Index n, Body&& body)
{
    Index i = 0;
    for (; i + 4 <= n; i += 4)
        body(i, FourFloats{});
    for (; i < n; ++i)
        body(i, 0.0f);
}

} // namespace PRT::lanes
