#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A rectangle filled with one colour: the colour of its colour ID when one is set and not fully
// transparent, else its fixed colour. Transparent to the mouse.
class SolidFill : public juce::Component
{
public:
    explicit SolidFill(juce::Colour fixedColour = juce::Colours::black);

    void setFixedColour(juce::Colour colour);
    void setColourId(int id);
    juce::Colour getFillColour() const;

    void paint(juce::Graphics& g) override;

private:
    juce::Colour fixedColour;
    int colourId = 0;

    JUCE_DECLARE_NON_COPYABLE(SolidFill)
};

// The dark backgrounds of the history graph and the spectrum: a solid fill by another name.
class DarkGreyBckgnd : public SolidFill
{
public:
    using SolidFill::SolidFill;
};

namespace Quillmore
{
// Has the fill take the skin's display background colour.
void setFillColourId(SolidFill& fill);
} // namespace Quillmore
