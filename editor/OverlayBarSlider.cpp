#include "editor/OverlayBarSlider.h"

#include "editor/ControlText.h"
#include "editor/EditorClock.h"

#include <algorithm>
#include <cmath>

OverlayBarSlider::OverlayBarSlider() : juce::Slider(juce::Slider::LinearBar, juce::Slider::NoTextBox) {}

void OverlayBarSlider::setCaption(const juce::String& newCaption)
{
    caption = newCaption;
    repaint();
}

void OverlayBarSlider::setValuePinned(bool shouldBePinned)
{
    valuePinned = shouldBePinned;
    repaint();
}

bool OverlayBarSlider::isOverlayShown() const
{
    return valuePinned || Quillmore::editorMilliseconds() < overlayDeadline;
}

juce::String OverlayBarSlider::getShownText()
{
    auto text = isOverlayShown() ? getTextFromValue(getValue()) : caption;
    if (text.isEmpty())
        text = caption;
    return text.isEmpty() ? juce::String(" ") : text;
}

void OverlayBarSlider::paint(juce::Graphics& g)
{
    juce::Slider::paint(g);
    const auto alpha = std::isfinite(textAlpha) ? std::clamp(textAlpha, 0.0f, 1.0f) : 1.0f;
    Quillmore::drawControlText(g, *this, getShownText(), 2.0f,
                               juce::Colours::white.withAlpha(static_cast<juce::uint8>(juce::roundToInt(255.0f * alpha))));
}

void OverlayBarSlider::showOverlay()
{
    overlayDeadline = Quillmore::editorMilliseconds() + static_cast<juce::uint32>(std::max(overlayTimeMs, 0));
    if (!isTimerRunning())
        startTimer(pollMs);
    repaint();
}

void OverlayBarSlider::valueChanged()
{
    if (interacting)
        showOverlay();
}

void OverlayBarSlider::mouseDown(const juce::MouseEvent& e)
{
    interacting = true;
    showOverlay();
    juce::Slider::mouseDown(e);
}

void OverlayBarSlider::mouseUp(const juce::MouseEvent& e)
{
    juce::Slider::mouseUp(e);
    interacting = false;
}

void OverlayBarSlider::mouseWheelMove(const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel)
{
    interacting = true;
    showOverlay();
    juce::Slider::mouseWheelMove(e, wheel);
    interacting = false;
}

void OverlayBarSlider::timerCallback()
{
    if (valuePinned)
        return;
    if (Quillmore::editorMilliseconds() >= overlayDeadline)
    {
        stopTimer();
        repaint();
    }
}
