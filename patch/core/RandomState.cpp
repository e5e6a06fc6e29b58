#include "patch/core/RandomState.h"

#include <atomic>
#include <cmath>
#include <ctime>

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

// Every (re)seeding of the process-wide generator starts an epoch; a thread's state belongs to the
// epoch it was seeded in and is reseeded on its next draw in a later one. Epoch 0: not yet seeded.
std::atomic<std::uint32_t> generatorEpoch{0};
std::atomic<float> epochSeed{0.0f};
std::atomic<std::uint32_t> threadsSeededInEpoch{0};
std::atomic<bool> clockFixed{false};

struct ThreadGenerator
{
    RandomState state;
    std::uint32_t epoch = 0;
};

thread_local ThreadGenerator threadGenerator;

std::uint32_t processClockTicks()
{
    return clockFixed.load(std::memory_order_relaxed) ? 0u : static_cast<std::uint32_t>(std::clock());
}

void startEpoch(float seed)
{
    epochSeed.store(seed, std::memory_order_relaxed);
    threadsSeededInEpoch.store(0, std::memory_order_relaxed);
    generatorEpoch.fetch_add(1, std::memory_order_release);
}

// Seeded during static initialisation, when the library loads.
const bool seededAtLoad = (startEpoch(static_cast<float>(processClockTicks())), true);
} // namespace

void seedRandomState(float seed, RandomState& state)
{
    state.s0 = splitMix(seedToInteger(seed));
    state.s1 = splitMix(state.s0);
    state.s2 = splitMix(state.s1);
    state.s3 = splitMix(state.s2);
}

float nextRandomValue()
{
    ThreadGenerator& generator = threadGenerator;
    std::uint32_t epoch = generatorEpoch.load(std::memory_order_acquire);
    if (epoch == 0)
    {
        // A draw from another library part's static initialiser, before ours ran.
        startEpoch(static_cast<float>(processClockTicks()));
        epoch = generatorEpoch.load(std::memory_order_acquire);
    }
    if (generator.epoch != epoch)
    {
        const std::uint32_t ordinal = threadsSeededInEpoch.fetch_add(1, std::memory_order_relaxed);
        seedRandomState(epochSeed.load(std::memory_order_relaxed) + static_cast<float>(ordinal), generator.state);
        generator.epoch = epoch;
    }
    return std::fabs(static_cast<float>(nextRandomBits(generator.state)) * kRandomBitsScale - 1.0f);
}

float randomInRange(float low, float high)
{
    return nextRandomValue() * (high - low) + low;
}

float clockSeed(int32_t seedOffset)
{
    const std::uint32_t ticks = processClockTicks() + static_cast<std::uint32_t>(seedOffset);
    return static_cast<float>(ticks) + randomInRange(0.0f, 10000.0f);
}

void seedRandomStateFromClock(RandomState& state, int32_t seedOffset)
{
    seedRandomState(clockSeed(seedOffset), state);
}

void useFixedRandomSeed(float seed)
{
    clockFixed.store(true, std::memory_order_relaxed);
    startEpoch(seed);
}

void useClockRandomSeed()
{
    clockFixed.store(false, std::memory_order_relaxed);
    startEpoch(static_cast<float>(processClockTicks()));
}

} // namespace PRT
