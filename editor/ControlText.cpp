#include "editor/ControlText.h"

#include "editor/UiLookAndFeel.h"

#include <algorithm>

namespace Quillmore
{
void drawControlText(juce::Graphics& g, juce::Component& component, const juce::String& text, float horizontalScale,
                     juce::Colour colour)
{
    const auto fontHeight = std::clamp(static_cast<float>(component.getHeight()) - 5.0f, 9.0f, 36.0f);
    if (auto* lookAndFeel = dynamic_cast<UiLookAndFeel*>(&component.getLookAndFeel()))
        g.setFont(lookAndFeel->makeFont(UiLookAndFeel::lightFont, fontHeight, horizontalScale));
    else
        g.setFont(juce::Font(fontHeight).withHorizontalScale(horizontalScale));
    g.setColour(colour);
    g.drawFittedText(text, 8, juce::roundToInt(0.11f * fontHeight), std::max(component.getWidth() - 16, 0),
                     component.getHeight(), juce::Justification::centredLeft, 1);
}
} // namespace Quillmore
