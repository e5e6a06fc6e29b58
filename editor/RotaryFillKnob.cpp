#include "editor/RotaryFillKnob.h"

#include "editor/UiLookAndFeel.h"
#include "plugin/GainRange.h"

#include <algorithm>
#include <cmath>

namespace
{
const juce::NormalisableRange<float>& sharedGainRange()
{
    static const auto range = Quillmore::makeInputOutputGainRange();
    return range;
}

constexpr juce::uint32 discColour = 0xff05080a;
} // namespace

RotaryFillKnob::RotaryFillKnob() : juce::Slider(juce::Slider::RotaryHorizontalVerticalDrag, juce::Slider::NoTextBox) {}

void RotaryFillKnob::setReferenceMark(float value)
{
    referenceValue = value;
    referenceShown = true;
    repaint();
}

float RotaryFillKnob::getRingProportion(double value) const
{
    if (!std::isfinite(value))
        return 0.0f;
    const auto& range = sharedGainRange();
    const auto proportion = range.convertTo0to1(std::clamp(static_cast<float>(value), range.start, range.end));
    return std::isfinite(proportion) ? std::clamp(proportion, 0.0f, 1.0f) : 0.0f;
}

void RotaryFillKnob::paint(juce::Graphics& g)
{
    const auto w = static_cast<float>(getWidth()), h = static_cast<float>(getHeight());
    const auto size = std::min(w, h);
    const juce::Point<float> centre(w / 2.0f, h / 2.0f);
    const auto disc = juce::Rectangle<float>(size, size).withCentre(centre);
    const auto border = std::clamp(0.03f * size, 1.0f, 8.0f);
    const auto ringWidth = std::clamp(0.14f * size, 2.0f, 48.0f);
    constexpr auto pi = juce::MathConstants<float>::pi;

    g.setColour(juce::Colours::white);
    g.fillEllipse(disc);
    const auto ringArea = disc.reduced(border);
    g.setColour(juce::Colour(discColour));
    g.fillEllipse(ringArea);

    const auto fillPie = [&g, ringArea](float fromAngle, float toAngle, juce::Colour colour) {
        if (toAngle <= fromAngle)
            return;
        juce::Path pie;
        pie.addPieSegment(ringArea, fromAngle - pi, toAngle - pi, 0.0f);
        g.setColour(colour);
        g.fillPath(pie);
    };

    const auto angle = 2.0f * pi * getRingProportion(getValue());
    const auto track = findColour(juce::Slider::trackColourId);
    const auto referenceAngle = 2.0f * pi * getRingProportion(referenceValue);
    if (!referenceShown || referenceAngle >= angle)
    {
        fillPie(0.0f, angle, track);
    }
    else
    {
        fillPie(0.0f, referenceAngle, track);
        fillPie(referenceAngle, angle, findColour(UiLookAndFeel::overdriveColourId));
    }

    g.setColour(juce::Colours::white);
    g.fillEllipse(disc.reduced(border + ringWidth));
    const auto cap = disc.reduced(2.0f * border + ringWidth);
    g.setColour(juce::Colour(discColour));
    g.fillEllipse(cap);

    const auto capRadius = cap.getWidth() / 2.0f;
    const auto distance = capRadius - 0.15f * ringWidth < 0.65f * capRadius
                              ? 0.65f * capRadius
                              : std::min(capRadius - 0.15f * ringWidth, capRadius - 0.5f * border);
    const auto markSize = std::clamp(0.7f * ringWidth, 2.0f, 24.0f);
    g.setColour(juce::Colours::white);
    for (int k = 0; k < 8; ++k)
    {
        const auto theta = angle - pi + static_cast<float>(k) * pi / 4.0f;
        juce::Path mark;
        mark.addRectangle(-markSize / 2.0f, -markSize / 2.0f, markSize, markSize);
        g.fillPath(mark, juce::AffineTransform::rotation(theta + pi / 2.0f)
                             .translated(centre.x + distance * std::cos(theta), centre.y + distance * std::sin(theta)));
    }
}
