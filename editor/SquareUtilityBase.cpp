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

juce::Rectangle<int> SquareUtilityBase::ownSquare() const
{
    const int side = std::max(0, std::min(getWidth(), getHeight()));
    return {(getWidth() - side) / 2, (getHeight() - side) / 2, side, side};
}

juce::AffineTransform SquareUtilityBase::getContentTransform() const
{
    const auto own = ownSquare();
    if (own.getWidth() >= contentSide || own.isEmpty())
        return {};
    const auto scale = static_cast<float>(own.getWidth()) / static_cast<float>(contentSide);
    return juce::AffineTransform::scale(scale, scale, static_cast<float>(own.getX()), static_cast<float>(own.getY()));
}

SquareUtilityBase::Geometry SquareUtilityBase::geometry() const
{
    const auto own = ownSquare();
    Geometry result;
    result.side = own.isEmpty() ? 0 : std::max(own.getWidth(), contentSide);
    result.square = own.withSize(result.side, result.side);
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

SquareUtilityBase::Caption SquareUtilityBase::label(juce::Rectangle<int> square, const juce::String& text,
                                                    float heightFraction, float minHeight,
                                                    juce::Justification justification, float insetX, float insetY) const
{
    const int band = roundHalfEven(square.getHeight() * static_cast<double>(labelBandFraction));
    const int py = roundHalfEven(band * static_cast<double>(insetY));
    const int px = roundHalfEven(square.getWidth() * static_cast<double>(insetX));
    const juce::Rectangle<int> area(square.getX() + px, square.getY() + py, std::max(0, square.getWidth() - 2 * px),
                                    std::max(0, band - 2 * py));
    return textIn(area, text, std::max(static_cast<float>(square.getHeight()) * heightFraction, minHeight), justification);
}

SquareUtilityBase::Caption SquareUtilityBase::standardLabel(juce::Rectangle<int> square, const juce::String& text) const
{
    return label(square, text, 0.22f, 11.0f, juce::Justification::centredTop, 0.03f, 0.1f);
}

SquareUtilityBase::Caption SquareUtilityBase::textIn(juce::Rectangle<int> area, const juce::String& text, float fontHeight,
                                                     juce::Justification justification) const
{
    // The default sans-serif face: the editor's Light face under its look and feel.
    auto* lookAndFeel = dynamic_cast<UiLookAndFeel*>(&getLookAndFeel());
    return {text, lookAndFeel != nullptr ? lookAndFeel->makeFont(UiLookAndFeel::lightFont, fontHeight, 1.0f) : juce::Font(fontHeight),
            area, justification};
}

void SquareUtilityBase::drawCaptions(juce::Graphics& g) const
{
    g.setColour(juce::Colour(utilityTextColour));
    for (const auto& caption : getCaptions())
    {
        if (caption.text.isEmpty() || caption.area.isEmpty())
            continue;
        g.setFont(caption.font);
        g.drawFittedText(caption.text, caption.area, caption.justification, 1);
    }
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
