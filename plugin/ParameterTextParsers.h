#pragma once

#include <juce_core/juce_core.h>

// Text typed into a host's parameter field, read back into the parameter's own units. Each parser
// reads the texts that ParameterValueTexts produces for the same parameter and a bare number in the
// unit the host shows beside the field; a text without a number reads as 0 and never as NaN. The
// framework clamps and snaps the result to the parameter's range.
namespace Quillmore
{
// The number at the start of the text (leading blanks skipped), 0 when there is none.
float plainNumberTextToValue(const juce::String& text);

float decibelTextToValue(const juce::String& text);      // "-12.5 dB", "-3"
float gainTextToValue(const juce::String& text);         // "-6.0 dB", "-inf dB", "+3" -> percent of unity
float frequencyTextToValue(const juce::String& text);    // "600 Hz", "1.00 kHz", "2k"
float timeTextToValue(const juce::String& text);         // "250 ms", "1.50 s"
float gateTimeTextToValue(const juce::String& text);     // as timeTextToValue, "INF ..." for the end stop
float springBlendTextToValue(const juce::String& text);  // "70 % A / 30 % B", "30 % B", "70 % A"
float stereoOffsetTextToValue(const juce::String& text); // "-37.5 %" -> -0.5

// For a stepped parameter with a text per step: the step from `first` to `last` whose text matches
// (letter case and outer blanks aside), else the typed number.
float steppedTextToValue(const juce::String& text, juce::String (*valueText)(float), int first, int last);
} // namespace Quillmore
