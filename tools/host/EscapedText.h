#pragma once

#include <juce_core/juce_core.h>

namespace Quillmore::Host
{
// A text made to stay on one line of a listing: line breaks, tabs and the other control characters
// are written as escapes (\n, \t, \r, \xHH, \uHHHH) and a backslash as \\, so that an escape made here
// never reads the same as one that the text itself holds.
juce::String escapedForOneLine(const juce::String& text);
} // namespace Quillmore::Host
