// The editor's preset operations: what the preset header's buttons, the browser's rows and the preset
// dialogs do. The preset files belong to the processor's store; every action that fails to change them
// says so, and leaves the files and the unsaved changes as they were.
#include "editor/QuillmoreAudioProcessorEditor.h"

#include "plugin/FactoryPresetCatalogue.h"
#include "plugin/QuillmoreAudioProcessor.h"

#include <algorithm>

using Editor = QuillmoreAudioProcessorEditor;

namespace
{
constexpr const char* makerPageAddress = "https://zarnpeloq.com/quillmore";
constexpr const char* newPresetName = "New Preset";

// Where previous (-1) or next (+1) leads from index in a list of count items; current < 0 or beyond
// the list means none.
int steppedIndex(int current, int count, int direction)
{
    if (direction < 0)
        return current <= 0 || current >= count ? count - 1 : current - 1;
    return current < 0 || current >= count - 1 ? 0 : current + 1;
}
} // namespace

void Editor::setUpPresetControls()
{
    presetHeader.setInterceptsMouseClicks(true, true);
    presetHeader.setOpaque(false);
    presetHeader.setAlwaysOnTop(false);
    presetHeader.toFront(false);

    addChildComponent(presetPopup);
    presetPopup.presetStore = &processorRef.presetManager;
    presetPopup.refresh();
    presetPopup.onShowPresetFolder = [this] { showPresetFolder(); };
    presetPopup.onUserPresetChosen = [this](int index) { chooseUserPreset(index); };
    presetPopup.onFactoryPresetChosen = [this](const juce::String& resource, const juce::String& name) {
        chooseFactoryPreset(resource, name);
    };
    presetPopup.onSaveCopy = [this](const juce::String& name) { saveCopyOfPreset(name); };
    presetPopup.onRenamePreset = [this](int index) { beginRename(index); };
    presetPopup.onDeletePreset = [this](int index) { deleteUserPreset(index); };

    presetHeader.onTogglePopup = [this] { togglePresetPopup(); };
    presetHeader.onSave = [this] { showPresetNameDialog(); };
    presetHeader.onPrevious = [this] { stepPreset(-1); };
    presetHeader.onNext = [this] { stepPreset(+1); };
    presetHeader.onOptions = [this] { showOptionsDialog(); };
    presetHeader.onLogoClicked = [this] { openLogoPage(); };

    addChildComponent(presetNameDialog);
    addChildComponent(overwriteDialog);
    addChildComponent(presetErrorDialog);
    installSaveHandlers();
}

void Editor::installSaveHandlers()
{
    presetNameDialog.onSave = [this](const juce::String& name) { saveAsUserPreset(name); };
    presetNameDialog.onCancel = [this] { presetNameDialog.setVisible(false); };
}

void Editor::reportPresetFailure(const juce::String& title, const juce::String& message)
{
    presetErrorDialog.show(title, message);
}

void Editor::togglePresetPopup()
{
    const bool wasVisible = presetPopup.isVisible();
    if (!wasVisible)
    {
        placePresetPopup();
        presetPopup.presetStore = &processorRef.presetManager;
        presetPopup.processor = &processorRef;
        presetPopup.headerArea = presetHeader.getBounds();
        presetPopup.headerClickArea = PresetHeader::createOutlinePath(static_cast<float>(presetHeader.getWidth()),
                                                                      static_cast<float>(presetHeader.getHeight()))
                                          .createPathWithRoundedCorners(0.0f);
        presetPopup.headerClickArea.applyTransform(
            juce::AffineTransform::translation(presetHeader.getPosition().toFloat()));
        presetPopup.refresh();
        presetPopup.toFront(false);
    }
    presetPopup.setVisible(!wasVisible);
    presetPopup.setInterceptsMouseClicks(!wasVisible, !wasVisible);
}

void Editor::placePresetPopup()
{
    const auto name = presetHeader.computeAreas()[0].toNearestInt();
    const auto topLeft = getLocalPoint(&presetHeader, name.getPosition());
    const int H = getHeight();
    const int panelHeight = static_cast<int>(0.8 * H);
    int y = topLeft.y + name.getHeight() + 4;
    if (y + panelHeight > H)
        y = std::max(H - panelHeight - 4, 0);
    presetPopup.setBounds(getLocalBounds());
    presetPopup.panelArea = {topLeft.x, y, name.getWidth(), panelHeight};
    presetPopup.resized();
}

void Editor::stepPreset(int direction)
{
    const auto fields = processorRef.presetFields.get();
    if (fields.currentPresetIsFactory == 1)
    {
        const auto list = Quillmore::buildFactoryPresetList();
        if (list.empty())
            return;
        int current = -1;
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i].resourceName == fields.currentFactoryResource)
            {
                current = static_cast<int>(i);
                break;
            }
        const auto& item = list[static_cast<size_t>(steppedIndex(current, static_cast<int>(list.size()), direction))];
        processorRef.loadFactoryPreset(item.resourceName, item.displayName);
    }
    else
    {
        const int count = processorRef.presetManager.getEntries().size();
        if (count == 0)
            return;
        processorRef.loadUserPreset(steppedIndex(processorRef.presetManager.getCurrentIndex(), count, direction));
    }

    presetHeader.repaint();
    presetPopup.followCurrentPreset();
    activeSide = processorRef.activePanel.load() == 1 ? 1 : 0;
    updateSideVisibility();
    applySkin();
}

