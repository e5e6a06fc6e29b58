#pragma once

#include <cmath>

namespace PRT::dsp
{

// A phase ramp in [0, 1] at a rate in Hz (negative rates run it backwards). Each sample wraps the
// phase once into range, outputs it, then advances it by rate / sample rate, so the output is the
// phase before the advance. A rate so large (or non-finite) that one wrap is not enough is folded
// back into range, NaN to 0, so the output never leaves [0, 1].
class RampPhasor
{
public:
    void prepare(float sampleRate) { invSampleRate_ = 1.0f / sampleRate; }
    void setPhase(float phase) { phase_ = phase; }
    float phase() const { return phase_; }

    float next(float rate)
    {
        float p = phase_;
        // Within range, the wraps below leave the phase as it is: a branch taken once a cycle, so that
        // the phase's recursion is the addition alone.
        if (!(p >= 0.0f && p <= 1.0f))
            p = wrap(p);
        phase_ = p + rate * invSampleRate_;
        return p;
    }

private:
    static float wrap(float p)
    {
        if (p < 0.0f)
            p += 1.0f;
        if (p > 1.0f)
            p -= 1.0f;
        if (!(p >= 0.0f && p <= 1.0f))
            p = fold(p);
        return p;
    }

    static float fold(float p)
    {
        const float f = p - std::floor(p);
        return f >= 0.0f && f <= 1.0f ? f : 0.0f;
    }

    float phase_ = 0.0f;
    float invSampleRate_ = 1.0f / 44100.0f;
};

// The difference from the previous input sample (0 before the first).
class SampleDelta
{
public:
    void reset() { previous_ = 0.0f; }

    float next(float x)
    {
        const float d = x - previous_;
        previous_ = x;
        return d;
    }

private:
    float previous_ = 0.0f;
};

} // namespace PRT::dsp
