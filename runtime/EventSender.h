#pragma once

#include "runtime/EventVariant.h"
#include "runtime/Types.h"

namespace PRT
{

class EventTarget;
class PatcherEventTarget;

// Turns an event record into a call on an event target. The base delivers clock and MIDI events to
// the event's own target, else to its default target, and drops every other kind.
class EventSender
{
public:
    explicit EventSender(EventTarget* defaultTarget = nullptr) : defaultTarget(defaultTarget) {}
    virtual ~EventSender() = default;

    virtual void sendEvent(const EventVariant& event);
    // The time handed to the target.
    virtual MillisecondTime adjustEventTime(MillisecondTime time) { return time; }

protected:
    EventTarget* defaultTarget;
};

// Delivers every kind a patcher handles; an event addressed to nobody goes to the patcher. Times
// before the minimum time (the engine's "now") reach the patcher as the minimum time.
class PatcherEventSender : public EventSender
{
public:
    PatcherEventSender(PatcherEventTarget* patcher, MillisecondTime minimumTime);

    void sendEvent(const EventVariant& event) override;
    MillisecondTime adjustEventTime(MillisecondTime time) override { return time < minimumTime ? minimumTime : time; }

private:
    PatcherEventTarget* patcher;
    MillisecondTime minimumTime;
};

// Predicate of a clock flush: matches the clock events of one target and clock id (and, when given,
// one value), handing each match to the sender first when delivering.
class ClockEventMatcher
{
public:
    ClockEventMatcher(bool deliver, EventSender& sender, EventTarget* target, ClockId clockIndex);
    ClockEventMatcher(bool deliver, EventSender& sender, EventTarget* target, ClockId clockIndex,
                      ParameterValue value);

    bool operator()(const EventVariant& event) const;

private:
    bool deliver;
    EventSender& sender;
    EventTarget* target;
    ClockId clockIndex;
    bool matchValue;
    ParameterValue value;
};

} // namespace PRT
