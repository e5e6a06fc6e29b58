// The editor's preset operations: what the preset header's buttons do.
#include "editor/QuillmoreAudioProcessorEditor.h"

#include "plugin/FactoryPresetCatalogue.h"
#include "plugin/QuillmoreAudioProcessor.h"

using Editor = QuillmoreAudioProcessorEditor;

namespace
{
constexpr const char* makerPageAddress = "https://zarnpeloq.com/quillmore";

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

    presetHeader.onPrevious = [this] { stepPreset(-1); };
    presetHeader.onNext = [this] { stepPreset(+1); };
    presetHeader.onOptions = [this] { showOptionsDialog(); };
    presetHeader.onLogoClicked = [this] { openLogoPage(); };
}

void Editor::togglePresetPopup()
{
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
    activeSide = processorRef.activePanel.load() == 1 ? 1 : 0;
    updateSideVisibility();
    applySkin();
}

void Editor::openLogoPage()
{
    juce::URL(makerPageAddress).launchInDefaultBrowser();
}
