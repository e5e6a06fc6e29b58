#pragma once

#include "editor/QuillmoreAudioProcessorEditor.h"

// The skin image of a page as the background layer paints it at the editor's size.
inline juce::Image pageImage(QuillmoreAudioProcessorEditor& editor, bool sideA)
{
    juce::Image image(juce::Image::ARGB, editor.getWidth(), editor.getHeight(), true);
    juce::Graphics g(image);
    g.drawImage(sideA ? editor.backgroundLayer.imageA : editor.backgroundLayer.imageB, image.getBounds().toFloat(),
                juce::RectanglePlacement::centred | juce::RectanglePlacement::fillDestination);
    return image;
}
