#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

// "Overwrite preset?" for a name that already belongs to a user preset, with Yes and Cancel, over the
// whole editor. The editor binds its handlers afresh each time it opens it.
class OverwritePresetDialog : public juce::Component
{
public:
    OverwritePresetDialog();

    std::function<void()> onConfirm;
    std::function<void()> onCancel;
    juce::String presetName;

    juce::TextButton yesButton{"Yes"};
    juce::TextButton cancelButton{"Cancel"};

    void paint(juce::Graphics& g) override;
    void resized() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(OverwritePresetDialog)
};
