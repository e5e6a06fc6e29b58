#pragma once

namespace PRT::dsp
{

// Two-level trigger: turns on at or above the high threshold and off at or below the low one
// (strictly below when both are equal, so a signal sitting on a single threshold stays on).
class HysteresisTrigger
{
public:
    void setThresholds(float low, float high)
    {
        low_ = low;
        high_ = high;
    }
    void setLow(float low) { low_ = low; }
    void setHigh(float high) { high_ = high; }
    bool isOn() const { return on_; }
    void reset() { on_ = false; }

    // 1 while on, else 0, after this sample's update. NaN leaves the state as it is.
    float next(float x)
    {
        if (on_)
        {
            if (low_ == high_ ? x < low_ : x <= low_)
                on_ = false;
        }
        else if (x >= high_)
        {
            on_ = true;
        }
        return on_ ? 1.0f : 0.0f;
    }

private:
    float low_ = 0.0f;
    float high_ = 0.0f;
    bool on_ = false;
};

} // namespace PRT::dsp
