#pragma once

#include "patch/core/SampleSpan.h"

#include <cmath>
#include <cstddef>

namespace PRT::dsp
{

// Running RMS over the last `window` samples (1000 once the sample rate is at least 1000), the
// squares kept in a history it is handed. The running sum is kept in double: in float, a loud
// passage followed by silence would leave a residue of about -70 dB that never drains.
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

    void setUp(int window)
    {
        window_ = window;
        sum_ = 0.0;
        count_ = 0;
        index_ = 0;
        reset_ = false;
    }

    void prepare(float sampleRate)
    {
        sampleRate_ = sampleRate;
        reset_ = true;
    }

    int window() const { return window_; }

    float next(float x)
    {
        if (window_ != kWindow && sampleRate_ >= 1000.0f)
        {
            window_ = kWindow;
            reset_ = true;
        }
        if (reset_)
        {
            sum_ = 0.0;
            count_ = 0;
            index_ = 0;
            reset_ = false;
        }
        if (history_.data == nullptr || history_.size < 2)
            return 0.0f;

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
        if (++index_ >= history_.size)
            index_ = 0;

        const double mean = count_ > 0 ? sum_ / static_cast<double>(count_) : 0.0;
        return mean > 0.0 ? static_cast<float>(std::sqrt(mean)) : 0.0f;
    }

private:
    SampleSpan history_;
    float sampleRate_ = 44100.0f;
    int window_ = 44100;
    double sum_ = 0.0;
    std::ptrdiff_t count_ = 0;
    std::size_t index_ = 0;
    bool reset_ = false;
};

} // namespace PRT::dsp
