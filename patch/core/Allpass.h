#pragma once

#include "patch/core/DelayLine.h"
#include "runtime/Types.h"

#include <cstring>

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

    // A block in place at one delay (samples, as delaySamples gives): the taps are found once, and
    // four samples go at once where they can.
    void process(float* signal, Index n, float delay, float gain)
    {
        processBlock(signal, n, limitGain(gain), [delay](Index) { return delay; }, true);
    }

    // A block in place whose delay (samples) moves from sample to sample.
    void process(float* signal, Index n, const float* delays, float gain)
    {
        processBlock(signal, n, limitGain(gain), [delays](Index i) { return delays[i]; }, false);
    }

private:
    static float limitGain(float gain) { return gain > kMaximumGain ? kMaximumGain : gain > 0.0f ? gain : 0.0f; }

    // The stage's arithmetic over a block, on the lines' storage directly. Both lines are written
    // together, so one tap serves both; once the lines have been written, a tap does not depend on
    // the write position.
    template <typename DelayOf>
    void processBlock(float* signal, Index n, float g, DelayOf delayOf, bool oneDelay)
    {
        Index i = 0;
        if (n > 0 && feedForward_.unwritten())
        {
            signal[0] = nextAt(signal[0], delayOf(0), g);
            i = 1;
        }
        float* const pastInputs = feedForward_.samples();
        float* const pastOutputs = feedBack_.samples();
        if (i == n || pastInputs == nullptr || pastOutputs == nullptr || feedBack_.mask() != feedForward_.mask())
        {
            for (; i < n; ++i)
                signal[i] = nextAt(signal[i], delayOf(i), g);
            return;
        }
        const std::int64_t mask = feedForward_.mask();
        std::int64_t w = feedForward_.writeIndex();
        const double wideGain = g;
        DelayLine::Tap tap = feedForward_.tapAt(delayOf(i));
        while (i < n)
        {
            if (!oneDelay)
                tap = feedForward_.tapAt(delayOf(i));
            const std::int64_t r = (w + tap.offset) & mask;
            // Four samples at once where their slots lie in one piece and none of them reads what
            // another of the four writes (the oldest read at least five slots back).
            if (oneDelay && mask + 1 - tap.offset >= 5 && n - i >= 4 && r + 4 <= mask && w + 3 <= mask)
            {
                const FourFloats x = loadFourFloats(signal + i);
                const FourFloats a = readFour(pastInputs + r, tap.fraction);
                const FourFloats b = readFour(pastOutputs + r, tap.fraction);
                const FourDoubles y =
                    __builtin_convertvector(a, FourDoubles) - __builtin_convertvector(x - b, FourDoubles) * wideGain;
                const FourFloats out = __builtin_convertvector(y, FourFloats);
                storeFourFloats(pastInputs + w, x);
                storeFourFloats(pastOutputs + w, out);
                storeFourFloats(signal + i, out);
                w = (w + 4) & mask;
                i += 4;
                continue;
            }
            const float x = signal[i];
            const float a = interpolate(pastInputs[r], pastInputs[(r + 1) & mask], tap.fraction);
            const float b = interpolate(pastOutputs[r], pastOutputs[(r + 1) & mask], tap.fraction);
            const auto y = static_cast<float>(static_cast<double>(a) - static_cast<double>(x - b) * wideGain);
            pastInputs[w] = x;
            pastOutputs[w] = y;
            signal[i] = y;
            w = (w + 1) & mask;
            ++i;
        }
        feedForward_.setWriteIndex(w);
        feedBack_.setWriteIndex(w);
    }

    float nextAt(float x, float delay, float g)
    {
        return step(feedForward_, feedBack_, x, feedForward_.readLinear(delay), feedBack_.readLinear(delay), g);
    }

    // The line's linear read, in single precision.
    static float interpolate(float y0, float y1, float fraction) { return fraction * (y1 - y0) + y0; }
    using FourFloats = float __attribute__((vector_size(16)));
    using FourDoubles = double __attribute__((vector_size(32)));
    static FourFloats readFour(const float* slots, float fraction)
    {
        const FourFloats y0 = loadFourFloats(slots);
        const FourFloats y1 = loadFourFloats(slots + 1);
        return fraction * (y1 - y0) + y0;
    }
    static FourFloats loadFourFloats(const float* from)
    {
        FourFloats v;
        std::memcpy(&v, from, sizeof v);
        return v;
    }
    static void storeFourFloats(float* to, FourFloats v) { std::memcpy(to, &v, sizeof v); }

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
