#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

// "Save preset as:" with a name field, Save and Cancel, over the whole editor. It serves saving and
// renaming alike: the editor installs the handlers of the mode it opens it in. Only the buttons close
// it; keys and clicks outside its box do nothing.
class PresetNameDialog : public juce::Component
{
public:
    PresetNameDialog();

    std::function<void(const juce::String&)> onSave; // the typed name, trimmed
    std::function<void()> onCancel;

    juce::TextEditor nameEditor;
    juce::TextButton saveButton{"Save"};
    juce::TextButton cancelButton{"Cancel"};

    // Shows the dialog with the text in the field, all of it selected, and the keyboard focus there.
    void show(const juce::String& text);

    void paint(juce::Graphics& g) override;
    void resized() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(PresetNameDialog)
};
