#include "editor/StopButton.h"

#include <algorithm>

namespace UtilityButtons
{
void StopButton::paint(juce::Graphics& g)
{
    const auto square = ownSquare();
    if (isOn())
    {
        g.setColour(juce::Colour(stoppedColour));
        g.fillRect(square);
    }
    drawFace(g, square);
    g.addTransform(getContentTransform());
    drawCaptions(g);
    g.setColour(juce::Colour(0xe6ffffff));
    g.fillRect(getSymbolBounds());
}

std::vector<SquareUtilityBase::Caption> StopButton::getCaptions() const
{
    return {standardLabel(geometry().square, "STOP")};
}

juce::Rectangle<float> StopButton::getSymbolBounds() const
{
    const auto [square, side, margin, inner, band] = geometry();
    const int gap = std::min(inner - band, std::max(1, roundHalfEven(side * 0.04)));
    const int symbol = roundHalfEven(side * 0.42);
    return {static_cast<float>(square.getX() + margin + (inner - symbol) / 2),
            static_cast<float>(square.getY() + margin + band + gap + (inner - band - gap - symbol) / 2),
            static_cast<float>(symbol), static_cast<float>(symbol)};
}
} // namespace UtilityButtons
