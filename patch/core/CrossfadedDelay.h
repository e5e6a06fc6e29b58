#pragma once

#include "patch/core/DelayLine.h"
#include "patch/core/FourLanes.h"
#include "patch/core/SteadySignal.h"

#include <cmath>
#include <cstddef>

namespace PRT::dsp
{

// A delay line whose time changes without clicks: a new time fades from the old tap to the new one
// over the crossfade length, starting one sample after it arrives; a time that arrives during a fade
// starts its own fade when the running one has finished. With a length of 0 a new time simply takes
// effect one sample later.
class CrossfadedDelay
{
public:
    enum class Interpolation
    {
        Linear,
        FourPoint
    };

    explicit CrossfadedDelay(Interpolation interpolation = Interpolation::Linear) : interpolation_(interpolation) {}

    DelayLine& line() { return line_; }
    const DelayLine& line() const { return line_; }

    // Rate set-up: the crossfade length in samples and a fresh start at the next requested time.
    void setCrossfade(float sampleRate, float milliseconds)
    {
        const auto samples = static_cast<float>(static_cast<double>(sampleRate) * milliseconds * 0.001);
        length_ = samples >= 1.0f && samples < 2147483647.0f ? static_cast<int>(samples) : 0;
        // A fade still running from a longer length finishes within the new one.
        if (remaining_ > static_cast<float>(length_ - 1))
            remaining_ = length_ > 0 ? static_cast<float>(length_ - 1) : 0.0f;
        current_ = -1.0f;
    }
    int crossfadeLength() const { return length_; }

    float next(float delay, float input)
    {
        if (current_ == -1.0f)
            current_ = delay;

        float out;
        if (remaining_ > 0.0f)
        {
            const float f = remaining_ / static_cast<float>(length_);
            out = static_cast<float>(static_cast<double>(read(current_)) * (1.0 - f) + static_cast<double>(read(previous_)) * f);
            remaining_ -= 1.0f;
        }
        else if (delay != current_)
        {
            out = read(current_);
            previous_ = current_;
            current_ = delay;
            remaining_ = static_cast<float>(length_ - 1);
        }
        else
        {
            out = read(delay);
        }
        line_.write(input);
        return out;
    }

    // A block of next: while no fade runs and the time stands, every sample reads through one tap.
    void process(float delay, const float* input, float* output, std::size_t n)
    {
        const auto steady = [&] {
            return remaining_ == 0.0f && delay == current_ && !line_.unwritten()
                   && interpolation_ == Interpolation::Linear;
        };
        std::size_t i = 0;
        for (; i < n && !steady(); ++i)
            output[i] = next(delay, input[i]);
        if (i == n)
            return;
        const DelayLine::Tap tap = line_.tapAt(delay);
        if (line_.samples() == nullptr)
        {
            for (; i < n; ++i)
            {
                output[i] = line_.readAt(tap);
                line_.write(input[i]);
            }
            return;
        }
        readThroughTap(tap, input, output, i, n);
    }

    // n samples, the same as n calls of next(delay[i], input[i]), the time varying per sample. While
    // no fade runs and the time holds still over the block, a four-point line reads them in one
    // stretch. The output may not be the input.
    void process(const float* delay, const float* input, float* output, std::size_t n)
    {
        bool steady = interpolation_ == Interpolation::FourPoint && remaining_ <= 0.0f && current_ != -1.0f;
        steady = steady && holdsOneValue(delay, static_cast<Index>(n)) && (n == 0 || delay[0] == current_);
        if (steady)
        {
            line_.processFourPoint(current_, input, output, n);
            return;
        }
        for (std::size_t i = 0; i < n; ++i)
            output[i] = next(delay[i], input[i]);
    }

private:
    using FourFloats = lanes::FourFloats;

    // Samples i to n of the steady block on the line's storage: the reads of readAt(tap), each
    // followed by its write.
    void readThroughTap(DelayLine::Tap tap, const float* input, float* output, std::size_t i, std::size_t n)
    {
        float* const slots = line_.samples();
        const std::int64_t mask = line_.mask();
        std::int64_t w = line_.writeIndex();
        const auto one = [&] {
            const std::int64_t r = (w + tap.offset) & mask;
            const float y0 = slots[r];
            const float y1 = slots[(r + 1) & mask];
            const float x = input[i];
            output[i] = tap.fraction * (y1 - y0) + y0;
            slots[w] = x;
            w = (w + 1) & mask;
            ++i;
        };
        const auto four = [&](FourFloats y0, FourFloats y1) {
            const FourFloats out = tap.fraction * (y1 - y0) + y0;
            const FourFloats x = lanes::load(input + i, FourFloats{});
            lanes::store(output + i, out);
            lanes::store(slots + w, x);
            w = (w + 4) & mask;
            i += 4;
        };
        // The tap's first slot lies `behind` slots behind the one about to be written (the distance
        // stays: both move on by one a sample).
        const std::int64_t behind = mask + 1 - (tap.offset & mask);
        if (behind >= 5)
        {
            // None of four samples reads what an earlier one of them writes: four at once where
            // their slots lie in one piece.
            while (n - i >= 4)
            {
                const std::int64_t r = (w + tap.offset) & mask;
                if (r + 4 <= mask && w + 3 <= mask)
                    four(lanes::load(slots + r, FourFloats{}), lanes::load(slots + r + 1, FourFloats{}));
                else
                    one();
            }
        }
        else if (input + n <= output || output + n <= input)
        {
            // A short delay (the springs' feedback reads one sample back): from the `behind`-th
            // sample on, a read finds this block's own input `behind` samples back, and at one
            // sample back its second slot is the one about to be written, still holding its old value.
            const auto back = static_cast<std::size_t>(behind);
            while (i < back && i < n)
                one();
            while (n - i >= 4)
            {
                if (w + 3 > mask)
                    one();
                else
                    four(lanes::load(input + i - back, FourFloats{}),
                         back == 1 ? lanes::load(slots + w, FourFloats{}) : lanes::load(input + i - back + 1, FourFloats{}));
            }
        }
        while (i < n)
            one();
        line_.setWriteIndex(w);
    }

    float read(float delay) const
    {
        return interpolation_ == Interpolation::FourPoint ? line_.readFourPoint(delay) : line_.readLinear(delay);
    }

    DelayLine line_;
    Interpolation interpolation_;
    float current_ = -1.0f;
    float previous_ = 0.0f;
    float remaining_ = 0.0f;
    int length_ = 0;
};

} // namespace PRT::dsp
