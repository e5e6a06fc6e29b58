#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

// Tells the user that a preset action or a settings save failed and why, over the whole editor, until
// OK is pressed. The preset files and the unsaved changes stay as they were; the message says what to
// look at.
class PresetErrorDialog : public juce::Component
{
public:
    PresetErrorDialog();

    juce::String title;
    juce::String message;
    juce::TextButton okButton{"OK"};

    // Shows the dialog over its parent's whole area with the keyboard focus on OK.
    void show(const juce::String& titleText, const juce::String& messageText);

    void paint(juce::Graphics& g) override;
    void resized() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(PresetErrorDialog)
};
