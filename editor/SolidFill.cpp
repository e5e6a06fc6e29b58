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
    return Quillmore::findColourOr(*this, colourId, fixedColour);
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
