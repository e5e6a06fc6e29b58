#include "editor/InOutLabel.h"

#include "editor/CaptionLabelStyle.h"
#include "editor/EditorClock.h"

InOutLabel::InOutLabel(const juce::String& captionText) : juce::Label({}, captionText), caption(captionText)
{
    Quillmore::styleCaptionLabel(*this, juce::Justification::centred, 2.0f);
}

void InOutLabel::showValue(const juce::String& text)
{
    setText(text, juce::dontSendNotification);
    valueDeadline = Quillmore::editorMilliseconds() + static_cast<juce::uint32>(holdMs);
    if (!isTimerRunning())
        startTimer(pollMs);
    repaint();
}

void InOutLabel::timerCallback()
{
    if (Quillmore::editorMilliseconds() <= valueDeadline)
        return;
    stopTimer();
    setText(caption, juce::dontSendNotification);
    repaint();
}
