#pragma once

#include "patch/core/DelayLine.h"

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
        DelayLine line = line_; // in a local, so that the output's stores cannot be taken for its positions
        for (; i < n; ++i)
        {
            output[i] = line.readAt(tap);
            line.write(input[i]);
        }
        line_ = line;
    }

    // n samples, the same as n calls of next(delay[i], input[i]), the time varying per sample. While
    // no fade runs and the time holds still over the block, a four-point line reads them in one
    // stretch. The output may not be the input.
    void process(const float* delay, const float* input, float* output, std::size_t n)
    {
        bool steady = interpolation_ == Interpolation::FourPoint && remaining_ <= 0.0f && current_ != -1.0f;
        if (steady)
        {
            int same = 1; // an int, not a bool, and no early exit: the compiler vectorises the loop then
            for (std::size_t i = 0; i < n; ++i)
                same &= delay[i] == current_;
            steady = same != 0;
        }
        if (steady)
        {
            line_.processFourPoint(current_, input, output, n);
            return;
        }
        for (std::size_t i = 0; i < n; ++i)
            output[i] = next(delay[i], input[i]);
    }

private:
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
