#pragma once

#include "runtime/List.h"
#include "runtime/Types.h"

namespace PRT
{

class EngineLink;
class EventTarget;

// What a patcher may ask of the engine. "now" is the start time of the block being processed.
class EngineInterface
{
public:
    virtual ~EngineInterface() = default;

    virtual void scheduleClockEvent(EventTarget* target, ClockId clockId, MillisecondTime time) = 0;
    virtual void scheduleClockEventWithValue(EventTarget* target, ClockId clockId, MillisecondTime time,
                                             ParameterValue value) = 0;
    // Removes the pending clock events of target and clock id, delivering them first when execute is set.
    virtual void flushClockEvents(EventTarget* target, ClockId clockId, bool execute) = 0;
    virtual void flushClockEventsWithValue(EventTarget* target, ClockId clockId, ParameterValue value,
                                           bool execute) = 0;

    virtual void sendMidiEvent(int32_t port, uint8_t byte0, uint8_t byte1, uint8_t byte2, MillisecondTime time) = 0;
    virtual void sendMidiEventList(int32_t port, const list& bytes, MillisecondTime time) = 0;
    // An outlet value for the sender's parent patcher.
    virtual void sendOutlet(EngineLink* sender, OutletIndex index, ParameterValue value, SampleOffset offset) = 0;
    virtual void sendDataRefUpdated(DataRefIndex index) = 0;

    virtual void sendTempoEvent(float tempo) = 0;
    virtual void sendTransportEvent(int32_t state) = 0;
    virtual void sendBeatTimeEvent(float beatTime) = 0;
    virtual void sendTimeSignatureEvent(int32_t numerator, int32_t denominator) = 0;

    virtual void sendNumMessage(MessageTag tag, MessageTag objectId, float value, MillisecondTime time) = 0;
    virtual void sendListMessage(MessageTag tag, MessageTag objectId, const list& values, MillisecondTime time) = 0;
    virtual void sendBangMessage(MessageTag tag, MessageTag objectId, MillisecondTime time) = 0;
    // Whether a message of this tag would reach anyone: a report that none takes need not be collected.
    virtual bool takesMessage(MessageTag) { return true; }

    virtual void notifyParameterValueChanged(ParameterIndex index, ParameterValue value, bool ignoreValue) = 0;
    // Sets or re-applies a parameter at now + delay.
    virtual void scheduleParameterChange(ParameterIndex index, ParameterValue value, MillisecondTime delay) = 0;
    virtual void scheduleParameterBang(ParameterIndex index, MillisecondTime delay) = 0;

    // During a patcher swap: claim events set aside for an outgoing target.
    virtual void retargetEvents(EventTarget* oldTarget, EventTarget* newTarget) = 0;
    virtual void rescheduleTargetEvents(EventTarget* target) = 0;

    virtual MillisecondTime getCurrentTime() = 0;
    // The patcher's state changed.
    virtual void presetTouched() = 0;
};

} // namespace PRT
