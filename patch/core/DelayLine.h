#pragma once

#include "patch/core/GeneratedMath.h"
#include "patch/core/SampleSpan.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace PRT::dsp
{

// A delay line over storage it is handed. Every sample written is a float, so it holds floats. It uses the largest power of two that
// fits the storage, so every index is a mask and no read or write leaves the storage; without
// storage it reads zeros. A read at delay d returns the input of d samples before the sample about
// to be written (linear read) or of d - 1 samples before (four-point read); delays above the
// maximum read at the maximum, and delays below one sample (NaN included) at one sample, except
// that the linear read of a line that has not been written since its indices were reset reads at 0.
class DelayLine
{
public:
    static constexpr std::int64_t kLargestMaximumDelay = std::int64_t{1} << 31;

    // max(2, floor(samples)).
    void setMaximumDelay(double samples)
    {
        const double whole = samples >= 2.0 ? std::floor(samples) : 2.0;
        maximumDelay_ = whole < static_cast<double>(kLargestMaximumDelay) ? static_cast<std::int64_t>(whole)
                                                                         : kLargestMaximumDelay;
    }
    std::int64_t maximumDelay() const { return maximumDelay_; }

    // Samples to ask the data reference for.
    std::size_t requiredCapacity() const
    {
        return static_cast<std::size_t>(nextPowerOfTwo(static_cast<std::uint64_t>(maximumDelay_)));
    }

    // (Re)binds the storage, keeping the positions while they still fit.
    void bind(FloatSampleSpan storage)
    {
        storage_ = storage;
        capacity_ = 0;
        if (!storage.empty())
        {
            capacity_ = 1;
            while (capacity_ <= storage.size / 2)
                capacity_ *= 2;
        }
        mask_ = capacity_ > 0 ? static_cast<std::int64_t>(capacity_ - 1) : 0;
        if (writeIndex_ >= static_cast<std::int64_t>(capacity_) || lastWritten_ >= static_cast<std::int64_t>(capacity_))
            writeIndex_ = lastWritten_ = 0;
    }
    std::size_t capacity() const { return capacity_; }

    void clear()
    {
        for (std::size_t i = 0; i < storage_.size && storage_.data != nullptr; ++i)
            storage_.data[i] = 0.0f;
    }

    // After a resize: both positions back to 0 when either lies at or beyond the maximum delay.
    void rewindIfBeyondMaximum()
    {
        if (writeIndex_ >= maximumDelay_ || lastWritten_ >= maximumDelay_)
            writeIndex_ = lastWritten_ = 0;
    }

    float readLinear(float delay) const
    {
        if (capacity_ == 0)
            return 0.0f;
        const Position p = position(delay, lastWritten_ != writeIndex_ ? 1.0 : 0.0);
        const float y0 = at(p.index);
        const float y1 = at(p.index + 1);
        return p.fraction * (y1 - y0) + y0;
    }

    // Lagrange interpolation through four samples, passing through the second one at fraction 0.
    // Below 3 samples its newest point is the slot about to be written, i.e. the oldest sample.
    float readFourPoint(float delay) const
    {
        if (capacity_ == 0)
            return 0.0f;
        const Position p = position(delay, lastWritten_ == writeIndex_ + 1 ? 0.0 : 1.0);
        const double f = p.fraction;
        const double w0 = -0.1666667 * f * (1.0 - f) * (2.0 - f);
        const double w1 = 0.5 * (1.0 + f) * (1.0 - f) * (2.0 - f);
        const double w2 = 0.5 * (1.0 + f) * f * (2.0 - f);
        const double w3 = -0.1666667 * (1.0 + f) * f * (1.0 - f);
        return static_cast<float>(at(p.index) * w0) + static_cast<float>(at(p.index + 1) * w1)
               + static_cast<float>(at(p.index + 2) * w2) + static_cast<float>(at(p.index + 3) * w3);
    }

    // Where a linear read at a delay finds its slots, relative to the write position: a line that is
    // written once per read keeps reading at the same delay through the same tap, so a block at one
    // delay finds it once (readAt gives what readLinear gives for that delay).
    struct Tap
    {
        std::int64_t offset;
        float fraction;
    };
    Tap tapAt(float delay) const
    {
        const Position p = position(delay, lastWritten_ != writeIndex_ ? 1.0 : 0.0);
        return {p.index - writeIndex_, p.fraction};
    }
    float readAt(Tap tap) const
    {
        if (capacity_ == 0)
            return 0.0f;
        const float y0 = at(writeIndex_ + tap.offset);
        const float y1 = at(writeIndex_ + tap.offset + 1);
        return tap.fraction * (y1 - y0) + y0;
    }
    // Not written since its positions were reset: its shortest delay is still 0.
    bool unwritten() const { return lastWritten_ == writeIndex_; }

    // n four-point reads at one delay, each followed by the write of its input sample: the same
    // samples as n readFourPoint(delay) and write() pairs, with the position's fraction and weights
    // computed once (after the first write the position only moves by whole samples). The output
    // may not be the input.
    void processFourPoint(float delay, const float* input, float* output, std::size_t n)
    {
        if (n == 0)
            return;
        output[0] = readFourPoint(delay);
        write(input[0]);
        if (capacity_ == 0)
        {
            for (std::size_t i = 1; i < n; ++i)
                output[i] = 0.0f;
            return;
        }
        const Position p = position(delay, 1.0);
        const double f = p.fraction;
        const double w0 = -0.1666667 * f * (1.0 - f) * (2.0 - f);
        const double w1 = 0.5 * (1.0 + f) * (1.0 - f) * (2.0 - f);
        const double w2 = 0.5 * (1.0 + f) * f * (2.0 - f);
        const double w3 = -0.1666667 * (1.0 + f) * f * (1.0 - f);
        std::int64_t index = p.index;
        std::int64_t w = writeIndex_;
        std::size_t i = 1;
        const auto one = [&] {
            output[i] = static_cast<float>(at(index) * w0) + static_cast<float>(at(index + 1) * w1)
                        + static_cast<float>(at(index + 2) * w2) + static_cast<float>(at(index + 3) * w3);
            storage_.data[w] = input[i];
            lastWritten_ = w;
            w = (w + 1) & mask_;
            ++i;
            ++index;
        };
#if defined(__SSE2__)
        // Four samples at once, lane by lane the same arithmetic, where their seven slots lie in one
        // piece and none of them is one that an earlier sample of the four writes: the oldest slot
        // read lies at least seven behind the write position (the distance stays, both move on by one).
        if (((index - w) & mask_) + 6 <= mask_)
        {
            const __m128d v0 = _mm_set1_pd(w0), v1 = _mm_set1_pd(w1), v2 = _mm_set1_pd(w2), v3 = _mm_set1_pd(w3);
            float* const slots = storage_.data;
            while (i + 4 <= n)
            {
                const std::int64_t r = index & mask_;
                if (r + 6 > mask_ || w + 3 > mask_)
                {
                    one();
                    continue;
                }
                const __m128 t = _mm_add_ps(_mm_add_ps(_mm_add_ps(weighFour(slots + r, v0), weighFour(slots + r + 1, v1)),
                                                       weighFour(slots + r + 2, v2)),
                                            weighFour(slots + r + 3, v3));
                _mm_storeu_ps(output + i, t);
                _mm_storeu_ps(slots + w, _mm_loadu_ps(input + i));
                lastWritten_ = w + 3;
                w = (w + 4) & mask_;
                i += 4;
                index += 4;
            }
        }
#endif
        while (i < n)
            one();
        writeIndex_ = w;
    }

    void write(float x)
    {
        lastWritten_ = writeIndex_;
        if (capacity_ == 0)
            return;
        storage_.data[writeIndex_] = x;
        writeIndex_ = (writeIndex_ + 1) & mask_;
    }

    // write() for each of n samples, in two stretches either side of the wrap.
    void writeBlock(const float* x, std::size_t n)
    {
        if (n == 0)
            return;
        if (capacity_ == 0)
        {
            lastWritten_ = writeIndex_;
            return;
        }
        std::size_t done = 0;
        while (done < n)
        {
            const auto room = static_cast<std::size_t>(static_cast<std::int64_t>(capacity_) - writeIndex_);
            const std::size_t stretch = n - done < room ? n - done : room;
            float* out = storage_.data + writeIndex_;
            for (std::size_t i = 0; i < stretch; ++i)
                out[i] = x[done + i];
            lastWritten_ = writeIndex_ + static_cast<std::int64_t>(stretch) - 1;
            writeIndex_ = (writeIndex_ + static_cast<std::int64_t>(stretch)) & mask_;
            done += stretch;
        }
    }

    std::int64_t writeIndex() const { return writeIndex_; }

    // Raw access for a block loop over lines that are written once per read: the storage (null
    // without any), its mask, and the write position, which the loop hands back with setWriteIndex.
    float* samples() const { return capacity_ > 0 ? storage_.data : nullptr; }
    std::int64_t mask() const { return mask_; }
    void setWriteIndex(std::int64_t index)
    {
        writeIndex_ = index & mask_;
        lastWritten_ = (writeIndex_ - 1) & mask_;
    }

private:
    struct Position
    {
        std::int64_t index;
        float fraction;
    };

    // The position is formed in double: in float the fraction of a long line (2^19 samples and
    // more) would be quantised to 1/16 sample and coarser.
    Position position(float delay, double minimum) const
    {
        const double d = static_cast<double>(delay);
        const double clamped = d > static_cast<double>(maximumDelay_) ? static_cast<double>(maximumDelay_)
                               : d >= minimum                         ? d
                                                                      : minimum;
        // The position's whole part is one signed conversion (the two integers are far below 2^53,
        // so their sum is the sum of their conversions), where an unsigned one costs a branch.
        const double p = static_cast<double>(writeIndex_ + static_cast<std::int64_t>(capacity_)) - clamped;
        // p is never negative (the delay is at most the capacity), so truncation is the floor, and
        // much cheaper than the library's floor on machines without a rounding instruction.
        const auto whole = static_cast<std::int64_t>(p);
        return {whole, static_cast<float>(p - static_cast<double>(whole))};
    }

    float at(std::int64_t index) const { return storage_.data[index & mask_]; }

#if defined(__SSE2__)
    // Four slots each times the weight in double, each product rounded to single precision.
    static __m128 weighFour(const float* slots, __m128d weight)
    {
        const __m128 y = _mm_loadu_ps(slots);
        const __m128 low = _mm_cvtpd_ps(_mm_mul_pd(_mm_cvtps_pd(y), weight));
        const __m128 high = _mm_cvtpd_ps(_mm_mul_pd(_mm_cvtps_pd(_mm_movehl_ps(y, y)), weight));
        return _mm_movelh_ps(low, high);
    }
#endif

    FloatSampleSpan storage_;
    std::size_t capacity_ = 0;
    std::int64_t mask_ = 0;
    std::int64_t maximumDelay_ = 2;
    std::int64_t writeIndex_ = 0;
    std::int64_t lastWritten_ = 0;
};

} // namespace PRT::dsp
