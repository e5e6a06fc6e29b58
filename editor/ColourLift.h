#pragma once

#include <juce_graphics/juce_graphics.h>

namespace Quillmore
{
// The colour with each of red, green and blue brought closer to white: c becomes 255 - (255 - c) /
// divisor, truncated; alpha kept. Hover and press shades of the editor's buttons and the grey of the
// bars' origin and marker lines are made this way.
juce::Colour liftedTowardsWhite(juce::Colour colour, float divisor);
} // namespace Quillmore
