#pragma once

namespace PRT::dsp
{

// First-order DC blocker, y = x - x[n-1] + 0.9997 y[n-1]: a high-pass at about 2 Hz at 44.1 kHz.
// The generated modules round it two ways: the sum in double (next), or the feedback product rounded
// to single precision before a single-precision sum (nextRoundingFeedback, spring model A).
class DcBlocker
{
public:
    void reset()
    {
        previousInput_ = 0.0f;
        previousOutput_ = 0.0f;
    }

    float next(float x)
    {
        const float difference = x - previousInput_;
        const float y = static_cast<float>(static_cast<double>(difference) + 0.9997 * static_cast<double>(previousOutput_));
        previousInput_ = x;
        previousOutput_ = y;
        return y;
    }

    float nextRoundingFeedback(float x)
    {
        const float y = (x - previousInput_) + static_cast<float>(0.9997 * static_cast<double>(previousOutput_));
        previousInput_ = x;
        previousOutput_ = y;
        return y;
    }

    float previousOutput() const { return previousOutput_; }

private:
    float previousInput_ = 0.0f;
    float previousOutput_ = 0.0f;
};

} // namespace PRT::dsp
