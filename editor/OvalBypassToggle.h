#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The master bypass switch: a dark pill with a white outline and a white knob, at the left end when on
// and at the right end when off. A click toggles it.
class OvalBypassToggle : public juce::ToggleButton
{
public:
    OvalBypassToggle() = default;

    void paintButton(juce::Graphics& g, bool highlighted, bool down) override;

private:
    JUCE_DECLARE_NON_COPYABLE(OvalBypassToggle)
};
