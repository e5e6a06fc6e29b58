#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The skin image behind the page on show: the SIDE A or the SIDE B image, scaled uniformly to cover
// the whole layer, centred, the excess cropped. An empty image draws nothing. Transparent to the mouse.
class PanelBackgroundLayer : public juce::Component
{
public:
    PanelBackgroundLayer();

    juce::Image imageA;
    juce::Image imageB;
    bool showSideA = true;

    void paint(juce::Graphics& g) override;

private:
    JUCE_DECLARE_NON_COPYABLE(PanelBackgroundLayer)
};
