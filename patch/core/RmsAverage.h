#pragma once

#include "patch/core/SampleSpan.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace PRT::dsp
{

// Running RMS over the last `window` samples (1000 once the sample rate is at least 1000), the
// squares kept in a history it is handed. A running sum collects rounding error with every sample it
// adds and takes away, and in float a loud passage followed by silence leaves a residue that never
// drains (after an hour the silence reads as a level, and a ducker keyed on it ducks). So the sum is
// kept in double and, once per window, taken afresh from the history: its error never outlives one
// window, silence after any length of signal reads exactly 0, and a NaN or infinity stops counting
// once it has left the window.
class RmsAverage
{
public:
    static constexpr int kWindow = 1000;

    // The history must hold more samples than the window; a shorter one shortens the window to fit,
    // and without one (or with a single slot) the average reads 0. New storage restarts the average.
    void bind(SampleSpan history)
    {
        history_ = history;
        reset_ = true;
    }
    const SampleSpan& history() const { return history_; }

    void setUp(int window)
    {
        window_ = window;
        restart();
        reset_ = false;
    }

    void prepare(float sampleRate)
    {
        sampleRate_ = sampleRate;
        reset_ = true;
    }

    int window() const { return window_; }

    // The mean of the squares in the window.
    double nextMeanSquare(float x)
    {
        if (window_ != kWindow && sampleRate_ >= 1000.0f)
        {
            window_ = kWindow;
            reset_ = true;
        }
        if (reset_)
        {
            restart();
            reset_ = false;
        }
        if (history_.data == nullptr || history_.size < 2)
            return 0.0;

        const float square = x * x;
        sum_ += square;
        history_.data[index_] = square;
        const auto size = static_cast<std::ptrdiff_t>(history_.size);
        const std::ptrdiff_t limit = window_ < size - 1 ? window_ : size - 1;
        if (count_ < limit)
        {
            ++count_;
        }
        else
        {
            std::ptrdiff_t oldest = static_cast<std::ptrdiff_t>(index_) - count_;
            while (oldest < 0)
                oldest += size;
            sum_ -= history_.data[oldest];
        }
        freshSum_ += square;
        if (++index_ >= history_.size)
            index_ = 0;
        if (++sinceResum_ >= limit)
            resum();

        return count_ > 0 ? sum_ / static_cast<double>(count_) : 0.0;
    }

    // nextMeanSquare for each of n samples, into meanSquares (x and meanSquares may be the same);
    // returns the largest of them (NaNs left out, 0 if none is larger), found where the running sum's
    // chain of additions leaves time to spare. Once the window is full the samples run in stretches
    // without a wrap, a resummation or a change of the count, where each costs a square, a difference
    // and a multiplication.
    float meanSquares(const float* x, float* meanSquares, std::size_t n)
    {
        float largest = 0.0f;
        std::size_t i = 0;
        while (i < n)
        {
            const auto size = static_cast<std::ptrdiff_t>(history_.size);
            const std::ptrdiff_t limit = window_ < size - 1 ? window_ : size - 1;
            if (reset_ || history_.data == nullptr || history_.size < 2 || count_ < limit || limit < 1 ||
                (window_ != kWindow && sampleRate_ >= 1000.0f))
            {
                const auto mean = static_cast<float>(nextMeanSquare(x[i]));
                meanSquares[i] = mean;
                largest = mean > largest ? mean : largest;
                ++i;
                continue;
            }
            std::ptrdiff_t oldest = static_cast<std::ptrdiff_t>(index_) - count_;
            if (oldest < 0)
                oldest += size;
            const std::ptrdiff_t write = static_cast<std::ptrdiff_t>(index_);
            std::ptrdiff_t run = static_cast<std::ptrdiff_t>(n - i);
            run = std::min(run, size - write);
            run = std::min(run, size - oldest);
            run = std::min(run, limit - sinceResum_);
            double* history = history_.data;
            const double scale = 1.0 / static_cast<double>(count_);
            double sum = sum_;
            double fresh = freshSum_;
            for (std::ptrdiff_t k = 0; k < run; ++k)
            {
                const float square = x[i + k] * x[i + k];
                const double leaving = history[oldest + k];
                history[write + k] = square;
                sum += static_cast<double>(square) - leaving;
                fresh += static_cast<double>(square);
                const auto mean = static_cast<float>(sum * scale);
                meanSquares[i + k] = mean;
                largest = mean > largest ? mean : largest;
            }
            sum_ = sum;
            freshSum_ = fresh;
            i += static_cast<std::size_t>(run);
            index_ = static_cast<std::size_t>(write + run) == history_.size ? 0 : static_cast<std::size_t>(write + run);
            sinceResum_ += run;
            if (sinceResum_ >= limit)
                resum();
        }
        return largest;
    }

    float next(float x)
    {
        const double mean = nextMeanSquare(x);
        return mean > 0.0 ? static_cast<float>(std::sqrt(mean)) : 0.0f;
    }

private:
    void restart()
    {
        sum_ = 0.0;
        freshSum_ = 0.0;
        count_ = 0;
        index_ = 0;
        sinceResum_ = 0;
    }

    // The sum of the count_ squares before index_, added up afresh. When those are exactly the squares
    // written since the last resummation (always, once the window is full), freshSum_ has already
    // added them up in the same order, as a second chain beside the running sum: the same bits
    // without a second pass over the window.
    void resum()
    {
        if (sinceResum_ == count_)
        {
            sum_ = freshSum_;
            freshSum_ = 0.0;
            sinceResum_ = 0;
            return;
        }
        double sum = 0.0;
        const auto end = static_cast<std::ptrdiff_t>(index_);
        std::ptrdiff_t start = end - count_;
        if (start < 0)
        {
            for (std::ptrdiff_t i = start + static_cast<std::ptrdiff_t>(history_.size);
                 i < static_cast<std::ptrdiff_t>(history_.size); ++i)
                sum += history_.data[i];
            start = 0;
        }
        for (std::ptrdiff_t i = start; i < end; ++i)
            sum += history_.data[i];
        sum_ = sum;
        freshSum_ = 0.0;
        sinceResum_ = 0;
    }

    SampleSpan history_;
    float sampleRate_ = 44100.0f;
    int window_ = 44100;
    double sum_ = 0.0;
    double freshSum_ = 0.0; // the squares written since the last resummation, in order
    std::ptrdiff_t count_ = 0;
    std::size_t index_ = 0;
    std::ptrdiff_t sinceResum_ = 0;
    bool reset_ = false;
};

} // namespace PRT::dsp
