#include "editor/SolidFill.h"

#include "editor/ColourLookup.h"
#include "editor/UiLookAndFeel.h"

SolidFill::SolidFill(juce::Colour colour) : fixedColour(colour)
{
    setInterceptsMouseClicks(false, false);
}

void SolidFill::setFixedColour(juce::Colour colour)
{
    fixedColour = colour;
    repaint();
}

void SolidFill::setColourId(int id)
{
    colourId = id;
    repaint();
}

juce::Colour SolidFill::getFillColour() const
{
    const auto colour = Quillmore::findColourOrTransparent(*this, colourId);
    return colour.getAlpha() != 0 ? colour : fixedColour;
}

void SolidFill::paint(juce::Graphics& g)
{
    g.fillAll(getFillColour());
}

namespace Quillmore
{
void setFillColourId(SolidFill& fill)
{
    fill.setColourId(UiLookAndFeel::displayBackgroundColourId);
}
} // namespace Quillmore
