#include "editor/PresetDialogFrame.h"

#include <algorithm>

namespace Quillmore
{
juce::Rectangle<int> paintPresetDialogFrame(juce::Graphics& g, int w, int h)
{
    g.fillAll(juce::Colour(0x8c000000));
    const auto fw = static_cast<float>(w), fh = static_cast<float>(h);
    const juce::Rectangle<float> box{0.25f * fw, 0.35f * fh, 0.5f * fw, 0.3f * fh};
    g.setColour(juce::Colour(presetDialogGrey).withAlpha(static_cast<juce::uint8>(250)));
    g.fillRoundedRectangle(box, 10.0f);
    g.setColour(juce::Colour(0x99ffffff));
    g.drawRoundedRectangle(box.reduced(0.5f), 10.0f, 1.5f);
    return box.toNearestInt();
}

juce::Rectangle<int> presetDialogInner(int w, int h)
{
    const auto reduce = [](juce::Rectangle<int> r, int dx, int dy) {
        const int x = std::min(dx, r.getWidth() / 2), y = std::min(dy, r.getHeight() / 2);
        return juce::Rectangle<int>{r.getX() + x, r.getY() + y, std::max(r.getWidth() - 2 * x, 0),
                                    std::max(r.getHeight() - 2 * y, 0)};
    };
    return reduce(reduce({0, 0, w, h}, w / 4, h / 3), 16, 16);
}

void paintPresetDialogTitle(juce::Graphics& g, juce::Rectangle<int> box, const juce::String& title, int height)
{
    g.setColour(juce::Colours::white);
    g.setFont(16.0f);
    g.drawText(title, juce::Rectangle<int>{box.getX() + 14, box.getY() + 14, std::max(box.getWidth() - 28, 0), height},
               juce::Justification::centredLeft, true);
}

void paintPresetDialogMessage(juce::Graphics& g, juce::Rectangle<int> box, const juce::String& title,
                              const juce::String& message, int maxLines)
{
    const int rest = std::max(box.getHeight() - 28, 0);
    const int titleHeight = std::min(rest, 22);
    const int gap = std::min(rest - titleHeight, 8);
    const int messageHeight = std::min(rest - titleHeight - gap, 40);
    paintPresetDialogTitle(g, box, title, titleHeight);
    g.setFont(14.0f);
    g.drawFittedText(message,
                     {box.getX() + 14, box.getY() + 14 + titleHeight + gap, std::max(box.getWidth() - 28, 0), messageHeight},
                     juce::Justification::centredLeft, maxLines);
}

void styleDialogButton(juce::TextButton& button, juce::Colour base)
{
    button.setColour(juce::TextButton::buttonColourId, base);
    button.setColour(juce::TextButton::buttonOnColourId, base.brighter(0.15f));
    button.setColour(juce::TextButton::textColourOffId, juce::Colours::white);
    button.setColour(juce::TextButton::textColourOnId, juce::Colours::white);
    button.setColour(juce::ComboBox::outlineColourId, juce::Colour(0x00000000));
}
} // namespace Quillmore
