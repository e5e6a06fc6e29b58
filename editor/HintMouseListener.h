#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class QuillmoreAudioProcessorEditor;

// Shows one control's hint in the editor's hint box while the pointer is over the control, if hints
// are on, and empties the box when the pointer leaves. Listens to the control itself, not its
// children. Either side may go first: a listener whose editor or control is gone does nothing.
class HintMouseListener : public juce::MouseListener
{
public:
    HintMouseListener(QuillmoreAudioProcessorEditor& editor, juce::Component& control, juce::String hintText);
    ~HintMouseListener() override;

    void mouseEnter(const juce::MouseEvent& event) override;
    void mouseExit(const juce::MouseEvent& event) override;
    void mouseDown(const juce::MouseEvent& event) override;

    const juce::String& getHintText() const { return hintText; }

private:
    juce::Component::SafePointer<QuillmoreAudioProcessorEditor> editor;
    juce::Component::SafePointer<juce::Component> control;
    juce::String hintText;

    JUCE_DECLARE_NON_COPYABLE(HintMouseListener)
};
