#include "editor/OnOffButtons.h"

#include <algorithm>

namespace UtilityButtons
{
void OnOffButtonBase::setSectionLabel(const juce::String& text)
{
    sectionLabel = text;
    repaint();
}

void OnOffButtonBase::paint(juce::Graphics& g)
{
    const auto square = ownSquare();
    if (!isOn())
    {
        g.setColour(juce::Colour(0xcc808287));
        g.fillRect(square);
    }
    drawFace(g, square);
    g.addTransform(getContentTransform());
    drawCaptions(g);
}

std::vector<SquareUtilityBase::Caption> OnOffButtonBase::getCaptions() const
{
    const auto [square, side, margin, inner, band] = geometry();
    const int gap = std::min(inner - band, std::max(2, roundHalfEven(side * 0.03)));
    return {standardLabel(square, sectionLabel),
            textIn({square.getX() + margin, square.getY() + margin + band + gap, inner, inner - band - gap},
                   isOn() ? "ON" : "OFF", std::max(static_cast<float>(side) * 0.55f, 14.0f),
                   juce::Justification::centred)};
}
} // namespace UtilityButtons
