#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace Quillmore
{
// Gives the slider its own track colour, and its own overdrive colour too unless the second colour is
// fully transparent (then the look and feel's stays in force).
void setSliderColours(juce::Slider& slider, juce::Colour track, juce::Colour second);
} // namespace Quillmore
