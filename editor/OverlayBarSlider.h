#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The bar of every continuous parameter: a flat bar (drawn by the look and feel) with its caption
// written over it. While the user presses, drags or turns the wheel on it, and for the overlay time
// after the last such change, it shows its value text instead; changes from elsewhere (host
// automation) do not. A pinned bar shows its value all the time.
class OverlayBarSlider : public juce::Slider, public juce::Timer
{
public:
    static constexpr int pollMs = 66;

    OverlayBarSlider();

    void setCaption(const juce::String& newCaption);
    const juce::String& getCaption() const { return caption; }
    void setValuePinned(bool shouldBePinned);
    bool isValuePinned() const { return valuePinned; }

    // The text written over the bar now: the value text while it is shown, else the caption; an empty
    // value text gives the caption, an empty caption one blank.
    juce::String getShownText();

    // Written directly by the editor: how long a value stays shown, and the alpha of the bar's text
    // (0.3 for bars that are dimmed in the current mix mode).
    int overlayTimeMs = 1200;
    float textAlpha = 1.0f;

    void paint(juce::Graphics& g) override;
    void valueChanged() override;
    void mouseDown(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;
    void mouseWheelMove(const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;
    void timerCallback() override;

private:
    void showOverlay();
    bool isOverlayShown() const;

    bool interacting = false;
    juce::String caption;
    juce::uint32 overlayDeadline = 0;
    bool valuePinned = false;

    JUCE_DECLARE_NON_COPYABLE(OverlayBarSlider)
};
