#include "editor/StereoLedVUMeter.h"

#include "editor/ColourLookup.h"

#include <algorithm>
#include <cmath>

namespace
{
float unitLevel(float level)
{
    return std::isnan(level) ? 0.0f : std::clamp(level, 0.0f, 1.0f);
}
} // namespace

StereoLedVUMeter::StereoLedVUMeter()
{
    setInterceptsMouseClicks(false, false);
}

void StereoLedVUMeter::setColourIds(int background, int low, int high, int clip)
{
    colourIds = {background, low, high, clip};
    repaint();
}

void StereoLedVUMeter::setLevels(float left, float right)
{
    const bool segmentsChange = litIndex(left) != litIndex(levelL) || litIndex(right) != litIndex(levelR);
    levelL = unitLevel(left);
    levelR = unitLevel(right);
    if (segmentsChange)
        repaint();
}

void StereoLedVUMeter::setClipLights(bool left, bool right)
{
    if (left == clipLitL && right == clipLitR)
        return;
    clipLitL = left;
    clipLitR = right;
    repaint();
}

int StereoLedVUMeter::litIndex(float level)
{
    return std::clamp(static_cast<int>(std::floor(unitLevel(level) * static_cast<float>(segments))), 0, segments - 1);
}

juce::Colour StereoLedVUMeter::segmentColour(int index) const
{
    const auto low = Quillmore::findColourOr(*this, colourIds[1], juce::Colour(fallbackLow));
    const auto high = Quillmore::findColourOr(*this, colourIds[2], juce::Colour(fallbackHigh));
    return low.interpolatedWith(high, static_cast<float>(index) / static_cast<float>(segments - 1));
}

void StereoLedVUMeter::paint(juce::Graphics& g)
{
    const auto w = static_cast<float>(getWidth()), h = static_cast<float>(getHeight());
    g.fillAll(Quillmore::findColourOr(*this, colourIds[0], juce::Colour(fallbackBackground)));

    const auto u = w / 65.0f, v = h / 13.0f;
    const auto clip = Quillmore::findColourOr(*this, colourIds[3], juce::Colour(fallbackClip));
    const std::array<float, 2> levels{levelL, levelR};
    const std::array<bool, 2> clipLit{clipLitL, clipLitR};
    for (int channel = 0; channel < 2; ++channel)
    {
        const auto y = v + static_cast<float>(channel) * 6.0f * v;
        const int lit = litIndex(levels[static_cast<size_t>(channel)]);
        for (int i = 0; i < segments; ++i)
        {
            g.setColour(i <= lit ? segmentColour(i) : juce::Colour(unlitColour));
            g.fillRect(juce::Rectangle<float>(u + static_cast<float>(i) * 4.0f * u, y, 3.0f * u, 5.0f * v));
        }
        g.setColour(clipLit[static_cast<size_t>(channel)] ? clip : juce::Colour(unlitColour));
        g.fillRect(juce::Rectangle<float>(w - u - 3.0f * u, y, 3.0f * u, 5.0f * v));
    }
}
