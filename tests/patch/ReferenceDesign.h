#pragma once

#include "patch/core/BiquadDesigner.h"

#include <cstdint>

namespace PRT::test
{

// The coefficients a freshly prepared designer gives: what a module's filter is expected to run on.
inline dsp::BiquadCoefficients referenceDesign(float sampleRate, float hz, float q, float gain, std::int64_t mode)
{
    dsp::BiquadDesigner designer;
    designer.prepare(sampleRate);
    return designer.computeFilterCoefficients(hz, q, gain, static_cast<float>(mode));
}

} // namespace PRT::test
