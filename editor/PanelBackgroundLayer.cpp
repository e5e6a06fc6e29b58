#include "editor/PanelBackgroundLayer.h"

PanelBackgroundLayer::PanelBackgroundLayer()
{
    setInterceptsMouseClicks(false, false);
}

void PanelBackgroundLayer::paint(juce::Graphics& g)
{
    const auto& image = showSideA ? imageA : imageB;
    if (!image.isValid() || getWidth() <= 0 || getHeight() <= 0)
        return;
    g.drawImage(image, getLocalBounds().toFloat(),
                juce::RectanglePlacement::centred | juce::RectanglePlacement::fillDestination);
}
