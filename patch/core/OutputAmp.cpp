#include "patch/core/OutputAmp.h"

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

// atan(drive × x) normalised by atan(drive), so that ±1 stays ±1; silence for a drive whose
// arctangent is 0.
void saturate(const SampleValue* drive, const SampleValue* input, SampleValue* output, Index n)
{
    for (Index i = 0; i < n; ++i)
    {
        const float norm = std::atan(drive[i]);
        output[i] = norm != 0.0f ? std::atan(drive[i] * input[i]) / norm : 0.0f;
    }
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

    for (Index i = 0; i < n; ++i)
        saturation[i] = saturationSmoother.next(saturationInput);

    for (Index i = 0; i < n; ++i)
        work[i] = driveFor(saturation[i]);
    saturate(work, inputs[0], left, n);
    saturate(work, inputs[1], right, n);
    // The monitors' output signals have no listener in this patch: only their reports are made.
    driveMonitor.process(work, nullptr, n);

    // The level before smoothing goes where the smoothed saturation was; then the smoothed level
    // where the drive was.
    for (Index i = 0; i < n; ++i)
        saturation[i] = outputLevelInput * levelScaleFor(saturation[i]);
    levelMonitor.process(saturation, nullptr, n);
    for (Index i = 0; i < n; ++i)
        work[i] = levelSmoother.next(saturation[i]);

    for (Index i = 0; i < n; ++i)
    {
        outputs[1][i] = work[i] * right[i];
        outputs[0][i] = left[i] * work[i];
    }
}

} // namespace PRT
