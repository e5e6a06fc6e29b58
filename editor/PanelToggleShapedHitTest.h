#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The page tab (SIDE A / SIDE B). It has no text and is drawn by the look and feel's page-tab
// background; it takes clicks only inside its tab shape, so that a click in a corner of its rectangle
// goes to whatever lies beneath. The click shape is wider-cornered than the drawn one.
class PanelToggleShapedHitTest : public juce::TextButton
{
public:
    PanelToggleShapedHitTest() = default;

    void resized() override;
    bool hitTest(int x, int y) override;

    const juce::Path& getHitPath() const { return hitPath; }

private:
    juce::Path hitPath;
    float cornerRadius = 90.55f;
    float sideInsetFraction = 0.005f;
    float topFraction = 0.017f;

    JUCE_DECLARE_NON_COPYABLE(PanelToggleShapedHitTest)
};
