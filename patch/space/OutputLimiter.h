#pragma once

#include "patch/core/FourLanes.h"
#include "runtime/Types.h"

#include <cmath>

namespace PRT::dsp
{

// The stereo-linked peak limiter on the tape echo's and spring model B's outputs: the gain drops at
// once to what keeps the louder channel at the threshold (1) and recovers over the release (1000 ms),
// additively up to 0.01 and then by a constant factor per sample. It adds no delay. The gain starts
// at 0, so its owner's output fades in over about 6.5 s after construction; a prepare changes only
// the release rate, so neither a new rate nor a new block size restarts that fade-in.
class OutputLimiter
{
public:
    static constexpr float kThreshold = 1.0f;
    static constexpr float kReleaseMs = 1000.0f;

    void prepare(float sampleRate)
    {
        const float perSample = 1000.0f / (sampleRate * kReleaseMs);
        rate_ = static_cast<float>(static_cast<double>(perSample) * 0.707);
        // A rate that is not a rate would leave the gain where it is (or NaN) for good.
        if (!(rate_ > 0.0f) || !std::isfinite(rate_))
            rate_ = static_cast<float>(0.707 / 44100.0);
    }

    float gain() const { return gain_; }
    float releaseRate() const { return rate_; }

    // n sample pairs; the outputs may be the inputs.
    void process(const SampleValue* inL, const SampleValue* inR, SampleValue* outL, SampleValue* outR, Index n)
    {
        Index i = 0;
        // At full gain a stretch within the threshold passes unchanged: only the peak check is left.
        if (gain_ == 1.0f)
        {
            const Index quiet = quietStretch(inL, inR, n);
            for (; i < quiet; ++i)
            {
                outL[i] = inL[i];
                outR[i] = inR[i];
            }
        }
        float g = gain_;
        for (; i < n; ++i)
        {
            const float xL = inL[i];
            const float xR = inR[i];
            const float aL = std::fabs(xL);
            const float aR = std::fabs(xR);
            const float peak = aL > aR ? aL : aR;
            const float recovered = static_cast<double>(g) > 0.01 ? g + g * rate_ : g + rate_;
            g = recovered < 1.0f ? recovered : 1.0f;
            if (g * peak > kThreshold)
                g = kThreshold / peak;
            outL[i] = xL * g;
            outR[i] = xR * g;
        }
        gain_ = g;
    }

private:
    // The samples from the block's start on within the threshold, in whole runs of eight; NaN ends
    // the stretch. Four at a time, spelled out: the compiler leaves this loop scalar. Within the
    // threshold is -1 <= x <= 1, which is |x| <= 1 for every value, NaN included.
    static Index quietStretch(const SampleValue* inL, const SampleValue* inR, Index n)
    {
        using lanes::FourFloats;
        using FourInts = int __attribute__((vector_size(16)));
        const auto within = [](const SampleValue* x) {
            const FourFloats v = lanes::load(x, FourFloats{});
            return (v <= FourFloats{} + kThreshold) & (v >= FourFloats{} - kThreshold);
        };
        Index k = 0;
        for (; k + 8 <= n; k += 8)
        {
            const FourInts all = within(inL + k) & within(inL + k + 4) & within(inR + k) & within(inR + k + 4);
            if ((all[0] & all[1] & all[2] & all[3]) == 0)
                break;
        }
        return k;
    }

    float gain_ = 0.0f;
    float rate_ = static_cast<float>(0.707 / 44100.0);
};

} // namespace PRT::dsp
