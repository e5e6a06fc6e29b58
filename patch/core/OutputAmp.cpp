#include "patch/core/OutputAmp.h"

#include "patch/core/Arctangent.h"

#include <cmath>

namespace PRT
{
namespace
{
// The arctangent drive of a smoothed saturation amount (0..100): 0.01 + 6.99 × (amount / 100)^1.5,
// the power taken on the magnitude with the sign kept.
float driveFor(float saturation)
{
    const float x = saturation * 0.01f;
    float power = x > 0.0f ? std::pow(x, 1.5f) : -std::pow(-x, 1.5f);
    if (std::isnan(power))
        power = 0.0f;
    return static_cast<float>(static_cast<double>(power * 6.99f) + 0.01);
}

// The output level per unit of "Output": 0.0125 at no saturation, 0.01 at full saturation.
float levelScaleFor(float saturation)
{
    return static_cast<float>(0.0125 - static_cast<double>(saturation * 0.01f * 0.0025f));
}

// atan(drive × x) normalised by atan(drive), so that ±1 stays ±1, for the n samples of a stretch
// whose drive is constant; silence for a drive whose arctangent is 0. The branch-free arctangent lets
// the loop vectorise; it stays within a few units in the last place of the library's (relative, for
// the small arguments of a low drive too), and nothing after this stage feeds back into the patch.
void saturate(float drive, float norm, const float* x, float* y, Index n)
{
    if (norm == 0.0f)
    {
        for (Index i = 0; i < n; ++i)
            y[i] = 0.0f;
        return;
    }
    for (Index i = 0; i < n; ++i)
        y[i] = dsp::arctangent(drive * x[i]) / norm;
}
} // namespace

Quillmore::PRTSubpatcher_39::PRTSubpatcher_39() : GeneratedPatcher({"OutputAmp", 2, 2}) {}

void Quillmore::PRTSubpatcher_39::setupObjects()
{
    levelMonitor.setUp(SignalMonitor::FollowInput);
    driveMonitor.setUp(SignalMonitor::FollowInput);
}

void Quillmore::PRTSubpatcher_39::processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n)
{
    SampleValue* saturation = smoothedSaturation.get();
    SampleValue* work = driveThenLevel.get();
    SampleValue* left = saturatedLeft.get();
    SampleValue* right = saturatedRight.get();

    // A smoother that turned non-finite would stay so for good (and the stage silent): it starts
    // again from its target.
    if (!std::isfinite(saturationSmoother.value()))
        saturationSmoother.setValue(std::isfinite(saturationInput) ? saturationInput : 0.0f);
    if (!std::isfinite(levelSmoother.value()))
    {
        const float level = outputLevelInput * levelScaleFor(saturationSmoother.value());
        levelSmoother.setValue(std::isfinite(level) ? level : 0.0f);
    }

    saturationSmoother.render(saturation, n, saturationInput);

    // Once the amount has settled it stays constant, and so do the drive, its arctangent and the
    // level's target: they are computed once per stretch of equal amounts (the whole block, at rest).
    // The stretch's level target replaces its amounts once they are used.
    bool oneStretch = true;
    for (Index i = 0; i < n;)
    {
        const float amount = saturation[i];
        Index end = i + 1;
        while (end < n && saturation[end] == amount)
            ++end;
        oneStretch = oneStretch && i == 0 && end == n;
        const float drive = driveFor(amount);
        const float norm = std::atan(drive);
        const float levelTarget = outputLevelInput * levelScaleFor(amount);
        for (Index k = i; k < end; ++k)
        {
            work[k] = drive;
            saturation[k] = levelTarget;
        }
        saturate(drive, norm, inputs[0] + i, left + i, end - i);
        saturate(drive, norm, inputs[1] + i, right + i, end - i);
        i = end;
    }
    // The monitors' output signals have no listener in this patch: only their reports are made.
    driveMonitor.process(work, nullptr, n);

    // The level before smoothing is where the smoothed saturation was; then the smoothed level
    // where the drive was.
    levelMonitor.process(saturation, nullptr, n);
    if (oneStretch && n > 0)
        levelSmoother.render(work, n, saturation[0]);
    else
        for (Index i = 0; i < n; ++i)
            work[i] = levelSmoother.next(saturation[i]);

    for (Index i = 0; i < n; ++i)
    {
        outputs[1][i] = work[i] * right[i];
        outputs[0][i] = left[i] * work[i];
    }
}

} // namespace PRT
