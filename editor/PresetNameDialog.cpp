#include "editor/PresetNameDialog.h"

#include "editor/PresetDialogFrame.h"

#include <algorithm>

PresetNameDialog::PresetNameDialog()
{
    setVisible(false);
    setInterceptsMouseClicks(true, true);
    addAndMakeVisible(nameEditor);
    addAndMakeVisible(saveButton);
    addAndMakeVisible(cancelButton);
    Quillmore::styleDialogButton(saveButton, juce::Colour(Quillmore::confirmButtonColour));
    Quillmore::styleDialogButton(cancelButton, juce::Colour(Quillmore::cancelButtonColour));
    // Copies first: a handler may install new handlers or hide the dialog.
    saveButton.onClick = [this] {
        if (auto save = onSave)
            save(nameEditor.getText().trim());
    };
    cancelButton.onClick = [this] {
        if (auto cancel = onCancel)
            cancel();
    };
}

void PresetNameDialog::show(const juce::String& text)
{
    nameEditor.setText(text, juce::dontSendNotification);
    nameEditor.selectAll();
    setVisible(true);
    toFront(true);
    grabKeyboardFocus();
    nameEditor.grabKeyboardFocus();
}

void PresetNameDialog::paint(juce::Graphics& g)
{
    const auto box = Quillmore::paintPresetDialogFrame(g, getWidth(), getHeight());
    Quillmore::paintPresetDialogTitle(g, box, "Save preset as:", 22);
}

void PresetNameDialog::resized()
{
    auto inner = Quillmore::presetDialogInner(getWidth(), getHeight());
    const auto take = [&inner](int height) { return inner.removeFromTop(std::min(height, inner.getHeight())); };
    take(30);
    nameEditor.setBounds(take(28));
    take(14);
    auto row = take(28);
    const int width = inner.getWidth();
    cancelButton.setBounds(row.removeFromLeft(std::min(width, std::max(width / 2 - 4, 0))));
    row.removeFromLeft(std::min(8, row.getWidth()));
    saveButton.setBounds(row.removeFromLeft(std::min(row.getWidth(), std::max(width / 2 - 4, 0))));
}
