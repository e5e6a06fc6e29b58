#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The INPUT and OUTPUT gain knobs: a dark disc with a coloured ring that fills clockwise from six
// o'clock with the gain, the part beyond the reference gain (unity) in the overdrive colour, and eight
// white marks on the cap that turn with the value. The value is placed on the ring through the
// processor's gain range. Dragging in either direction turns it.
class RotaryFillKnob : public juce::Slider
{
public:
    RotaryFillKnob();

    void setReferenceMark(float value);

    // Where the value lies on the ring, 0 to 1, through the gain range.
    float getRingProportion(double value) const;

    void paint(juce::Graphics& g) override;

private:
    bool referenceShown = false;
    float referenceValue = 0.0f;

    JUCE_DECLARE_NON_COPYABLE(RotaryFillKnob)
};
