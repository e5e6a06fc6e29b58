#pragma once

#include "patch/core/FourLanes.h"
#include "patch/core/SampleSpan.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace PRT::dsp
{

inline constexpr std::size_t kCosineTableSize = 16384;

// Entry i = cos(2πi/N) over the whole storage: one period.
inline void fillCosineTable(SampleSpan table)
{
    if (table.data == nullptr)
        return;
    const double step = 6.283185307179586 / static_cast<double>(table.size);
    for (std::size_t i = 0; i < table.size; ++i)
        table.data[i] = std::cos(step * static_cast<double>(i));
}

// Cosine from a 16384-entry table with linear interpolation and a 32-bit phase accumulator; the
// output starts at 1. A table with fewer entries (or none) is never read: the oscillator is silent
// and its phase runs on.
class CosineOscillator
{
public:
    void bindTable(SampleSpan table) { table_ = table; }

    void prepare(float sampleRate)
    {
        phase_ = 0;
        incrementFactor_ = 4294967296.0f / sampleRate;
    }

    float next(float frequency) { return nextWithIncrement(increment(frequency)); }

    // The phase step of a frequency, for a caller that holds its frequency over many samples.
    // Truncated toward zero and wrapped, so a negative frequency runs the phase backwards; a
    // product no 64-bit integer holds (NaN, inf) stops the phase.
    std::uint32_t increment(float frequency) const
    {
        const float step = incrementFactor_ * frequency;
        if (!(std::fabs(step) < 9.2e18f))
            return 0;
        return static_cast<std::uint32_t>(static_cast<std::int64_t>(step));
    }

    float nextWithIncrement(std::uint32_t increment)
    {
        lastPhase_ = phase_;
        float out = 0.0f;
        if (table_.data != nullptr && table_.size >= kCosineTableSize)
        {
            const std::uint32_t i = phase_ >> 18;
            const auto a = static_cast<float>(table_.data[i]);
            const auto b = static_cast<float>(table_.data[(i + 1) & (kCosineTableSize - 1)]);
            const auto frac = static_cast<float>(static_cast<double>(phase_ & 0x3ffffu) * 3.81471181759574e-06);
            out = a + (b - a) * frac;
        }
        phase_ += increment;
        return out;
    }

    // n outputs of nextWithIncrement(increment) into out, four phases at a time: lane by lane the
    // same table reads and arithmetic, so the same samples.
    void render(float* out, std::size_t n, std::uint32_t increment)
    {
        std::size_t i = 0;
        if (table_.data != nullptr && table_.size >= kCosineTableSize)
        {
            using Phases = std::uint32_t __attribute__((vector_size(16)));
            using lanes::FourDoubles;
            const Phases steps = Phases{0, 1, 2, 3} * increment;
            for (; i + 4 <= n; i += 4)
            {
                const Phases p = phase_ + steps;
                const Phases index = p >> 18;
                lanes::FourFloats a;
                lanes::FourFloats b;
                for (int k = 0; k < 4; ++k)
                {
                    a[k] = static_cast<float>(table_.data[index[k]]);
                    b[k] = static_cast<float>(table_.data[(index[k] + 1) & (kCosineTableSize - 1)]);
                }
                const auto frac = __builtin_convertvector(
                    __builtin_convertvector(p & 0x3ffffu, FourDoubles) * 3.81471181759574e-06, lanes::FourFloats);
                lanes::store(out + i, a + (b - a) * frac);
                lastPhase_ = p[3];
                phase_ += 4 * increment;
            }
        }
        for (; i < n; ++i)
            out[i] = nextWithIncrement(increment);
    }

    // The phase of the last output, 0..1.
    float phase() const { return static_cast<float>(static_cast<double>(lastPhase_) * 2.3283064365386963e-10); }

private:
    SampleSpan table_;
    std::uint32_t phase_ = 0;
    std::uint32_t lastPhase_ = 0;
    float incrementFactor_ = 4294967296.0f / 44100.0f;
};

} // namespace PRT::dsp
