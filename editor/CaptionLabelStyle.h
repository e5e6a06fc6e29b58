#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace Quillmore
{
// The style of the window's caption labels: white text in the Light face at 0.8 of the label's height,
// stretched by the given horizontal scale, on no background, and transparent to the mouse.
void styleCaptionLabel(juce::Label& label, juce::Justification justification, float horizontalScale);
} // namespace Quillmore
