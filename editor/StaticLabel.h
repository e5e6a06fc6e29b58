#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A section caption ("NOISE", "TAPE ECHOES"): white, left-aligned, wide glyphs, ignores the mouse.
class StaticLabel : public juce::Label
{
public:
    explicit StaticLabel(const juce::String& caption);

private:
    JUCE_DECLARE_NON_COPYABLE(StaticLabel)
};
