#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The INPUT and OUTPUT captions over the gain knobs. showValue puts the gain's text in place of the
// caption; the caption returns once 1200 ms have passed since the last showValue, checked by a 66 ms
// timer that runs only meanwhile.
class InOutLabel : public juce::Label, public juce::Timer
{
public:
    static constexpr int holdMs = 1200;
    static constexpr int pollMs = 66;

    explicit InOutLabel(const juce::String& caption);

    void showValue(const juce::String& text);
    bool isHoldingValue() const { return isTimerRunning(); }

    void timerCallback() override;

private:
    juce::String caption;
    juce::uint32 valueDeadline = 0;

    JUCE_DECLARE_NON_COPYABLE(InOutLabel)
};
