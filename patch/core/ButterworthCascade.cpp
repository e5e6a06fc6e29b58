#include "patch/core/ButterworthCascade.h"

#include <cmath>

namespace PRT::dsp
{

void ButterworthCascade::prepare(float sampleRate)
{
    radiansPerHz_ = 6.283185307179586 / static_cast<double>(sampleRate);
    for (int k = 0; k < 2; ++k)
    {
        q_[k] = 1.0f / (2.0f * std::cos(static_cast<float>(k + 1) * 0.62831855f));
        designers_[k].prepare(sampleRate);
        stages_[k].reset();
    }
    memory_ = 0.0f;
    recompute_ = true;
    designed_ = false;
}

// A cutoff of 0 Hz or below (and NaN) takes the smallest coefficient, so the memory never freezes.
float ButterworthCascade::coefficientFor(float cutoff) const
{
    const auto a = static_cast<float>(1.0 - std::exp(-static_cast<double>(cutoff) * radiansPerHz_));
    return !(a > kMinimumCoefficient) ? kMinimumCoefficient : (a > kMaximumCoefficient ? kMaximumCoefficient : a);
}

void ButterworthCascade::designStages(float cutoff)
{
    if (designed_ && cutoff == designedCutoff_)
        return;
    for (int k = 0; k < 2; ++k)
        coefficients_[k] = designers_[k].computeFilterCoefficients(cutoff, q_[k], 1.0f, static_cast<float>(mode_));
    designedCutoff_ = cutoff;
    designed_ = true;
}

void ButterworthCascade::process(float* samples, Index n, float cutoff)
{
    if (n == 0)
        return;
    designStages(cutoff);
    const BiquadCoefficients c0 = coefficients_[0];
    const BiquadCoefficients c1 = coefficients_[1];
    for (Index i = 0; i < n; ++i)
        samples[i] = stages_[1].process(stages_[0].process(onePoleStep(samples[i], cutoff), c0), c1);
}

void ButterworthCascade::process(float* samples, Index n, const float* cutoff)
{
    if (n == 0)
        return;
    designStages(cutoff[n - 1]);
    const BiquadCoefficients c0 = coefficients_[0];
    const BiquadCoefficients c1 = coefficients_[1];
    for (Index i = 0; i < n; ++i)
        samples[i] = stages_[1].process(stages_[0].process(onePoleStep(samples[i], cutoff[i]), c0), c1);
}

} // namespace PRT::dsp
