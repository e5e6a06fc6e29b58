#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace Quillmore
{
// The colour of that ID as the component sees it (its own colour, then its look and feel's), or
// transparent black when neither holds one or the ID is 0 (none).
juce::Colour findColourOrTransparent(const juce::Component& component, int colourId);

// The editor's displays and controls treat a fully transparent colour as missing: the colour of that
// ID, or the fall-back when the ID is 0, unset or its colour has alpha 0.
juce::Colour findColourOr(const juce::Component& component, int colourId, juce::Colour fallback);
} // namespace Quillmore
