#pragma once

#include <juce_events/juce_events.h>

#include <functional>

// A one-shot timer that holds one function: arming it replaces the function and starts the wait again,
// so only a wait that nobody renews ends. Then the function is taken out and run once. Disarming it or
// destroying it drops the function without running it. Message thread.
class Debouncer : public juce::Timer
{
public:
    Debouncer() = default;
    ~Debouncer() override;

    void arm(std::function<void()> function, int milliseconds);
    void disarm();
    bool isArmed() const { return static_cast<bool>(pending); }

    void timerCallback() override;

private:
    std::function<void()> pending;

    JUCE_DECLARE_NON_COPYABLE(Debouncer)
};
