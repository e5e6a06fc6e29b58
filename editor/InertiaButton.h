#pragma once

#include "editor/SquareUtilityBase.h"

#include <functional>

namespace UtilityButtons
{
// The tape-stop inertia ("TapeStopInertia"): a small knob turned by dragging up or down (250 pixels
// cover the range). While it is pressed or dragged its label shows the value, until 1200 ms after the
// last step or the release; changes from elsewhere only move the pointer.
class InertiaButton : public SquareUtilityBase, public juce::Timer
{
public:
    InertiaButton();

    void setValueTextFunction(std::function<juce::String(float)> function);

    bool isShowingValue() const { return showingValue; }
    const juce::String& getValueText() const { return valueText; }
    // The label shown now: the value text while it is shown, else the caption.
    const juce::String& getShownLabel() const { return showingValue ? valueText : caption; }

    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;
    void paint(juce::Graphics& g) override;
    void timerCallback() override;
    std::vector<Caption> getCaptions() const override;
    juce::Rectangle<float> getSymbolBounds() const override;

    juce::RangedAudioParameter* parameter = nullptr;

private:
    void showValue();
    juce::Rectangle<float> knobCircle() const;

    std::function<juce::String(float)> valueTextFunction;
    juce::String caption{"INERTIA"};
    int valueHoldMs = 1200;
    juce::Point<float> dragStartPosition;
    float dragStartValue = 0.0f;
    float dragSensitivity = 0.004f;
    bool showingValue = false;
    juce::String valueText;
    int releaseHoldMs = 1200;
    float labelHeightFraction = 0.22f;
    float labelMinHeight = 11.0f;
};
} // namespace UtilityButtons
