#include "editor/OverwritePresetDialog.h"

#include "editor/PresetDialogFrame.h"

#include <algorithm>

OverwritePresetDialog::OverwritePresetDialog()
{
    setVisible(false);
    setInterceptsMouseClicks(true, true);
    addAndMakeVisible(yesButton);
    addAndMakeVisible(cancelButton);
    Quillmore::styleDialogButton(yesButton, juce::Colour(Quillmore::confirmButtonColour));
    Quillmore::styleDialogButton(cancelButton, juce::Colour(Quillmore::cancelButtonColour));
    yesButton.onClick = [this] {
        if (auto confirm = onConfirm)
            confirm();
    };
    cancelButton.onClick = [this] {
        if (auto cancel = onCancel)
            cancel();
    };
}

void OverwritePresetDialog::paint(juce::Graphics& g)
{
    const auto box = Quillmore::paintPresetDialogFrame(g, getWidth(), getHeight());
    Quillmore::paintPresetDialogMessage(g, box, "Overwrite preset?", "Over-write this existing preset?\n\"" + presetName + "\"", 2);
}

void OverwritePresetDialog::resized()
{
    auto inner = Quillmore::presetDialogInner(getWidth(), getHeight());
    const auto take = [&inner](int height) { return inner.removeFromTop(std::min(height, inner.getHeight())); };
    take(22);
    take(8);
    take(40);
    take(14);
    auto row = take(28);
    const int half = std::max((inner.getWidth() - 8) / 2, 0);
    cancelButton.setBounds(row.removeFromLeft(std::min(inner.getWidth(), half)));
    row.removeFromLeft(std::min(8, row.getWidth()));
    yesButton.setBounds(row.removeFromLeft(std::min(row.getWidth(), half)));
}
