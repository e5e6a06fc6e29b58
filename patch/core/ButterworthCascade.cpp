#include "patch/core/ButterworthCascade.h"

#include <cmath>

namespace PRT::dsp
{
namespace
{
// Two doubles, one per cascade: each operation acts on both lanes exactly as on a scalar.
using Lanes = double __attribute__((vector_size(16)));

struct SectionLanes
{
    Lanes b0, b1, b2, a1, a2;
};

// The two sections' memories. The second section's inputs are the first one's outputs, so one
// history serves as both.
struct CascadeLanes
{
    Lanes x1, x2; // the first section's inputs
    Lanes y1, y2; // its outputs, the second section's inputs
    Lanes z1, z2; // the second section's outputs

    // The scalar sections' expressions, term for term in the same order.
    Lanes process(Lanes x, const SectionLanes& c, const SectionLanes& d)
    {
        const Lanes y = c.b0 * x + c.b1 * x1 + c.b2 * x2 - (c.a2 * y2 + c.a1 * y1);
        const Lanes z = d.b0 * y + d.b1 * y1 + d.b2 * y2 - (d.a2 * z2 + d.a1 * z1);
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        z2 = z1;
        z1 = z;
        return z;
    }
};
} // namespace

void ButterworthCascade::prepare(float sampleRate)
{
    radiansPerHz_ = 6.283185307179586 / static_cast<double>(sampleRate);
    designRadiansPerHz_ = 6.2831855f / sampleRate;
    for (int k = 0; k < 2; ++k)
    {
        q_[k] = 1.0f / (2.0f * std::cos(static_cast<float>(k + 1) * 0.62831855f));
        stages_[k].reset();
    }
    memory_ = 0.0f;
    recompute_ = true;
    designed_ = false;
}

double ButterworthCascade::oneMinusExpOf(double x)
{
    return 1.0 - std::exp(-x);
}

// The low-pass and high-pass of the biquad designer, kept in double precision. A cutoff that would
// not design a finite section (NaN, inf) keeps the previous design.
void ButterworthCascade::designStages(float cutoff)
{
    if (designed_ && cutoff == designedCutoff_)
        return;
    const auto w0 = static_cast<double>(cutoff * designRadiansPerHz_);
    const double c = std::cos(w0);
    // |sin w0|, as the designer takes it: a design at half the rate keeps its poles inside.
    const double s = std::fabs(std::sin(w0));
    for (int k = 0; k < 2; ++k)
    {
        const double alpha = s * 0.5 * static_cast<double>(1.0f / q_[k]);
        const double r = 1.0 / (1.0 + alpha);
        const double pass = (mode_ == LowPass ? 1.0 - c : 1.0 + c) * r;
        const double sign = mode_ == LowPass ? 1.0 : -1.0;
        const Section design{pass / 2.0, sign * pass, pass / 2.0, -2.0 * c * r, (1.0 - alpha) * r};
        if (std::isfinite(design.b0) && std::isfinite(design.b1) && std::isfinite(design.a1) && std::isfinite(design.a2))
            coefficients_[k] = design;
    }
    designedCutoff_ = cutoff;
    designed_ = true;
}

bool ButterworthCascade::atRest() const
{
    if (memory_ != 0.0f)
        return false;
    for (const SectionState& s : stages_)
        if (s.x1 != 0.0 || s.x2 != 0.0 || s.y1 != 0.0 || s.y2 != 0.0)
            return false;
    return true;
}

// At rest a silent block stays silent whatever the cut-off: nothing to compute.
bool ButterworthCascade::restsOn(const float* samples, Index n) const
{
    if (!atRest())
        return false;
    for (Index i = 0; i < n; ++i)
        if (samples[i] != 0.0f)
            return false;
    return true;
}

void ButterworthCascade::process(float* samples, Index n, float cutoff)
{
    if (n == 0 || restsOn(samples, n))
        return;
    designStages(cutoff);
    run(samples, n, [cutoff](Index) { return cutoff; });
}

void ButterworthCascade::process(float* samples, Index n, const float* cutoff)
{
    if (n == 0 || restsOn(samples, n))
        return;
    designStages(cutoff[n - 1]);
    run(samples, n, [cutoff](Index i) { return cutoff[i]; });
}

// The second-order sections of two cascades, their coefficients and memories in the two lanes
// while a block runs; each cascade's one-pole stays with it.
struct ButterworthCascade::LanePair
{
    ButterworthCascade& a;
    ButterworthCascade& b;
    SectionLanes c0, c1;
    CascadeLanes s;

    LanePair(ButterworthCascade& first, ButterworthCascade& second) : a(first), b(second)
    {
        c0 = lanesOf(0);
        c1 = lanesOf(1);
        const SectionState(&sa)[2] = a.stages_;
        const SectionState(&sb)[2] = b.stages_;
        s = {Lanes{sa[0].x1, sb[0].x1}, Lanes{sa[0].x2, sb[0].x2}, Lanes{sa[0].y1, sb[0].y1},
             Lanes{sa[0].y2, sb[0].y2}, Lanes{sa[1].y1, sb[1].y1}, Lanes{sa[1].y2, sb[1].y2}};
    }

