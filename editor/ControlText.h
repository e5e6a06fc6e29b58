#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace Quillmore
{
// The one-line text that switches and bars write over themselves: the Light face (the framework's
// default font under another look and feel) at the component's height less 5 (9 to 36 pixels),
// squeezed to fit, left-aligned with an 8-pixel margin and set a little low.
void drawControlText(juce::Graphics& g, juce::Component& component, const juce::String& text, float horizontalScale,
                     juce::Colour colour);
} // namespace Quillmore
