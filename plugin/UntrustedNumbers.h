#pragma once

#include <juce_data_structures/juce_data_structures.h>

namespace Quillmore
{
// Reads a number from text that anyone may have written, as the framework reads one (leading white
// space, a sign, "nan" or "inf", digits with a point and an exponent, anything after them ignored;
// no number at all reads 0), but defined for any text: the framework's reader overflows a signed int
// on an exponent such as "-3e44444444443z". Such an exponent gives the infinity or the zero it means.
double readUntrustedNumber(const juce::String& text);

// A value as a number: a text through readUntrustedNumber, anything else as the framework converts it.
double untrustedNumberOf(const juce::var& value);

// Gives every child's "value" that is a text the number it reads as, so that the framework never
// parses the text itself.
void replaceValueTextsWithNumbers(juce::ValueTree& tree);
} // namespace Quillmore
