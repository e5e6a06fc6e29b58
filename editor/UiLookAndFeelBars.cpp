// The bar sliders of both pages: flat fills from the left, from the right or from the value 0, with an
// optional overdrive zone and marker line taken from the slider's properties.
#include "editor/ComponentProperty.h"
#include "editor/UiLookAndFeel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace
{
// Proportions far outside the bar change nothing that is drawn; limiting them keeps pixel positions
// within range whatever a slider's mapping returns.
double boundedProportion(double proportion)
{
    return std::isfinite(proportion) ? std::clamp(proportion, -2.0, 3.0) : 0.0;
}

double unitProportion(double proportion)
{
    return std::clamp(boundedProportion(proportion), 0.0, 1.0);
}
} // namespace

void UiLookAndFeel::drawLinearSlider(juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                     float minSliderPos, float maxSliderPos, juce::Slider::SliderStyle style,
                                     juce::Slider& slider)
{
    if (style != juce::Slider::LinearBar && style != juce::Slider::LinearBarVertical)
    {
        LookAndFeel_V4::drawLinearSlider(g, x, y, width, height, sliderPos, minSliderPos, maxSliderPos, style, slider);
        return;
    }

    g.setColour(slider.findColour(juce::Slider::backgroundColourId));
    g.fillRect(x, y, width, height);
    if (style == juce::Slider::LinearBarVertical)
        return;

    const int ix = x + 1, iy = y + 1;
    const int iw = std::max(width - 2, 0), ih = std::max(height - 2, 0);
    const auto track = slider.findColour(juce::Slider::trackColourId);
    const auto over = slider.findColour(overdriveColourId);
    const auto proportion = [&slider](double value) { return boundedProportion(slider.valueToProportionOfLength(value)); };
    const auto pixels = [iw](double p) { return juce::roundToInt(p * iw); };
    const auto fill = [&g](int left, int width, int top, int barHeight, juce::Colour colour) {
        if (width <= 0)
            return;
        g.setColour(colour);
        g.fillRect(left, top, width, barHeight);
    };

    const auto& properties = slider.getProperties();
    const auto threshold = Quillmore::finiteNumberProperty(properties, "overdriveThresh");
    const auto marker = Quillmore::finiteNumberProperty(properties, "markerValue");
    const bool centreOrigin = Quillmore::boolPropertyOr(properties, "centerOrigin", false)
                              || (slider.getMinimum() < 0.0 && slider.getMaximum() > 0.0);
    const bool rightOrigin = !centreOrigin && Quillmore::boolPropertyOr(properties, "rightOrigin", false);

    const double value = slider.getValue();
    const double pV = unitProportion(proportion(value));
    const double pT = threshold ? unitProportion(proportion(*threshold)) : 0.0;

    if (centreOrigin)
    {
        const double p0 = unitProportion(proportion(0.0));
        const int zero = ix + pixels(p0);
        const int valueX = ix + pixels(pV);
        fill(std::min(zero, valueX), std::abs(valueX - zero), iy, ih, track);
        if (threshold)
        {
            double t = proportion(std::abs(*threshold));
            if (value < 0.0)
                t = 2.0 * p0 - t;
            const int thresholdX = ix + pixels(t);
            if (value >= 0.0)
            {
                const int from = thresholdX >= zero ? thresholdX : zero;
                fill(from, std::max(zero, valueX) - from, iy, ih, over);
            }
            else
            {
                const int from = std::min(zero, valueX);
                fill(from, (zero < thresholdX ? zero : thresholdX) - from, iy, ih, over);
            }
        }
        fill(zero - 1, 2, iy, ih, juce::Colour(barLineColour));
        return;
    }

    if (rightOrigin)
    {
        const int rightEnd = ix + iw;
        const int fillWidth = pixels(std::clamp(1.0 - pV, 0.0, 1.0));
        const int leftEdge = rightEnd - fillWidth;
        const double qT = 1.0 - pT;
        if (!threshold || qT >= 1.0 - pV)
        {
            fill(leftEdge, fillWidth, iy, ih, track);
            return;
        }
        int trackWidth = pixels(qT);
        const int thresholdX = rightEnd - trackWidth;
        if (thresholdX < leftEdge)
            trackWidth = fillWidth;
        fill(rightEnd - trackWidth, trackWidth, iy, ih, track);
        fill(leftEdge, thresholdX - leftEdge, iy, ih, over);
        return;
    }

    const int fillWidth = pixels(pV);
    if (!threshold || pT >= pV)
    {
        fill(ix, fillWidth, iy, ih, track);
    }
    else
    {
        const int trackWidth = pixels(pT);
        fill(ix, trackWidth, iy, ih, track);
        fill(ix + trackWidth, fillWidth - trackWidth, iy, ih, over);
    }

    if (marker && ih > 0)
    {
        g.setColour(juce::Colour(barLineColour));
        g.fillRect(juce::Rectangle<float>(static_cast<float>(ix) + static_cast<float>(iw) * static_cast<float>(unitProportion(proportion(*marker))) - 1.0f,
                                          static_cast<float>(iy), 2.0f, static_cast<float>(ih)));
    }
}
