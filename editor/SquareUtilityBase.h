#pragma once

#include "editor/ApvtsRepaintListener.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <vector>

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

    // One line of text: fitted into its area in its font, on one line.
    struct Caption
    {
        juce::String text;
        juce::Font font;
        juce::Rectangle<int> area;
        juce::Justification justification;
    };
    // The texts the button writes as it stands, as its paint draws them, before getContentTransform.
    virtual std::vector<Caption> getCaptions() const { return {}; }
    // Where the button draws its symbol (arrow, stop square or knob), strokes included, before
    // getContentTransform; empty when it has none.
    virtual juce::Rectangle<float> getSymbolBounds() const { return {}; }

    // The side of the buttons at the window's first size (750 x 475). The contents of a smaller button
    // (texts and symbol) are laid out for a square of this side and scaled down to its own, so that
    // they keep the proportions they fit in there: laid out at the smaller side, the smallest font
    // heights and the pixel insets would run them into each other.
    static constexpr int contentSide = 36;
    // The scaling from the contents' layout to the component: none from contentSide up.
    juce::AffineTransform getContentTransform() const;

protected:
    // The largest square centred in the component, where the face is drawn.
    juce::Rectangle<int> ownSquare() const;
    // The square the contents are laid out in (ownSquare, at least contentSide wide, from its top left
    // corner) and its inner area: a margin of 6 % (at least 2 pixels) and a label band across the top
    // of 28 % of the side.
    struct Geometry
    {
        juce::Rectangle<int> square;
        int side, margin, inner, band;
    };
    Geometry geometry() const;

    // The hover or press tint and the outline.
    void drawFace(juce::Graphics& g, juce::Rectangle<int> square) const;
    // A one-line text in the band at the top of the square.
    Caption label(juce::Rectangle<int> square, const juce::String& text, float heightFraction, float minHeight,
                  juce::Justification justification, float insetX, float insetY) const;
    // label with the settings every button uses.
    Caption standardLabel(juce::Rectangle<int> square, const juce::String& text) const;
    // A one-line text in the rectangle, in the editor's Light face of that height.
    Caption textIn(juce::Rectangle<int> area, const juce::String& text, float fontHeight,
                   juce::Justification justification) const;
    // Draws getCaptions(); a caption whose text or area is empty draws nothing. The contents' scaling
    // must be in place.
    void drawCaptions(juce::Graphics& g) const;

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
