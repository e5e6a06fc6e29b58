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

    // Whether the handler wants the message events of this tag at all. The engine builds and queues
    // none of those it declines, and the patch may skip collecting reports nobody takes. Asked on the
    // engine's thread; the answer for a tag must stay the same while the handler is linked.
    virtual bool takesMessage(MessageTag) { return true; }

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
