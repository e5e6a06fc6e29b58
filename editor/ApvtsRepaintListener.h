#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>

namespace UtilityButtons
{
// Repaints a component whenever one host parameter changes, whoever changed it. The parameter state
// calls back on the thread that made the change: on the message thread the component is repainted at
// once; from any other thread (a host's automation, possibly its audio thread) the call only raises a
// flag, without locking or allocating, and a timer on the message thread repaints when it finds it
// raised. No component is ever touched off the message thread.
class ApvtsRepaintListener : public juce::AudioProcessorValueTreeState::Listener, public juce::Timer
{
public:
    static constexpr int pollMs = 20;

    ApvtsRepaintListener() = default;
    ~ApvtsRepaintListener() override;

    // Message thread. Replaces any earlier registration.
    void attach(juce::AudioProcessorValueTreeState& state, const juce::String& parameterID, juce::Component& owner);
    // Message thread. No call back after it returns.
    void detach();

    void parameterChanged(const juce::String& parameterID, float newValue) override;
    bool isRepaintPending() const { return repaintPending.load(std::memory_order_acquire); }
    void timerCallback() override;

private:
    juce::AudioProcessorValueTreeState* parameterState = nullptr;
    juce::Component* owner = nullptr;
    juce::String parameterID;
    std::atomic<bool> repaintPending{false};

    JUCE_DECLARE_NON_COPYABLE(ApvtsRepaintListener)
};
} // namespace UtilityButtons
