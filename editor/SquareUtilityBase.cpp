#include "editor/SquareUtilityBase.h"

#include "editor/UiLookAndFeel.h"

#include <algorithm>
#include <cmath>

namespace UtilityButtons
{
namespace
{
juce::uint8 alphaByte(float alpha)
{
    if (!(alpha > 0.0f))
        return 0;
    if (alpha >= 1.0f)
        return 255;
    return static_cast<juce::uint8>(roundHalfEven(alpha * 255.0));
}
} // namespace

int roundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

SquareUtilityBase::~SquareUtilityBase()
{
    repaintListener.detach();
}

void SquareUtilityBase::bindUtilityButton(juce::AudioProcessorValueTreeState& state, const juce::String& parameterID)
{
    repaintListener.attach(state, parameterID, *this);
}

SquareUtilityBase::Geometry SquareUtilityBase::geometry() const
{
    Geometry result;
    result.side = std::min(getWidth(), getHeight());
    result.square = {(getWidth() - result.side) / 2, (getHeight() - result.side) / 2, result.side, result.side};
    result.margin = std::max(2, roundHalfEven(result.side * 0.06));
    result.inner = std::max(0, result.side - 2 * result.margin);
    result.band = std::min(result.inner, roundHalfEven(result.side * static_cast<double>(labelBandFraction)));
    return result;
}

void SquareUtilityBase::drawFace(juce::Graphics& g, juce::Rectangle<int> square) const
{
    const float tint = pressed ? pressedAlpha : (hovered ? hoverAlpha : 0.0f);
    g.setColour(juce::Colours::white.withAlpha(alphaByte(tint)));
    g.fillRect(square);
    g.setColour(outlineColour);
    g.drawRect(square.toFloat(), outlineThickness);
}

void SquareUtilityBase::drawLabel(juce::Graphics& g, juce::Rectangle<int> square, const juce::String& text,
                                  float heightFraction, float minHeight, juce::Justification justification,
                                  float insetX, float insetY) const
{
    if (text.isEmpty())
        return;
    const int band = roundHalfEven(square.getHeight() * static_cast<double>(labelBandFraction));
    const int py = roundHalfEven(band * static_cast<double>(insetY));
    const int px = roundHalfEven(square.getWidth() * static_cast<double>(insetX));
    const juce::Rectangle<int> area(square.getX() + px, square.getY() + py, std::max(0, square.getWidth() - 2 * px),
                                    std::max(0, band - 2 * py));
    drawTextIn(g, area, text, std::max(static_cast<float>(square.getHeight()) * heightFraction, minHeight), justification);
}

void SquareUtilityBase::drawTextIn(juce::Graphics& g, juce::Rectangle<int> area, const juce::String& text,
                                   float fontHeight, juce::Justification justification) const
{
    if (text.isEmpty() || area.isEmpty())
        return;
    // The default sans-serif face: the editor's Light face under its look and feel.
    if (auto* lookAndFeel = dynamic_cast<UiLookAndFeel*>(&getLookAndFeel()))
        g.setFont(lookAndFeel->makeFont(UiLookAndFeel::lightFont, fontHeight, 1.0f));
    else
        g.setFont(juce::Font(fontHeight));
    g.setColour(juce::Colour(utilityTextColour));
    g.drawFittedText(text, area, justification, 1);
}

void SquareUtilityBase::drawStandardLabel(juce::Graphics& g, juce::Rectangle<int> square, const juce::String& text) const
{
    drawLabel(g, square, text, 0.22f, 11.0f, juce::Justification::centredTop, 0.03f, 0.1f);
}

void SquareUtilityBase::mouseEnter(const juce::MouseEvent&)
{
    if (keepStateWhileDragging && pressed)
        return;
    hovered = true;
    repaint();
}

void SquareUtilityBase::mouseExit(const juce::MouseEvent&)
{
    if (keepStateWhileDragging && pressed)
        return;
    hovered = false;
    repaint();
}

void SquareUtilityBase::mouseDown(const juce::MouseEvent&)
{
    hovered = true;
    pressed = true;
    repaint();
}

void SquareUtilityBase::mouseUp(const juce::MouseEvent&)
{
    pressed = false;
    if (!keepStateWhileDragging)
        hovered = isMouseOver(true);
    repaint();
}
} // namespace UtilityButtons
