#include "editor/PresetErrorDialog.h"

#include "editor/PresetDialogFrame.h"

#include <algorithm>

PresetErrorDialog::PresetErrorDialog()
{
    setVisible(false);
    setInterceptsMouseClicks(true, true);
    addAndMakeVisible(okButton);
    Quillmore::styleDialogButton(okButton, juce::Colour(Quillmore::confirmButtonColour));
    okButton.onClick = [this] { setVisible(false); };
}

void PresetErrorDialog::show(const juce::String& titleText, const juce::String& messageText)
{
    title = titleText;
    message = messageText;
    if (auto* parent = getParentComponent())
        setBounds(parent->getLocalBounds());
    setVisible(true);
    toFront(true);
    repaint();
}

void PresetErrorDialog::paint(juce::Graphics& g)
{
    const auto box = Quillmore::paintPresetDialogFrame(g, getWidth(), getHeight());
    Quillmore::paintPresetDialogMessage(g, box, title, message, 3);
}

void PresetErrorDialog::resized()
{
    auto inner = Quillmore::presetDialogInner(getWidth(), getHeight());
    inner.removeFromTop(std::min(22 + 8 + 40 + 14, inner.getHeight()));
    auto row = inner.removeFromTop(std::min(28, inner.getHeight()));
    const int half = std::max((inner.getWidth() - 8) / 2, 0);
    okButton.setBounds(row.removeFromRight(std::min(row.getWidth(), half)));
}
