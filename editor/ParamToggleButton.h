#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A rounded switch with one text for each state ("HOST SYNC ON" / "HOST SYNC OFF"), coloured through
// colour IDs. An on or off colour that is not fully opaque counts as missing and is replaced by a fixed
// dark green or grey, so every skin's translucent off colour shows as solid grey. Takes no keyboard
// focus; a click toggles it.
class ParamToggleButton : public juce::ToggleButton
{
public:
    static constexpr juce::uint32 fallbackOnColour = 0xff006400;
    static constexpr juce::uint32 fallbackOffColour = 0xff555555;
    static constexpr juce::uint32 fallbackOutlineColour = 0xe6ffffff;

    ParamToggleButton();

    void setTexts(const juce::String& onText, const juce::String& offText);
    void setOnColourId(int colourId);
    void setOffColourId(int colourId);
    void setOutlineColourId(int colourId);

    // The fill of the current state before hover and press shading.
    juce::Colour getStateColour() const;

    void paintButton(juce::Graphics& g, bool highlighted, bool down) override;

private:
    int onColourId = 0;
    int offColourId = 0;
    int outlineColourId = 0;
    juce::String onText{"On"};
    juce::String offText{"Off"};

    JUCE_DECLARE_NON_COPYABLE(ParamToggleButton)
};
