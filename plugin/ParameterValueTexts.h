#pragma once

#include <juce_core/juce_core.h>

// What the host shows for a parameter value. Each function takes the value in the parameter's own
// units (already snapped to its range), holds no state and may be called from any thread.
namespace Quillmore
{
// "NoiseGateTime" at or above this many milliseconds switches the gate off.
inline constexpr float gateDisabledTimeMs = 30000.0f;

juce::String gainValueToText(float percentOfUnity); // "+6.0 dB", "0.0 dB", "-inf dB"
juce::String percentValueText(float value);         // "5.00 %", "50.0 %", "112.3 %"
juce::String frequencyValueText(float hertz);       // "600 Hz", "1.00 kHz"
juce::String timeValueText(float milliseconds);     // "250 ms", "1.50 s"
juce::String gateTimeValueText(float milliseconds); // like timeValueText, "INF - Gate Disabled" at the end
juce::String decibelValueText(float decibels);      // "-5.0 dB"
juce::String springBlendValueText(float value);     // "70 % A / 30 % B"
juce::String stereoOffsetValueText(float value);    // -1..1 shown as -75..75 %
juce::String tempoSyncValueText(float value);       // "TEMPO SYNC OFF" / "TEMPO SYNC ON"
juce::String syncDivisionValueText(float value);    // "1/64" .. "WHOLE"
juce::String mixModeValueText(float value);         // "WET/DRY MODE" / "SEND/RET MODE"
juce::String headsSwitchValueText(float value);     // "HEADS OFF" / "HEADS ON"
juce::String spaceSwitchValueText(float value);     // "SPACE OFF" / "SPACE ON"
} // namespace Quillmore
