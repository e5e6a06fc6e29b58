#include "editor/OrderButton.h"

#include <algorithm>

namespace UtilityButtons
{
namespace
{
const juce::PathStrokeType arrowStroke(1.5f, juce::PathStrokeType::mitered);
} // namespace

void OrderButton::paint(juce::Graphics& g)
{
    drawFace(g, ownSquare());
    g.addTransform(getContentTransform());
    drawCaptions(g);
    g.setColour(juce::Colour(utilityTextColour));
    g.strokePath(arrow(), arrowStroke);
}

std::vector<SquareUtilityBase::Caption> OrderButton::getCaptions() const
{
    const auto [square, side, margin, inner, band] = geometry();
    const bool spaceFirst = isOn();
    const int x = square.getX() + margin, y = square.getY() + margin;
    const int secondTop = std::min(inner, roundHalfEven(inner * 0.7));
    return {standardLabel(square, spaceFirst ? "SPACE" : "HEADS"),
            textIn({x + 2, y + secondTop + 2, std::max(0, inner - 4), std::max(0, inner - secondTop - 4)},
                   spaceFirst ? "HEADS" : "SPACE", std::max(static_cast<float>(side) * 0.22f, 11.0f),
                   juce::Justification::centredBottom)};
}

juce::Rectangle<float> OrderButton::getSymbolBounds() const
{
    juce::Path stroked;
    arrowStroke.createStrokedPath(stroked, arrow());
    return stroked.getBounds();
}

// The arrow between the two words, pointing down.
juce::Path OrderButton::arrow() const
{
    const auto [square, side, margin, inner, band] = geometry();
    const int rest = inner - band;
    const int arrowHeight = std::min(roundHalfEven(side * 0.26), rest);
    const auto cx = static_cast<float>(square.getX() + margin + inner / 2);
    const auto top = static_cast<float>(square.getY() + margin + band + (rest - arrowHeight) / 2);
    const auto s = static_cast<float>(side);
    juce::Path path;
    path.addTriangle(cx - 0.07f * s, top - 0.035f * s, cx + 0.07f * s, top - 0.035f * s, cx, top + 0.055f * s);
    return path;
}
} // namespace UtilityButtons
