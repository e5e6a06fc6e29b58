#pragma once

#include "patch/core/BiquadCoefficients.h"
#include "patch/core/BiquadDesigner.h"
#include "patch/core/BiquadState.h"
#include "patch/core/FilterMode.h"
#include "runtime/Types.h"

namespace PRT::dsp
{

// A fifth-order Butterworth low-pass (LowPass) or high-pass (HighPass), filtering a block in place: a
// one-pole section, then two second-order sections at the pole-pair Qs 1 / (2 cos(kπ/5)), 0.618034
// and 1.618034, all at one cutoff. The one-pole follows a cutoff signal sample by sample (its
// coefficient 1 − e^(−2π fc / sr), kept within [1e-5, 0.99999], recomputed only when the cutoff
// moves); the second-order sections take the block's last cutoff, designed once per block at most.
class ButterworthCascade
{
public:
    static constexpr float kMinimumCoefficient = 0.00001f;
    static constexpr float kMaximumCoefficient = 0.99999f;

    explicit ButterworthCascade(FilterMode mode) : mode_(mode) {}

    // Memories cleared, Qs and the designers' rate set, the coefficients due again.
    void prepare(float sampleRate);

    void process(float* samples, Index n, float cutoff);
    void process(float* samples, Index n, const float* cutoff);

    float onePoleCoefficient() const { return onePole_; }
    float q(int stage) const { return q_[stage]; }
    const BiquadCoefficients& stageCoefficients(int stage) const { return coefficients_[stage]; }

private:
    float coefficientFor(float cutoff) const;
    bool restsOn(const float* samples, Index n) const;
    void designStages(float cutoff);

    // The three sections sample by sample, their state in locals (the block may alias no member).
    template <typename Cutoff>
    void run(float* samples, Index n, Cutoff cutoffAt)
    {
        const BiquadCoefficients c0 = coefficients_[0];
        const BiquadCoefficients c1 = coefficients_[1];
        BiquadState s0 = stages_[0];
        BiquadState s1 = stages_[1];
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
            samples[i] = s1.process(s0.process(lowPass ? memory : x - memory, c0), c1);
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
    BiquadDesigner designers_[2];
    BiquadState stages_[2];
    BiquadCoefficients coefficients_[2];
    float designedCutoff_ = 0.0f;
    bool designed_ = false;
};

} // namespace PRT::dsp
