#pragma once

#include "editor/ToggleSquareBase.h"

namespace UtilityButtons
{
// A section switch: the section's name over "ON" or "OFF", greyed while off. A mouse-down toggles the
// parameter at once.
class OnOffButtonBase : public ToggleSquareBase
{
public:
    OnOffButtonBase() = default;

    void setSectionLabel(const juce::String& text);
    const juce::String& getSectionLabel() const { return sectionLabel; }

    void paint(juce::Graphics& g) override;
    std::vector<Caption> getCaptions() const override;


private:
    juce::String sectionLabel{"ONOFF"};
};

// The Heads section switch ("HeadsOn").
class HeadsOnButton : public OnOffButtonBase
{
public:
    HeadsOnButton() { setSectionLabel("HEADS"); }
};

// The Space section switch ("SpaceOn").
class SpaceOnButton : public OnOffButtonBase
{
public:
    SpaceOnButton() { setSectionLabel("SPACE"); }
};
} // namespace UtilityButtons
