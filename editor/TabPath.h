#pragma once

#include <juce_graphics/juce_graphics.h>

namespace Quillmore
{
// The outline of the page tab: straight sides, a flat top whose two corners are rounded by quadratic
// curves, and an open bottom that runs one rectangle's height below the top edge (the component's
// bounds cut it). The drawn tab and the tab's click area use it with different radii and offsets.
//   area:           the tab's rectangle
//   cornerRadius:   radius of the top corners, limited to radiusLimit x the rectangle's height
//   sideInset:      taken off the left and the right side
//   topFraction:    the top edge sits this fraction of the height below the rectangle's top
juce::Path makeTabPath(juce::Rectangle<float> area, float cornerRadius, float sideInset, float topFraction,
                       float radiusLimit);
} // namespace Quillmore
