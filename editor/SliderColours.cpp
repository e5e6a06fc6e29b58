#include "editor/SliderColours.h"

#include "editor/UiLookAndFeel.h"

namespace Quillmore
{
void setSliderColours(juce::Slider& slider, juce::Colour track, juce::Colour second)
{
    slider.setColour(juce::Slider::trackColourId, track);
    if (second.getAlpha() != 0)
        slider.setColour(UiLookAndFeel::overdriveColourId, second);
}
} // namespace Quillmore
