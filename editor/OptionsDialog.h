#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

// The options dialog: a dark veil over the whole editor with a panel in its middle, where the user
// picks the skin and whether hints show. It draws its children the framework's plain way, not in the
// editor's look. A click on the veil outside the panel closes it like the Close button.
class OptionsDialog : public juce::Component
{
public:
    OptionsDialog();
    ~OptionsDialog() override;

    // Called with the skin's number whenever the user picks one.
    std::function<void(int)> onSkinChanged;
    // Called by the Close button and by a press on the veil.
    std::function<void()> onClose;

    // Selects the skin (nothing when the number is no skin's) and the hint mode, without notification.
    void showChoices(int skinId, bool hintsOn);
    // Whether the hints combo stands at "On".
    bool hintsChosen() const;

    juce::Rectangle<int> getPanel() const { return panel; }

    void paint(juce::Graphics& g) override;
    void resized() override;
    void mouseDown(const juce::MouseEvent& event) override;

private:
    juce::LookAndFeel_V4 ownLookAndFeel;

public:
    juce::Label skinLabel{{}, "UI Look:"};
    juce::ComboBox skinCombo;
    juce::Label hintsLabel{{}, "Show Hints:"};
    juce::ComboBox hintsCombo;
    juce::TextButton closeButton{"Close"};

private:
    juce::Rectangle<int> panel;
    juce::Point<int> titlePosition;
    bool laidOut = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(OptionsDialog)
};
