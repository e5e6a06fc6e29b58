#pragma once

#include "patch/core/FilterMode.h"
#include "runtime/Types.h"

namespace PRT::dsp
{

// A fifth-order Butterworth low-pass (LowPass) or high-pass (HighPass), filtering a block in place: a
// one-pole section, then two second-order sections at the pole-pair Qs 1 / (2 cos(kπ/5)), 0.618034
// and 1.618034, all at one cutoff. The one-pole follows a cutoff signal sample by sample (its
// coefficient 1 − e^(−2π fc / sr), kept within [1e-5, 0.99999], recomputed only when the cutoff
// moves); the second-order sections take the block's last cutoff, designed once per block at most.
// The second-order sections keep their coefficients and memories in double precision: at corners of
// a few hertz their poles lie within 1e-8 of the unit circle (2 Hz at 192 kHz: 1 + a1 + a2 is about
// 4e-9), closer than single-precision coefficients resolve, so in single precision a low-pass there
// passes nothing (its numerator rounds to 0) and a high-pass grows without bound, to inf and NaN.
class ButterworthCascade
{
public:
    struct Section
    {
        double b0 = 0.0, b1 = 0.0, b2 = 0.0, a1 = 0.0, a2 = 0.0;

        bool operator==(const Section& o) const
        {
            return b0 == o.b0 && b1 == o.b1 && b2 == o.b2 && a1 == o.a1 && a2 == o.a2;
        }
    };

    struct SectionState
    {
        double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;

        void reset() { *this = {}; }

        double process(double x, const Section& c)
        {
            const double y = c.b0 * x + c.b1 * x1 + c.b2 * x2 - (c.a2 * y2 + c.a1 * y1);
            x2 = x1;
            x1 = x;
            y2 = y1;
            y1 = y;
            return y;
        }
    };

    static constexpr float kMinimumCoefficient = 0.00001f;
    static constexpr float kMaximumCoefficient = 0.99999f;

    explicit ButterworthCascade(FilterMode mode) : mode_(mode) {}

    // Memories cleared, Qs and the designers' rate set, the coefficients due again.
    void prepare(float sampleRate);

    void process(float* samples, Index n, float cutoff);
    void process(float* samples, Index n, const float* cutoff);

    float onePoleCoefficient() const { return onePole_; }
    float q(int stage) const { return q_[stage]; }
    const Section& stageCoefficients(int stage) const { return coefficients_[stage]; }

private:
    float coefficientFor(float cutoff) const;
    bool restsOn(const float* samples, Index n) const;
    void designStages(float cutoff);

    // The three sections sample by sample, their state in locals (the block may alias no member).
    template <typename Cutoff>
    void run(float* samples, Index n, Cutoff cutoffAt)
    {
        const Section c0 = coefficients_[0];
        const Section c1 = coefficients_[1];
        SectionState s0 = stages_[0];
        SectionState s1 = stages_[1];
        float memory = memory_;
        float onePole = onePole_;
        float lastCutoff = lastCutoff_;
        bool recompute = recompute_;
        const bool lowPass = mode_ == LowPass;
        for (Index i = 0; i < n; ++i)
        {
            const float cutoff = cutoffAt(i);
            if (!(cutoff == lastCutoff) || recompute)
            {
                onePole = coefficientFor(cutoff);
                lastCutoff = cutoff;
                recompute = false;
            }
            const float x = samples[i];
            memory = (1.0f - onePole) * memory + onePole * x;
            samples[i] = static_cast<float>(s1.process(s0.process(lowPass ? memory : x - memory, c0), c1));
        }
        stages_[0] = s0;
        stages_[1] = s1;
        memory_ = memory;
        onePole_ = onePole;
        lastCutoff_ = lastCutoff;
        recompute_ = recompute;
    }

    const FilterMode mode_;
    double radiansPerHz_ = 6.283185307179586 / 44100.0;
    float memory_ = 0.0f;
    float lastCutoff_ = 0.0f;
    float onePole_ = kMinimumCoefficient;
    bool recompute_ = true;

    float q_[2] = {0.618034f, 1.618034f};
    float designRadiansPerHz_ = 6.2831855f / 44100.0f;
    SectionState stages_[2];
    Section coefficients_[2];
    float designedCutoff_ = 0.0f;
    bool designed_ = false;
};

} // namespace PRT::dsp
