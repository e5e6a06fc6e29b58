#include "editor/VerticalMeter.h"

#include "editor/ColourLookup.h"

#include <algorithm>
#include <cmath>

VerticalMeter::VerticalMeter(juce::Colour background, juce::Colour fill) : backgroundColour(background), fillColour(fill)
{
    setInterceptsMouseClicks(false, false);
}

void VerticalMeter::setValue(float newValue)
{
    const auto shown = std::isnan(newValue) ? 0.0f : std::clamp(newValue, 0.0f, 1.0f);
    if (shown == value)
        return;
    value = shown;
    repaint();
}

void VerticalMeter::setColourId(int id)
{
    backgroundId = id;
    repaint();
}

void VerticalMeter::setFillColourId(int id)
{
    fillId = id;
    repaint();
}

void VerticalMeter::paint(juce::Graphics& g)
{
    const auto w = static_cast<float>(getWidth()), h = static_cast<float>(getHeight());
    g.setColour(Quillmore::findColourOr(*this, backgroundId, backgroundColour));
    g.fillRoundedRectangle(0.0f, 0.0f, w, h, 1.0f);
    g.setColour(Quillmore::findColourOr(*this, fillId, fillColour));
    g.fillRoundedRectangle(0.0f, h - h * value, w, h * value, 1.0f);
}
