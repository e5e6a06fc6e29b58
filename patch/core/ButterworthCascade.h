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

    // a.process(samplesA, n, cutoffA) and b.process(samplesB, n, cutoffB) in one pass, sample for
    // sample the same results: the two cascades' second-order sections share the lanes of one
    // vector, so each arithmetic step serves both and their recursions' latencies overlap. The two
    // blocks must not overlap.
    static void processSideBySide(ButterworthCascade& a, float* samplesA, float cutoffA, ButterworthCascade& b,
                                  float* samplesB, const float* cutoffB, Index n);
    // a.process(samples, n, cutoffA), each sample times gain, then c.process(samples, n, cutoffC), in
    // one pass with the same results: c runs a few samples behind a in the other lane of the vector.
    static void processInSeries(ButterworthCascade& a, ButterworthCascade& c, float* samples, float cutoffA,
                                float gain, float cutoffC, Index n);
    // Two chains: samplesA through a, times gainA, through c; samplesB through b, then d. The same
    // results as each cascade on its own: where the second chain would skip the block (at rest on
    // silence), the first runs in series, otherwise a beside b, then c beside d.
    static void processTwoChains(ButterworthCascade& a, ButterworthCascade& c, float* samplesA, float cutoffA,
                                 float gainA, float cutoffC, ButterworthCascade& b, ButterworthCascade& d,
                                 float* samplesB, const float* cutoffB, const float* cutoffD, Index n);

    float onePoleCoefficient() const { return onePole_; }
    float q(int stage) const { return q_[stage]; }
    const Section& stageCoefficients(int stage) const { return coefficients_[stage]; }

private:
    // A cutoff of 0 Hz or below (and NaN) takes the smallest coefficient, so the memory never
    // freezes. Inline, so that a loop whose cut-off moves every sample keeps its registers.
    float coefficientFor(float cutoff) const
    {
        // 1 − e^(−x). The cut-offs that move per sample stay far below the rate (x < 0.1), where six
        // terms of the series are exact to double precision and cost a fraction of the exponential.
        const double x = static_cast<double>(cutoff) * radiansPerHz_;
        const double oneMinusExp =
            x > 0.0 && x < 0.1
                ? x * (1.0 - x * (0.5 - x * (1.0 / 6.0 - x * (1.0 / 24.0 - x * (1.0 / 120.0 - x * (1.0 / 720.0))))))
                : oneMinusExpOf(x);
        const auto a = static_cast<float>(oneMinusExp);
        return !(a > kMinimumCoefficient) ? kMinimumCoefficient : (a > kMaximumCoefficient ? kMaximumCoefficient : a);
    }
    static double oneMinusExpOf(double x);
    // Every memory 0.
    bool atRest() const;
    bool restsOn(const float* samples, Index n) const;
    void designStages(float cutoff);

    // The one-pole's running state, in locals while a block runs (the block may alias no member).
    struct OnePoleRun
    {
        float memory;
        float onePole;
        float keep; // 1 − onePole
        float lastCutoff;
        bool recompute;
        bool lowPass;

        // The coefficient for this sample's cut-off: recomputed only when it moved.
        void follow(const ButterworthCascade& cascade, float cutoff)
        {
            if (!(cutoff == lastCutoff) || recompute)
            {
                onePole = cascade.coefficientFor(cutoff);
                keep = 1.0f - onePole;
                lastCutoff = cutoff;
                recompute = false;
            }
        }
        // The first section's input: the memory (low-pass) or what it leaves (high-pass).
        float step(float x)
        {
            memory = keep * memory + onePole * x;
            return lowPass ? memory : x - memory;
        }
        float next(const ButterworthCascade& cascade, float x, float cutoff)
        {
            follow(cascade, cutoff);
            return step(x);
        }
    };
    OnePoleRun startOnePole() const
    {
        return {memory_, onePole_, 1.0f - onePole_, lastCutoff_, recompute_, mode_ == LowPass};
    }
    void keepOnePole(const OnePoleRun& run)
    {
        memory_ = run.memory;
        onePole_ = run.onePole;
        lastCutoff_ = run.lastCutoff;
        recompute_ = run.recompute;
    }

    // Two cascades' sections in the two lanes (ButterworthCascade.cpp).
    struct LanePair;

    // The three sections sample by sample, their state in locals.
    template <typename Cutoff>
    void run(float* samples, Index n, Cutoff cutoffAt)
    {
        const Section c0 = coefficients_[0];
        const Section c1 = coefficients_[1];
        SectionState s0 = stages_[0];
        SectionState s1 = stages_[1];
        OnePoleRun onePole = startOnePole();
        for (Index i = 0; i < n; ++i)
            samples[i] = static_cast<float>(s1.process(s0.process(onePole.next(*this, samples[i], cutoffAt(i)), c0), c1));
        stages_[0] = s0;
        stages_[1] = s1;
        keepOnePole(onePole);
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
