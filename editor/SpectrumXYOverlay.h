#pragma once

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>

class SpectrumView;

// An invisible handle laid over the spectrum view: dragging sets the echo filter's frequency along the
// view's frequency axis (horizontally) and its Q (down raises it; one overlay height spans the whole
// normalised range). Drags are relative to the press, so nothing jumps to the mouse, and each drag is
// one change gesture on both parameters.
class SpectrumXYOverlay : public juce::Component
{
public:
    // Either parameter may be null, which disables dragging (gestures still open on the other).
    SpectrumXYOverlay(SpectrumView& view, juce::RangedAudioParameter* frequencyParameter,
                      juce::RangedAudioParameter* qParameter);

    std::function<void()> onDragStart, onDragEnd;

    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;

private:
    SpectrumView& view;
    juce::RangedAudioParameter* freqParam;
    juce::RangedAudioParameter* qParam;
    bool dragging = false;
    juce::Point<float> downPos;
    float startFreqNorm = 0.0f, startQNorm = 0.0f;
    float startHz = 600.0f;
    float startX = 0.0f;

    JUCE_DECLARE_NON_COPYABLE(SpectrumXYOverlay)
};

namespace Quillmore
{
// The overlay for that view, bound to "EchoFilterFreq" and "EchoFilterQ" of the parameter state (a
// missing one stays unbound): it takes clicks but no keyboard focus and shows the four-way move cursor.
std::unique_ptr<SpectrumXYOverlay> makeSpectrumXYOverlay(SpectrumView& view, juce::AudioProcessorValueTreeState& state);
} // namespace Quillmore
