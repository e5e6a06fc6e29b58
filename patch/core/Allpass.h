#pragma once

#include "patch/core/DelayLine.h"
#include "patch/core/FourLanes.h"
#include "runtime/Types.h"


#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

    // A block in place at one delay (samples, as delaySamples gives), sample by sample. A loop of
    // stages runs four samples at once through the stages' stretches (see Stretch).
    void process(float* signal, Index n, float delay, float gain)
    {
        processEach(signal, n, [delay](Index) { return delay; }, limitGain(gain));
    }

    // A block in place whose delay (samples) moves from sample to sample.
    void process(float* signal, Index n, const float* delays, float gain)
    {
        processEach(signal, n, [delays](Index i) { return delays[i]; }, limitGain(gain));
    }

    // The four-at-once step of a loop that runs several stages together (a stage's output is the
    // next one's input, sample for sample): the stage's slots at one delay from the write position
    // on, as plain pointers for `length` samples, until a line wraps or the block path's four-sample
    // reach would read what it writes. `usable` is false where no stretch is possible at this
    // delay (lines without storage or not yet written, a delay below five samples); the stage's own
    // process then serves. After a loop has run m samples, advance(m) moves the write positions.
    using FourFloats = lanes::FourFloats;
    using TwoDoubles = double __attribute__((vector_size(16)));
    struct Stretch
    {
        const float* pastInputs = nullptr; // the first sample's read slots
        const float* pastOutputs = nullptr;
        float* inputsTo = nullptr; // the first sample's write slots
        float* outputsTo = nullptr;
        // The tap's fraction and the gain, held broadcast: a loop over many stages cannot keep them
        // all in registers, and a broadcast per use would cost a shuffle each.
        FourFloats fraction{};
        TwoDoubles gain{};
        Index length = 0;
        bool usable = false;

        // Samples j to j + 3 of the stretch.
        FourFloats stepFour(FourFloats x, Index j) const
        {
            const FourFloats out = combine(readFour(pastInputs + j, fraction), x, readFour(pastOutputs + j, fraction), gain);
            lanes::store(inputsTo + j, x);
            lanes::store(outputsTo + j, out);
            return out;
        }
    };

    Stretch stretchAt(float delay, float gain) const
    {
        Stretch s;
        float* const pastInputs = feedForward_.samples();
        float* const pastOutputs = feedBack_.samples();
        if (feedForward_.unwritten() || pastInputs == nullptr || pastOutputs == nullptr
            || feedBack_.mask() != feedForward_.mask() || feedBack_.writeIndex() != feedForward_.writeIndex())
            return s;
        const std::int64_t mask = feedForward_.mask();
        const std::int64_t w = feedForward_.writeIndex();
        const DelayLine::Tap tap = feedForward_.tapAt(delay);
        if (mask + 1 - tap.offset < 5)
            return s;
        const std::int64_t r = (w + tap.offset) & mask;
        // Sample j reads slots r + j and r + j + 1 and writes slot w + j.
        const std::int64_t room = mask - r < mask + 1 - w ? mask - r : mask + 1 - w;
        s.pastInputs = pastInputs + r;
        s.pastOutputs = pastOutputs + r;
        s.inputsTo = pastInputs + w;
        s.outputsTo = pastOutputs + w;
        s.fraction = FourFloats{} + tap.fraction;
        s.gain = TwoDoubles{} + static_cast<double>(limitGain(gain));
        s.length = room < 0xffffffff ? static_cast<Index>(room) : 0xffffffffu;
        s.usable = true;
        return s;
    }

    void advance(Index samples)
    {
        const std::int64_t w = feedForward_.writeIndex() + samples;
        feedForward_.setWriteIndex(w);
        feedBack_.setWriteIndex(w);
    }

private:
    static float limitGain(float gain) { return gain > kMaximumGain ? kMaximumGain : gain > 0.0f ? gain : 0.0f; }

    // The stage's arithmetic over a block, sample by sample, on the lines' storage directly. Both
    // lines are written together, so one tap serves both.
    template <typename DelayOf>
    void processEach(float* signal, Index n, DelayOf delayOf, float g)
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
        for (; i < n; ++i)
        {
            const DelayLine::Tap tap = feedForward_.tapAt(delayOf(i));
            const std::int64_t r = (w + tap.offset) & mask;
            const float x = signal[i];
            const float a = interpolate(pastInputs[r], pastInputs[(r + 1) & mask], tap.fraction);
            const float b = interpolate(pastOutputs[r], pastOutputs[(r + 1) & mask], tap.fraction);
            const auto y = static_cast<float>(static_cast<double>(a) - static_cast<double>(x - b) * wideGain);
            pastInputs[w] = x;
            pastOutputs[w] = y;
            signal[i] = y;
            w = (w + 1) & mask;
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
    // Four samples of the stage's arithmetic: a - (x - b) g, in double as step() has it.
    static FourFloats combine(FourFloats a, FourFloats x, FourFloats b, TwoDoubles g)
    {
#if defined(__SSE2__)
        // Spelled out in halves: the compiler's own split of the double vector converts the high
        // halves through memory.
        const __m128 d = x - b;
        const __m128d low = _mm_sub_pd(_mm_cvtps_pd(a), _mm_mul_pd(_mm_cvtps_pd(d), g));
        const __m128d high = _mm_sub_pd(_mm_cvtps_pd(_mm_movehl_ps(a, a)), _mm_mul_pd(_mm_cvtps_pd(_mm_movehl_ps(d, d)), g));
        return _mm_movelh_ps(_mm_cvtpd_ps(low), _mm_cvtpd_ps(high));
#else
        using lanes::FourDoubles;
        const FourDoubles y = __builtin_convertvector(a, FourDoubles) - __builtin_convertvector(x - b, FourDoubles) * g[0];
        return __builtin_convertvector(y, FourFloats);
#endif
    }
    static FourFloats readFour(const float* slots, FourFloats fraction)
    {
        const FourFloats y0 = lanes::load(slots, FourFloats{});
        const FourFloats y1 = lanes::load(slots + 1, FourFloats{});
        return fraction * (y1 - y0) + y0;
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
