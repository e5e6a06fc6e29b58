#include "editor/OvalBypassToggle.h"

#include <algorithm>

void OvalBypassToggle::paintButton(juce::Graphics& g, bool, bool)
{
    const auto w = static_cast<float>(getWidth()), h = static_cast<float>(getHeight());
    const auto margin = 0.09f * std::min(w, h);
    const juce::Rectangle<float> body(margin, margin, std::max(w - 2.0f * margin, 0.0f), std::max(h - 2.0f * margin, 0.0f));
    const auto radius = body.getHeight() / 2.0f;

    g.setColour(juce::Colour(0xff141928));
    g.fillRoundedRectangle(body, radius);
    g.setColour(juce::Colours::white);
    g.drawRoundedRectangle(body, radius, 1.5f);

    const auto knobX = getToggleState() ? margin + radius : margin + body.getWidth() - radius;
    const auto knobRadius = 0.75f * radius;
    g.fillEllipse(knobX - knobRadius, margin + radius - knobRadius, 2.0f * knobRadius, 2.0f * knobRadius);
}
