#pragma once

#include <cmath>

namespace PRT::dsp
{

// A smoother with separate rise and fall times, given in samples: each sample moves the value by
// 1/time of the remaining distance. Times below one sample (and NaN) act as one sample.
class Slide
{
public:
    void setRise(float samples) { riseCoefficient_ = coefficientFor(samples); }
    void setFall(float samples) { fallCoefficient_ = coefficientFor(samples); }
    void setValue(float value) { value_ = value; }
    float value() const { return value_; }

    // A NaN input takes the fall coefficient.
    float next(float x)
    {
        const float k = x > value_ ? riseCoefficient_ : fallCoefficient_;
        value_ = value_ + (x - value_) * k;
        return value_;
    }

private:
    static float coefficientFor(float samples)
    {
        const float magnitude = std::fabs(samples);
        return 1.0f / (magnitude > 1.0f ? magnitude : 1.0f);
    }

    float riseCoefficient_ = 1.0f;
    float fallCoefficient_ = 1.0f;
    float value_ = 0.0f;
};

} // namespace PRT::dsp
