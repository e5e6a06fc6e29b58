// The options dialog and the settings behind it: the skin is stored the moment it is picked and shows
// at once behind the veil; the hint choice is stored when the dialog closes.
#include "editor/QuillmoreAudioProcessorEditor.h"

using Editor = QuillmoreAudioProcessorEditor;

void Editor::setUpOptionsDialog()
{
    addChildComponent(optionsDialog);
    showHints = settings.readShowHints();
    optionsDialog.onSkinChanged = [this](int skinId) {
        const bool saved = settings.storeSkinId(skinId);
        applySkin();
        if (!saved)
            reportSettingsNotSaved();
    };
    optionsDialog.onClose = [this] {
        const bool saved = settings.storeShowHints(optionsDialog.hintsChosen());
        showHints = settings.readShowHints();
        if (!showHints)
            clearHint();
        optionsDialog.setVisible(false);
        if (!saved)
            reportSettingsNotSaved();
    };
}

// The choice still holds in this window; the user learns that the next one will not have it.
void Editor::reportSettingsNotSaved()
{
    reportPresetFailure("Could not save settings",
                        settings.getFile().getFullPathName() + " could not be written. Your choice holds while this window is open.");
}

void Editor::showOptionsDialog()
{
    optionsDialog.setBounds(getLocalBounds());
    optionsDialog.toFront(false);
    optionsDialog.showChoices(settings.readSkinId(), settings.readShowHints());
    optionsDialog.setVisible(true);
    optionsDialog.toFront(true);
    optionsDialog.grabKeyboardFocus();
    optionsDialog.resized();
    optionsDialog.repaint();
}
