#include "editor/BypassOverlay.h"

#include "editor/SquareUtilityBase.h"

#include <algorithm>

BypassOverlay::BypassOverlay(juce::Button& mainSwitchToFollow) : mainSwitch(mainSwitchToFollow)
{
    addAndMakeVisible(ownSwitch);
    ownSwitch.setClickingTogglesState(true);
    ownSwitch.setWantsKeyboardFocus(false);
    ownSwitch.setMouseClickGrabsKeyboardFocus(false);
    // Synchronously, so that the main switch's attachment writes the parameter and its click handler
    // updates this overlay before the click returns.
    ownSwitch.onClick = [this] { mainSwitch.setToggleState(ownSwitch.getToggleState(), juce::sendNotificationSync); };
    setInterceptsMouseClicks(true, true);
    setVisible(false);
}

void BypassOverlay::setFillColour(juce::Colour colour)
{
    fillColour = colour;
    repaint();
}

juce::Rectangle<int> BypassOverlay::captionArea() const
{
    const auto pad = UtilityButtons::roundHalfEven(0.09f * static_cast<float>(std::min(switchArea.getWidth(), switchArea.getHeight())));
    const auto x = std::min(getWidth() - 8, switchArea.getX() + pad);
    return {x, switchArea.getBottom() + 4, std::max(0, getWidth() - 8 - x), 14};
}

void BypassOverlay::resized()
{
    ownSwitch.setBounds(switchArea);
}

void BypassOverlay::paint(juce::Graphics& g)
{
    g.fillAll(fillColour);
    g.setColour(juce::Colours::white.withAlpha(static_cast<juce::uint8>(217)));
    g.setFont(juce::Font(12.0f));
    g.drawFittedText("BYPASSED", captionArea(), juce::Justification::centredLeft, 1);
}
