// The bindings the editor adds to what the slider and button attachments give: its own texts for the
// mix bars and the size bar, and the spectrum handle's hold on the echo filter's bars.
#include "editor/EditorClock.h"
#include "editor/EditorOwnValueTexts.h"
#include "editor/QuillmoreAudioProcessorEditor.h"

using Editor = QuillmoreAudioProcessorEditor;

// After the bars' slider attachments, which install the parameter's own texts.
void Editor::installOwnValueTexts()
{
    for (auto* bar : {&echoMixBar, &springsMixBar})
        // Formed at every draw, so that it follows the mix mode as it is then.
        bar->textFromValueFunction = [this](double value) {
            return Quillmore::mixValueText(value, mixModeToggle.getToggleState());
        };
    springSizeBar.textFromValueFunction = [](double value) { return Quillmore::springSizeValueText(value); };
}

// While the handle is held, FILTER FREQ and FILTER Q show their values; after it is dropped they keep
// them for a moment (the tick lets go), and grabbing it again in that time keeps them pinned.
void Editor::installSpectrumOverlayDragCallbacks()
{
    xyOverlay->onDragStart = [this] {
        filterFreqBar.setValuePinned(true);
        filterQBar.setValuePinned(true);
        xyHighlightDeadlineMs = 0;
    };
    xyOverlay->onDragEnd = [this] {
        xyHighlightDeadlineMs = static_cast<juce::int64>(Quillmore::editorMillisecondsHiRes() + xyHighlightHoldMs);
    };
}
