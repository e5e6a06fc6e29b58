#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace Quillmore
{
// The colour of that ID as the component sees it (its own colour, then its look and feel's), or
// transparent black when neither holds one or the ID is 0 (none): the editor's controls treat a
// transparent colour as missing and use a fixed colour of their own.
juce::Colour findColourOrTransparent(const juce::Component& component, int colourId);
} // namespace Quillmore