    SectionLanes lanesOf(int k) const
    {
        const Section& ca = a.coefficients_[k];
        const Section& cb = b.coefficients_[k];
        return {Lanes{ca.b0, cb.b0}, Lanes{ca.b1, cb.b1}, Lanes{ca.b2, cb.b2}, Lanes{ca.a1, cb.a1}, Lanes{ca.a2, cb.a2}};
    }

    // The one-poles' outputs in, the cascades' outputs out: a's in lane 0, b's in lane 1.
    Lanes next(float fromA, float fromB) { return s.process(Lanes{fromA, fromB}, c0, c1); }

    void keep()
    {
        a.stages_[0] = {s.x1[0], s.x2[0], s.y1[0], s.y2[0]};
        a.stages_[1] = {s.y1[0], s.y2[0], s.z1[0], s.z2[0]};
        b.stages_[0] = {s.x1[1], s.x2[1], s.y1[1], s.y2[1]};
        b.stages_[1] = {s.y1[1], s.y2[1], s.z1[1], s.z2[1]};
    }
};

void ButterworthCascade::processSideBySide(ButterworthCascade& a, float* samplesA, float cutoffA,
                                           ButterworthCascade& b, float* samplesB, const float* cutoffB, Index n)
{
    if (n == 0)
        return;
    // A cascade at rest on a silent block skips it, as on its own.
    if (a.restsOn(samplesA, n) || b.restsOn(samplesB, n))
    {
        a.process(samplesA, n, cutoffA);
        b.process(samplesB, n, cutoffB);
        return;
    }
    a.designStages(cutoffA);
    b.designStages(cutoffB[n - 1]);
    LanePair pair(a, b);
    // a's cut-off holds over the block: its coefficient is settled before the loop (a NaN cut-off,
    // recomputed every sample on its own, gives the same coefficient every time).
    OnePoleRun onePoleA = a.startOnePole();
    onePoleA.follow(a, cutoffA);
    OnePoleRun onePoleB = b.startOnePole();
    for (Index i = 0; i < n; ++i)
    {
        const Lanes z = pair.next(onePoleA.step(samplesA[i]), onePoleB.next(b, samplesB[i], cutoffB[i]));
        samplesA[i] = static_cast<float>(z[0]);
        samplesB[i] = static_cast<float>(z[1]);
    }
    pair.keep();
    a.keepOnePole(onePoleA);
    b.keepOnePole(onePoleB);
}

void ButterworthCascade::processInSeries(ButterworthCascade& a, ButterworthCascade& c, float* samples, float cutoffA,
                                         float gain, float cutoffC, Index n)
{
    if (n == 0)
        return;
    // c runs a little behind a: far enough that the vector's two lanes do not wait on each other
    // (c's input is a's output of some samples before, through the block), near enough that the
    // stretches either side, a alone before and c alone after, stay short.
    constexpr Index kBehind = 8;
    // c runs the block unless it starts at rest on a silent block, which only a's outputs tell: a c
    // at rest (only ever at the start) takes the block after a, as on its own.
    if (n <= kBehind || a.restsOn(samples, n) || c.atRest())
    {
        a.process(samples, n, cutoffA);
        for (Index i = 0; i < n; ++i)
            samples[i] *= gain;
        c.process(samples, n, cutoffC);
        return;
    }
    a.designStages(cutoffA);
    c.designStages(cutoffC);
    a.run(samples, kBehind, [cutoffA](Index) { return cutoffA; });
    for (Index i = 0; i < kBehind; ++i)
        samples[i] *= gain;
    LanePair pair(a, c);
    OnePoleRun onePoleA = a.startOnePole();
    onePoleA.follow(a, cutoffA);
    OnePoleRun onePoleC = c.startOnePole();
    onePoleC.follow(c, cutoffC);
    for (Index i = kBehind; i < n; ++i)
    {
        const Lanes z = pair.next(onePoleA.step(samples[i]), onePoleC.step(samples[i - kBehind]));
        samples[i] = static_cast<float>(z[0]) * gain;
        samples[i - kBehind] = static_cast<float>(z[1]);
    }
    pair.keep();
    a.keepOnePole(onePoleA);
    c.keepOnePole(onePoleC);
    c.run(samples + n - kBehind, kBehind, [cutoffC](Index) { return cutoffC; });
}

void ButterworthCascade::processTwoChains(ButterworthCascade& a, ButterworthCascade& c, float* samplesA, float cutoffA,
                                          float gainA, float cutoffC, ButterworthCascade& b, ButterworthCascade& d,
                                          float* samplesB, const float* cutoffB, const float* cutoffD, Index n)
{
    // A b at rest on silence leaves the silence to d, which skips it too if at rest.
    if (b.restsOn(samplesB, n) && d.atRest())
    {
        processInSeries(a, c, samplesA, cutoffA, gainA, cutoffC, n);
        return;
    }
    processSideBySide(a, samplesA, cutoffA, b, samplesB, cutoffB, n);
    for (Index i = 0; i < n; ++i)
        samplesA[i] *= gainA;
    processSideBySide(c, samplesA, cutoffC, d, samplesB, cutoffD, n);
}

} // namespace PRT::dsp
