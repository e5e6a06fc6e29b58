#include "editor/ParamToggleButton.h"

#include "editor/ColourLift.h"
#include "editor/ColourLookup.h"
#include "editor/ControlText.h"

#include <algorithm>

ParamToggleButton::ParamToggleButton()
{
    setWantsKeyboardFocus(false);
    setClickingTogglesState(true);
}

void ParamToggleButton::setTexts(const juce::String& newOnText, const juce::String& newOffText)
{
    onText = newOnText;
    offText = newOffText;
    repaint();
}

void ParamToggleButton::setOnColourId(int colourId)
{
    onColourId = colourId;
    repaint();
}

void ParamToggleButton::setOffColourId(int colourId)
{
    offColourId = colourId;
    repaint();
}

void ParamToggleButton::setOutlineColourId(int colourId)
{
    outlineColourId = colourId;
    repaint();
}

juce::Colour ParamToggleButton::getStateColour() const
{
    const bool on = getToggleState();
    const auto colour = Quillmore::findColourOrTransparent(*this, on ? onColourId : offColourId);
    if (colour.getAlpha() == 0xff)
        return colour;
    return juce::Colour(on ? fallbackOnColour : fallbackOffColour);
}

void ParamToggleButton::paintButton(juce::Graphics& g, bool highlighted, bool down)
{
    const auto w = static_cast<float>(getWidth()), h = static_cast<float>(getHeight());
    const auto cw = std::max(w - 1.0f, 0.0f), ch = std::max(h - 1.0f, 0.0f);
    const auto cornerRadius = 0.18f * std::min(cw, ch);

    auto fillColour = getStateColour();
    if (highlighted)
        fillColour = Quillmore::liftedTowardsWhite(fillColour, 1.17f);
    if (down)
        fillColour = Quillmore::liftedTowardsWhite(fillColour, 1.3f);

    const auto outline = Quillmore::findColourOr(*this, outlineColourId, juce::Colour(fallbackOutlineColour));

    g.setColour(fillColour);
    g.fillRoundedRectangle(0.5f, 0.5f, cw, ch, cornerRadius);
    g.setColour(outline);
    g.drawRoundedRectangle(0.5f, 0.5f, cw, ch, cornerRadius, 1.0f);

    const auto& text = getToggleState() ? onText : offText;
    if (text.isEmpty())
        return;

    Quillmore::drawControlText(g, *this, text, 1.8f, juce::Colours::white);
}
