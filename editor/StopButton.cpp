#include "editor/StopButton.h"

#include <algorithm>

namespace UtilityButtons
{
void StopButton::paint(juce::Graphics& g)
{
    const auto [square, side, margin, inner, band] = geometry();
    if (isOn())
    {
        g.setColour(juce::Colour(stoppedColour));
        g.fillRect(square);
    }
    drawFace(g, square);
    drawStandardLabel(g, square, "STOP");

    const int gap = std::min(inner - band, std::max(1, roundHalfEven(side * 0.04)));
    const int symbol = roundHalfEven(side * 0.42);
    g.setColour(juce::Colour(0xe6ffffff));
    g.fillRect(juce::Rectangle<float>(static_cast<float>(square.getX() + margin + (inner - symbol) / 2),
                                      static_cast<float>(square.getY() + margin + band + gap + (inner - band - gap - symbol) / 2),
                                      static_cast<float>(symbol), static_cast<float>(symbol)));
}
} // namespace UtilityButtons
