#include "editor/CaptionLabelStyle.h"

#include "editor/UiLookAndFeel.h"

namespace Quillmore
{
void styleCaptionLabel(juce::Label& label, juce::Justification justification, float horizontalScale)
{
    label.setJustificationType(justification);
    label.setColour(juce::Label::textColourId, juce::Colours::white);
    label.setColour(juce::Label::backgroundColourId, juce::Colours::transparentBlack);
    label.setInterceptsMouseClicks(false, false);
    auto& properties = label.getProperties();
    properties.set(uiFontKind, 1);
    properties.set(uiFontHeightFrac, 0.8);
    properties.set(uiFontHScale, horizontalScale);
}
} // namespace Quillmore
