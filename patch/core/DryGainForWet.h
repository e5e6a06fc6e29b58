#pragma once

namespace PRT::dsp
{

// The dry gain of the echo and springs mixers for a wet gain m: clamp(1 − m³ + mode, 0, 1). In
// wet/dry mode (0) the dry part falls as the wet one rises; in send/return mode (1) it stays at 1.
// A NaN passes through, for the caller to decide what to hold.
inline float dryGainForWet(float wet, float mode)
{
    const float target = 1.0f - wet * wet * wet + mode;
    return target < 0.0f ? 0.0f : (target > 1.0f ? 1.0f : target);
}

} // namespace PRT::dsp
