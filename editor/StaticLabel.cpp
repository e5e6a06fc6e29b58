#include "editor/StaticLabel.h"

#include "editor/CaptionLabelStyle.h"

StaticLabel::StaticLabel(const juce::String& caption) : juce::Label({}, caption)
{
    Quillmore::styleCaptionLabel(*this, juce::Justification::centredLeft, 2.3f);
}
