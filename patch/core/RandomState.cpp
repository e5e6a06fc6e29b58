#include "patch/core/RandomState.h"

#include <cmath>

namespace PRT
{
namespace
{
// seed × 10^6 as an unsigned 64-bit number: truncated toward zero, negative values wrapped as the
// signed conversion would, and values no 64-bit integer holds (NaN included) taken as 0.
std::uint64_t seedToInteger(float seed)
{
    const double scaled = static_cast<double>(seed) * 1000000.0;
    if (scaled >= 0.0 && scaled < 18446744073709551616.0)
        return static_cast<std::uint64_t>(scaled);
    if (scaled < 0.0 && scaled > -9223372036854775808.0)
        return static_cast<std::uint64_t>(static_cast<std::int64_t>(scaled));
    return 0;
}

std::uint32_t splitMix(std::uint64_t x)
{
    std::uint64_t z = x + 0x9E3779B97F4A7C15ULL;
    z = (z ^ (z >> 33)) * 0x62A9D9ED799705F5ULL;
    z = (z ^ (z >> 28)) * 0xCB24D0A5C88C35B3ULL;
    return static_cast<std::uint32_t>(z >> 32);
}
} // namespace

void seedRandomState(float seed, RandomState& state)
{
    state.s0 = splitMix(seedToInteger(seed));
    state.s1 = splitMix(state.s0);
    state.s2 = splitMix(state.s1);
    state.s3 = splitMix(state.s2);
}

} // namespace PRT
