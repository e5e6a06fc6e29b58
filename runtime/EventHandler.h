#pragma once

#include "runtime/EventVariant.h"

namespace PRT
{

class ParameterEventInterface;

// Receives the events that a parameter interface passes on (values the patcher reports, messages,
// tempo, preset and start-up notices). Every handling operation does nothing unless overridden.
class EventHandler
{
public:
    virtual ~EventHandler() = default;

    // Called on the processing thread after events were queued; the handler may drain them at once
    // through its linked interface.
    virtual void eventsAvailable() = 0;

    virtual void handleParameterEvent(const ParameterEvent&) {}
    virtual void handleMidiEvent(const MidiEvent&) {}
    virtual void handleMessageEvent(const MessageEvent&) {}
    virtual void handlePresetEvent(const PresetEvent&) {}
    virtual void handleTempoEvent(const TempoEvent&) {}
    virtual void handleTransportEvent(const TransportEvent&) {}
    virtual void handleBeatTimeEvent(const BeatTimeEvent&) {}
    virtual void handleTimeSignatureEvent(const TimeSignatureEvent&) {}
    virtual void handleStartupEvent(const StartupEvent&) {}
    virtual void handleBBUEvent(const BBUEvent&) {}

    // The interface that feeds this handler; not owned.
    ParameterEventInterface* getLinkedInterface() const { return linkedInterface; }
    void linkInterface(ParameterEventInterface* feedingInterface) { linkedInterface = feedingInterface; }

private:
    ParameterEventInterface* linkedInterface = nullptr;
};

// Hands an event to the handler operation of its kind. Clock, data-ref, outlet, parameter-bang,
// reserved and empty events have none and are dropped.
void deliverToHandler(EventHandler& handler, const EventVariant& event);

} // namespace PRT
