#pragma once

#include "runtime/Types.h"

#include <cstdint>
#include <cstring>

namespace PRT
{

// A float's bits, for comparisons that must tell a zero's sign and NaN payloads apart.
inline std::uint32_t bitsOf(float a)
{
    std::uint32_t bits;
    std::memcpy(&bits, &a, sizeof bits);
    return bits;
}

// Tests that let a block path stop stepping a recursion whose state stands still. A follower
// v += (x − v) × c whose step leaves v with the very bits it had, on an input that holds one value,
// repeats that step for good, so the rest of its block is a fill: the same samples as step by step.
// Bits rather than ==, so that a zero's sign and NaN are no exception.
inline bool sameBits(float a, float b)
{
    return bitsOf(a) == bitsOf(b);
}

// Whether every one of the n samples has the bits of the first (true for no samples). Without an
// early exit, so that the loop vectorises.
inline bool holdsOneValue(const SampleValue* x, Index n)
{
    if (n == 0)
        return true;
    std::uint32_t first;
    std::memcpy(&first, x, sizeof first);
    std::uint32_t differences = 0;
    for (Index i = 0; i < n; ++i)
    {
        std::uint32_t bits;
        std::memcpy(&bits, x + i, sizeof bits);
        differences |= bits ^ first;
    }
    return differences == 0;
}

} // namespace PRT
