#pragma once

#include "editor/ApvtsRepaintListener.h"

#include <juce_audio_processors/juce_audio_processors.h>

namespace UtilityButtons
{
// The small square buttons of the bottom strip (HEADS, SPACE, ORDER, STOP, INERTIA). Each draws itself
// in fixed colours, keeps its own hover and press state, reads its parameter whenever it paints and is
// repainted whenever that parameter changes. This base draws nothing itself; it offers the parts the
// buttons draw with, all measured from the largest square centred in the component.
class SquareUtilityBase : public juce::Component
{
public:
    SquareUtilityBase() = default;
    ~SquareUtilityBase() override;

    // Repaints this button whenever that parameter of the state changes. Message thread.
    void bindUtilityButton(juce::AudioProcessorValueTreeState& state, const juce::String& parameterID);
    ApvtsRepaintListener& getRepaintListener() { return repaintListener; }

    bool isHovered() const { return hovered; }
    bool isPressed() const { return pressed; }

    void mouseEnter(const juce::MouseEvent& e) override;
    void mouseExit(const juce::MouseEvent& e) override;
    void mouseDown(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;

protected:
    // The square and its inner area: a margin of 6 % (at least 2 pixels) and a label band across the
    // top of 28 % of the side.
    struct Geometry
    {
        juce::Rectangle<int> square;
        int side, margin, inner, band;
    };
    Geometry geometry() const;

    // The hover or press tint and the outline.
    void drawFace(juce::Graphics& g, juce::Rectangle<int> square) const;
    // A one-line text in the band at the top of the square.
    void drawLabel(juce::Graphics& g, juce::Rectangle<int> square, const juce::String& text, float heightFraction,
                   float minHeight, juce::Justification justification, float insetX, float insetY) const;
    // A one-line text fitted into the rectangle; nothing when either is empty.
    void drawTextIn(juce::Graphics& g, juce::Rectangle<int> area, const juce::String& text, float fontHeight,
                    juce::Justification justification) const;
    // drawLabel with the settings every button uses.
    void drawStandardLabel(juce::Graphics& g, juce::Rectangle<int> square, const juce::String& text) const;

    ApvtsRepaintListener repaintListener;
    juce::Colour outlineColour{0xf2ffffff};
    float outlineThickness = 1.0f;
    float hoverAlpha = 0.15f;
    float pressedAlpha = 0.2f;
    float labelBandFraction = 0.28f;
    bool keepStateWhileDragging = false;
    bool hovered = false;
    bool pressed = false;

private:
    JUCE_DECLARE_NON_COPYABLE(SquareUtilityBase)
};

// The text colour of every utility button.
constexpr juce::uint32 utilityTextColour = 0xf2ffffff;

// Round to the nearest integer, halves to even.
int roundHalfEven(double value);
} // namespace UtilityButtons
