#pragma once

#include <juce_core/juce_core.h>

#include <optional>

// Text typed into a host's parameter field, read into the parameter's own units. Each parser reads the
// texts that ParameterValueTexts shows for the same parameter, and a bare number in the unit the host
// shows beside the field, letter case and blanks aside. A text it cannot read (no number, a unit of
// another kind, words after the unit, a number beyond a double's range) gives no value: the parameter
// stays where it is, rather than jumping to 0. The framework clamps and snaps a value to the range.
namespace Quillmore
{
using TextReading = std::optional<float>;

TextReading plainNumberTextToValue(const juce::String& text);  // "0.80", "-3", "1e3"
TextReading percentTextToValue(const juce::String& text);      // "42.5 %", "42.5"
TextReading decibelTextToValue(const juce::String& text);      // "-12.5 dB", "-3"
TextReading gainTextToValue(const juce::String& text);         // "-6.0 dB", "-inf dB", "+3", "50 %" -> percent of unity
TextReading frequencyTextToValue(const juce::String& text);    // "600 Hz", "1.00 kHz", "2k"
TextReading timeTextToValue(const juce::String& text);         // "250 ms", "1.50 s"
TextReading gateTimeTextToValue(const juce::String& text);     // as timeTextToValue, "INF - Gate Disabled" or "inf" for the end stop
TextReading springBlendTextToValue(const juce::String& text);  // "70 % A / 30 % B", "30 % B", "70 % A", "30"
TextReading stereoOffsetTextToValue(const juce::String& text); // "-37.5 %" -> -0.5

// For a parameter with whole steps from `first` to `last`: the step whose text (valueText, where the
// parameter has texts of its own) matches; for a two-step switch also the words of switchWordValue;
// else a plain number.
TextReading steppedTextToValue(const juce::String& text, juce::String (*valueText)(float), int first, int last);
} // namespace Quillmore