void Editor::showPresetNameDialog()
{
    auto name = processorRef.getCurrentPresetDisplayName().trim();
    // The modified mark belongs to the display, not to the name.
    if (processorRef.presetDirty.load() && name.endsWithChar('*'))
        name = name.dropLastCharacters(1).trim();
    if (name.isEmpty())
        name = newPresetName;
    installSaveHandlers();
    presetNameDialog.setBounds(getLocalBounds());
    presetNameDialog.toFront(false);
    presetNameDialog.show(name);
    presetHeader.repaint();
}

void Editor::saveCopyOfPreset(const juce::String& proposedName)
{
    installSaveHandlers();
    presetNameDialog.show(proposedName);
}

void Editor::saveAsUserPreset(const juce::String& name)
{
    const auto typed = name.trim();
    if (typed.isEmpty())
        return;

    const int existing = processorRef.indexOfUserPreset(typed);
    if (existing >= 0)
    {
        presetNameDialog.setVisible(false);
        overwriteDialog.onConfirm = [this, existing] { confirmOverwrite(existing); };
        overwriteDialog.onCancel = [this, typed] { cancelOverwrite(typed); };
        overwriteDialog.setBounds(getLocalBounds());
        overwriteDialog.presetName = typed;
        overwriteDialog.setVisible(true);
        overwriteDialog.toFront(true);
        overwriteDialog.grabKeyboardFocus();
        overwriteDialog.repaint();
        return;
    }

    if (!processorRef.saveUserPreset(typed))
    {
        // The name dialog stays open, so that another name or folder can be tried.
        reportPresetFailure("Could not save preset",
                            "\"" + typed + "\" could not be written to " + processorRef.presetManager.getFolder().getFullPathName()
                                + ". Your changes are kept.");
        return;
    }
    processorRef.presetFields.update([](Quillmore::PresetFields& fields) {
        fields.popupLastTab = 1;
        fields.popupHasState = true;
    });
    presetPopup.setTab(PresetPopup::userTab);
    presetPopup.refresh();
    presetNameDialog.setVisible(false);
    presetHeader.repaint();
}

void Editor::confirmOverwrite(int index)
{
    const auto& entries = processorRef.presetManager.getEntries();
    const auto name = index >= 0 && index < entries.size() ? entries[index].name : juce::String();
    const bool written = processorRef.overwriteUserPreset(index);
    presetPopup.refresh();
    overwriteDialog.setVisible(false);
    if (!written)
        reportPresetFailure("Could not overwrite preset",
                            "\"" + name + "\" could not be written in " + processorRef.presetManager.getFolder().getFullPathName()
                                + ". The file is as it was and your changes are kept.");
    presetHeader.repaint();
}

void Editor::cancelOverwrite(const juce::String& typedName)
{
    overwriteDialog.setVisible(false);
    presetNameDialog.setBounds(getLocalBounds());
    presetNameDialog.toFront(false);
    presetNameDialog.show(typedName);
}

void Editor::beginRename(int index)
{
    const auto& entries = processorRef.presetManager.getEntries();
    const auto name = index >= 0 && index < entries.size() ? entries[index].name : juce::String();
    presetNameDialog.onSave = [this, index](const juce::String& newName) { finishRename(index, newName); };
    presetNameDialog.onCancel = [this] { presetNameDialog.setVisible(false); };
    presetNameDialog.show(name);
}

void Editor::finishRename(int index, const juce::String& name)
{
    const auto newName = name.trim();
    presetNameDialog.setVisible(false);
    if (newName.isEmpty())
        return;
    const bool renamed = processorRef.renameUserPreset(index, newName);
    presetPopup.refresh();
    presetHeader.repaint();
    if (!renamed)
        reportPresetFailure("Could not rename preset",
                            "The preset file could not be renamed to \"" + newName + "\" in "
                                + processorRef.presetManager.getFolder().getFullPathName() + ". It keeps its old name.");
}

void Editor::deleteUserPreset(int index)
{
    const auto& entries = processorRef.presetManager.getEntries();
    const auto name = index >= 0 && index < entries.size() ? entries[index].name : juce::String();
    const bool deleted = processorRef.deleteUserPreset(index);
    presetPopup.refresh();
    presetHeader.repaint();
    if (!deleted && name.isNotEmpty())
        reportPresetFailure("Could not delete preset",
                            "The file of \"" + name + "\" could not be deleted from "
                                + processorRef.presetManager.getFolder().getFullPathName() + ". The preset is still there.");
}

void Editor::showPresetFolder()
{
    const auto folder = processorRef.presetManager.getFolder();
    if (!folder.isDirectory() && !folder.createDirectory())
    {
        reportPresetFailure("Could not show the preset folder",
                            folder.getFullPathName() + " does not exist and could not be created.");
        return;
    }
    if (revealPresetFolder)
        revealPresetFolder(folder);
}

void Editor::chooseFactoryPreset(const juce::String& resourceName, const juce::String& displayName)
{
    processorRef.loadFactoryPreset(resourceName, displayName);
    presetHeader.repaint();
    activeSide = processorRef.activePanel.load() == 1 ? 1 : 0;
    updateSideVisibility();
}

void Editor::chooseUserPreset(int index)
{
    const bool loaded = processorRef.loadUserPreset(index);
    presetHeader.repaint();
    activeSide = processorRef.activePanel.load() == 1 ? 1 : 0;
    updateSideVisibility();
    if (!loaded)
        reportPresetFailure("Could not load preset", "That user preset is no longer there.");
}

void Editor::openLogoPage()
{
    juce::URL(makerPageAddress).launchInDefaultBrowser();
}
