#include "editor/ColourLookup.h"

namespace Quillmore
{
juce::Colour findColourOrTransparent(const juce::Component& component, int colourId)
{
    if (colourId == 0)
        return juce::Colours::transparentBlack;
    if (component.isColourSpecified(colourId) || component.getLookAndFeel().isColourSpecified(colourId))
        return component.findColour(colourId);
    return juce::Colours::transparentBlack;
}

juce::Colour findColourOr(const juce::Component& component, int colourId, juce::Colour fallback)
{
    const auto colour = findColourOrTransparent(component, colourId);
    return colour.getAlpha() != 0 ? colour : fallback;
}
} // namespace Quillmore
