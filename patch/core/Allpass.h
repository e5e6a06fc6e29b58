#pragma once

#include "patch/core/DelayLine.h"

namespace PRT::dsp
{

// Allpass stage y = -g x + x[n-D] + g y[n-D] on two delay lines (past inputs, past outputs), with the
// delay given in ms and the gain clamped to 0..0.99.
class Allpass
{
public:
    static constexpr float kMaximumGain = 0.99f;

    void setMaximumDelay(double samples)
    {
        feedForward_.setMaximumDelay(samples);
        feedBack_.setMaximumDelay(samples);
    }
    void prepare(float sampleRate) { sampleRate_ = sampleRate; }

    DelayLine& feedForward() { return feedForward_; }
    DelayLine& feedBack() { return feedBack_; }

    float next(float x, float timeMs, float gain)
    {
        const auto limit = static_cast<float>(feedForward_.maximumDelay());
        const auto samples = static_cast<float>(static_cast<double>(timeMs) * sampleRate_ * 0.001);
        // NaN stays NaN here and reads at the shortest delay.
        const float d = samples > limit ? limit : samples < 0.0f ? 0.0f : samples;
        const float g = gain > kMaximumGain ? kMaximumGain : gain > 0.0f ? gain : 0.0f;
        const float pastInput = feedForward_.readLinear(d);
        const float pastOutput = feedBack_.readLinear(d);
        const auto y = static_cast<float>(static_cast<double>(pastInput) - static_cast<double>(x - pastOutput) * g);
        feedForward_.write(x);
        feedBack_.write(y);
        return y;
    }

private:
    DelayLine feedForward_;
    DelayLine feedBack_;
    float sampleRate_ = 44100.0f;
};

} // namespace PRT::dsp
