// The options dialog and the settings behind it: the skin is stored the moment it is picked and shows
// at once behind the veil; the hint choice is stored when the dialog closes.
#include "editor/QuillmoreAudioProcessorEditor.h"

using Editor = QuillmoreAudioProcessorEditor;

void Editor::setUpOptionsDialog()
{
    addChildComponent(optionsDialog);
    showHints = settings.readShowHints();
    optionsDialog.onSkinChanged = [this](int skinId) {
        settings.storeSkinId(skinId);
        applySkin();
    };
    optionsDialog.onClose = [this] {
        settings.storeShowHints(optionsDialog.hintsChosen());
        showHints = settings.readShowHints();
        if (!showHints)
            clearHint();
        optionsDialog.setVisible(false);
    };
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
