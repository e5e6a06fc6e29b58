#pragma once

#include "patch/core/DelayLine.h"
#include "runtime/Types.h"

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

    // The delay in samples of a time in ms, limited to 0..the maximum (NaN stays NaN, and reads at
    // the shortest delay).
    float delaySamples(float timeMs) const
    {
        const auto limit = static_cast<float>(feedForward_.maximumDelay());
        const auto samples = static_cast<float>(static_cast<double>(timeMs) * sampleRate_ * 0.001);
        return samples > limit ? limit : samples < 0.0f ? 0.0f : samples;
    }

    float next(float x, float timeMs, float gain) { return nextAt(x, delaySamples(timeMs), limitGain(gain)); }

    // A block in place at one delay (samples, as delaySamples gives): the taps are found once.
    void process(float* signal, Index n, float delay, float gain)
    {
        const float g = limitGain(gain);
        Index i = 0;
        if (n > 0 && feedForward_.unwritten())
        {
            signal[0] = nextAt(signal[0], delay, g);
            i = 1;
        }
        // Both lines are written together, so one tap serves both. In locals, so that the signal's
        // stores cannot be taken for the lines' positions.
        const DelayLine::Tap tap = feedForward_.tapAt(delay);
        DelayLine feedForward = feedForward_;
        DelayLine feedBack = feedBack_;
        for (; i < n; ++i)
            signal[i] = step(feedForward, feedBack, signal[i], feedForward.readAt(tap), feedBack.readAt(tap), g);
        feedForward_ = feedForward;
        feedBack_ = feedBack;
    }

    // A block in place whose delay (samples) moves from sample to sample.
    void process(float* signal, Index n, const float* delays, float gain)
    {
        const float g = limitGain(gain);
        for (Index i = 0; i < n; ++i)
            signal[i] = nextAt(signal[i], delays[i], g);
    }

private:
    static float limitGain(float gain) { return gain > kMaximumGain ? kMaximumGain : gain > 0.0f ? gain : 0.0f; }

    float nextAt(float x, float delay, float g)
    {
        return step(feedForward_, feedBack_, x, feedForward_.readLinear(delay), feedBack_.readLinear(delay), g);
    }

    static float step(DelayLine& feedForward, DelayLine& feedBack, float x, float pastInput, float pastOutput, float g)
    {
        const auto y = static_cast<float>(static_cast<double>(pastInput) - static_cast<double>(x - pastOutput) * g);
        feedForward.write(x);
        feedBack.write(y);
        return y;
    }

    DelayLine feedForward_;
    DelayLine feedBack_;
    float sampleRate_ = 44100.0f;
};

} // namespace PRT::dsp
