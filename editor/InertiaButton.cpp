#include "editor/InertiaButton.h"

#include <algorithm>
#include <cmath>

namespace UtilityButtons
{
InertiaButton::InertiaButton()
{
    keepStateWhileDragging = true;
}

void InertiaButton::setValueTextFunction(std::function<juce::String(float)> function)
{
    valueTextFunction = std::move(function);
}

void InertiaButton::mouseDown(const juce::MouseEvent& e)
{
    hovered = true;
    pressed = true;
    repaint();
    if (parameter == nullptr)
        return;
    dragStartValue = parameter->getValue();
    dragStartPosition = e.position;
    showValue();
}

void InertiaButton::mouseDrag(const juce::MouseEvent& e)
{
    if (parameter == nullptr)
        return;
    const auto value = std::clamp((dragStartPosition.y - e.position.y) * dragSensitivity + dragStartValue, 0.0f, 1.0f);
    parameter->setValueNotifyingHost(value);
    showValue();
}

void InertiaButton::mouseUp(const juce::MouseEvent&)
{
    pressed = false;
    repaint();
    stopTimer();
    startTimer(releaseHoldMs);
}

void InertiaButton::showValue()
{
    if (parameter == nullptr)
        return;
    const auto value = parameter->getValue();
    valueText = valueTextFunction ? valueTextFunction(value) : parameter->getText(value, 0);
    showingValue = true;
    repaint();
    stopTimer();
    startTimer(valueHoldMs);
}

void InertiaButton::timerCallback()
{
    stopTimer();
    showingValue = false;
    repaint();
}

void InertiaButton::paint(juce::Graphics& g)
{
    drawFace(g, ownSquare());
    g.addTransform(getContentTransform());
    drawCaptions(g);

    const auto knob = knobCircle();
    g.setColour(juce::Colour(0x80141928));
    g.fillEllipse(knob);
    g.setColour(juce::Colour(utilityTextColour));
    g.drawEllipse(knob, 1.0f);

    constexpr auto pi = juce::MathConstants<float>::pi;
    const auto value = parameter != nullptr ? parameter->getValue() : 0.0f;
    const auto angle = value * 1.5f * pi + 1.25f * pi - 0.5f * pi;
    const auto centre = knob.getCentre();
    const auto radius = 0.42f * knob.getWidth();
    g.drawLine(centre.x, centre.y, centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle), 2.0f);
}

std::vector<SquareUtilityBase::Caption> InertiaButton::getCaptions() const
{
    return {label(geometry().square, getShownLabel(), labelHeightFraction, labelMinHeight, juce::Justification::centredTop,
                  0.03f, 0.1f)};
}

juce::Rectangle<float> InertiaButton::getSymbolBounds() const
{
    // The circle's stroke is 1 pixel wide, half of it outside; the pointer stays inside.
    return knobCircle().expanded(0.5f);
}

juce::Rectangle<float> InertiaButton::knobCircle() const
{
    const auto [square, side, margin, inner, band] = geometry();
    const int gap = std::min(inner - band, std::max(2, roundHalfEven(side * 0.03)));
    const int rest = inner - band - gap;
    const int diameter = roundHalfEven(std::min(rest, inner) * 0.78);
    const int lift = roundHalfEven(side * 0.02);
    return {static_cast<float>(square.getX() + margin + (inner - diameter) / 2),
            static_cast<float>(square.getY() + margin + band + gap + (rest - diameter) / 2 - lift),
            static_cast<float>(diameter), static_cast<float>(diameter)};
}
} // namespace UtilityButtons
