#pragma once

#include "editor/OvalBypassToggle.h"

#include <juce_gui_basics/juce_gui_basics.h>

// The cover over the whole window while the master bypass is on: a dark veil that takes every click,
// so nothing beneath can be operated, with "BYPASSED" under a switch of its own that stands exactly
// where the (hidden) main bypass switch is and turns the bypass off through it.
class BypassOverlay : public juce::Component
{
public:
    static constexpr juce::uint32 initialFillColour = 0x80000000;

    explicit BypassOverlay(juce::Button& mainSwitch);

    void setFillColour(juce::Colour colour);
    juce::Colour getFillColour() const { return fillColour; }

    // Where the main switch is, in the overlay's (the editor's) coordinates; the own switch goes there.
    juce::Rectangle<int> switchArea;
    OvalBypassToggle ownSwitch;

    // Where "BYPASSED" is written.
    juce::Rectangle<int> captionArea() const;

    void resized() override;
    void paint(juce::Graphics& g) override;

private:
    juce::Button& mainSwitch;
    juce::Colour fillColour{initialFillColour};

    JUCE_DECLARE_NON_COPYABLE(BypassOverlay)
};
