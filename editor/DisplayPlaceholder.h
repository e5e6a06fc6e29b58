#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Temporary: holds the editor's places for the spectrum view and its XY overlay, which are being
// written alongside, until those components replace it. Draws nothing, takes no clicks.
class DisplayPlaceholder : public juce::Component
{
public:
    DisplayPlaceholder() { setInterceptsMouseClicks(false, false); }
};
