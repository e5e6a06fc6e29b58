#pragma once

namespace Quillmore
{
// A peak level (linear, 1 = full scale) as a meter position 0 ... 1: -50 dB and below read 0, 0 dB
// and above read 1, on a curve that spreads out the upper range.
float levelToMeterValue(float peak);

// Peaks from this level on light the clip lamp.
inline constexpr float clipLevel = 0.99f;

// Per host block the meter falls by 3 % unless the new reading reaches it.
inline constexpr float meterFallPerBlock = 0.97f;

// The meter after one more block whose reading is newValue. A reading equal to the meter holds it, so
// that a steady peak (a clipped or constant signal) does not flicker.
inline float followMeter(float stored, float newValue)
{
    return newValue >= stored ? newValue : stored * meterFallPerBlock;
}
} // namespace Quillmore
