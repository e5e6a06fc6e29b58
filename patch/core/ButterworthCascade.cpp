#include "patch/core/ButterworthCascade.h"

#include <cmath>

namespace PRT::dsp
{

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

// A cutoff of 0 Hz or below (and NaN) takes the smallest coefficient, so the memory never freezes.
float ButterworthCascade::coefficientFor(float cutoff) const
{
    // 1 − e^(−x). The cut-offs that move per sample stay far below the rate (x < 0.1), where six
    // terms of the series are exact to double precision and cost a fraction of the exponential.
    const double x = static_cast<double>(cutoff) * radiansPerHz_;
    const double oneMinusExp =
        x > 0.0 && x < 0.1 ? x * (1.0 - x * (0.5 - x * (1.0 / 6.0 - x * (1.0 / 24.0 - x * (1.0 / 120.0 - x * (1.0 / 720.0))))))
                           : 1.0 - std::exp(-x);
    const auto a = static_cast<float>(oneMinusExp);
    return !(a > kMinimumCoefficient) ? kMinimumCoefficient : (a > kMaximumCoefficient ? kMaximumCoefficient : a);
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

// At rest (every memory 0) a silent block stays silent whatever the cut-off: nothing to compute.
bool ButterworthCascade::restsOn(const float* samples, Index n) const
{
    if (memory_ != 0.0f)
        return false;
    for (const SectionState& s : stages_)
        if (s.x1 != 0.0 || s.x2 != 0.0 || s.y1 != 0.0 || s.y2 != 0.0)
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

} // namespace PRT::dsp
