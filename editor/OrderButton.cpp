#include "editor/OrderButton.h"

#include <algorithm>

namespace UtilityButtons
{
void OrderButton::paint(juce::Graphics& g)
{
    const auto [square, side, margin, inner, band] = geometry();
    drawFace(g, square);

    const bool spaceFirst = isOn();
    drawStandardLabel(g, square, spaceFirst ? "SPACE" : "HEADS");

    const int x = square.getX() + margin, y = square.getY() + margin;
    const int secondTop = std::min(inner, roundHalfEven(inner * 0.7));
    drawTextIn(g, {x + 2, y + secondTop + 2, std::max(0, inner - 4), std::max(0, inner - secondTop - 4)},
               spaceFirst ? "HEADS" : "SPACE", std::max(static_cast<float>(side) * 0.22f, 11.0f),
               juce::Justification::centredBottom);

    const int rest = inner - band;
    const int arrowHeight = std::min(roundHalfEven(side * 0.26), rest);
    const auto cx = static_cast<float>(x + inner / 2);
    const auto top = static_cast<float>(y + band + (rest - arrowHeight) / 2);
    const auto s = static_cast<float>(side);
    juce::Path arrow;
    arrow.addTriangle(cx - 0.07f * s, top - 0.035f * s, cx + 0.07f * s, top - 0.035f * s, cx, top + 0.055f * s);
    g.setColour(juce::Colour(utilityTextColour));
    g.strokePath(arrow, juce::PathStrokeType(1.5f, juce::PathStrokeType::mitered));
}
} // namespace UtilityButtons
