#include "editor/HintMouseListener.h"

#include "editor/QuillmoreAudioProcessorEditor.h"

HintMouseListener::HintMouseListener(QuillmoreAudioProcessorEditor& editorToUse, juce::Component& controlToWatch,
                                     juce::String text)
    : editor(&editorToUse), control(&controlToWatch), hintText(std::move(text))
{
    controlToWatch.addMouseListener(this, false);
}

HintMouseListener::~HintMouseListener()
{
    if (auto* watched = control.getComponent())
        watched->removeMouseListener(this);
}

void HintMouseListener::mouseEnter(const juce::MouseEvent&)
{
    if (auto* owner = editor.getComponent(); owner != nullptr && owner->areHintsShown())
        owner->hintBox.setText(hintText, juce::dontSendNotification);
}

void HintMouseListener::mouseExit(const juce::MouseEvent&)
{
    if (auto* owner = editor.getComponent(); owner != nullptr && owner->areHintsShown())
        owner->clearHint();
}

// A press neither shows nor clears a hint.
void HintMouseListener::mouseDown(const juce::MouseEvent&) {}
