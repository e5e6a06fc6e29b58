#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A warble meter: a bar that grows up from the bottom with its value (0..1), over its background.
// Both colours come from colour IDs when they are set and not transparent, else from the fixed colours
// it was made with.
class VerticalMeter : public juce::Component
{
public:
    VerticalMeter(juce::Colour backgroundColour, juce::Colour fillColour);

    // A value 0..1; anything else is brought into that range (not a number: 0). Repaints when it changes.
    void setValue(float newValue);
    float getValue() const { return value; }
    // The background's colour ID.
    void setColourId(int id);
    // The fill's colour ID, so that a skin can colour the bar.
    void setFillColourId(int id);

    void paint(juce::Graphics& g) override;

private:
    juce::Colour backgroundColour;
    juce::Colour fillColour;
    float value = 0.0f;
    int backgroundId = 0;
    int fillId = 0;

    JUCE_DECLARE_NON_COPYABLE(VerticalMeter)
};
