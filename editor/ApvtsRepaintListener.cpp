#include "editor/ApvtsRepaintListener.h"

namespace UtilityButtons
{
ApvtsRepaintListener::~ApvtsRepaintListener()
{
    detach();
}

void ApvtsRepaintListener::attach(juce::AudioProcessorValueTreeState& state, const juce::String& id,
                                  juce::Component& ownerToRepaint)
{
    detach();
    parameterState = &state;
    parameterID = id;
    owner = &ownerToRepaint;
    state.addParameterListener(id, this);
    startTimer(pollMs);
}

void ApvtsRepaintListener::detach()
{
    stopTimer();
    if (parameterState != nullptr && parameterID.isNotEmpty())
        parameterState->removeParameterListener(parameterID, this);
    parameterState = nullptr;
    owner = nullptr;
    parameterID.clear();
    repaintPending.store(false, std::memory_order_release);
}

void ApvtsRepaintListener::parameterChanged(const juce::String&, float)
{
    if (juce::MessageManager::existsAndIsCurrentThread())
    {
        if (owner != nullptr)
            owner->repaint();
        return;
    }
    repaintPending.store(true, std::memory_order_release);
}

void ApvtsRepaintListener::timerCallback()
{
    if (repaintPending.exchange(false, std::memory_order_acq_rel) && owner != nullptr)
        owner->repaint();
}
} // namespace UtilityButtons
