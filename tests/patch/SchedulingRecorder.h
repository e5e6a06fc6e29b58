#pragma once

#include "runtime/EngineInterface.h"

#include <utility>
#include <vector>

namespace PRT::test
{

// The real engine, noting the time each clock is scheduled for (it is delivered no earlier than the
// start of the next block). A class under test is given it as its engine.
class SchedulingRecorder final : public EngineInterface
{
public:
    explicit SchedulingRecorder(EngineInterface& engine) : e(engine) {}

    std::vector<std::pair<ClockId, MillisecondTime>> scheduled;

    void scheduleClockEvent(EventTarget* t, ClockId c, MillisecondTime time) override
    {
        scheduled.emplace_back(c, time);
        e.scheduleClockEvent(t, c, time);
    }
    void scheduleClockEventWithValue(EventTarget* t, ClockId c, MillisecondTime time, ParameterValue v) override
    {
        scheduled.emplace_back(c, time);
        e.scheduleClockEventWithValue(t, c, time, v);
    }
    void flushClockEvents(EventTarget* t, ClockId c, bool x) override { e.flushClockEvents(t, c, x); }
    void flushClockEventsWithValue(EventTarget* t, ClockId c, ParameterValue v, bool x) override
    {
        e.flushClockEventsWithValue(t, c, v, x);
    }
    void sendMidiEvent(int32_t p, uint8_t a, uint8_t b, uint8_t c, MillisecondTime t) override { e.sendMidiEvent(p, a, b, c, t); }
    void sendMidiEventList(int32_t p, const list& b, MillisecondTime t) override { e.sendMidiEventList(p, b, t); }
    void sendOutlet(EngineLink* s, OutletIndex i, ParameterValue v, SampleOffset o) override { e.sendOutlet(s, i, v, o); }
    void sendDataRefUpdated(DataRefIndex i) override { e.sendDataRefUpdated(i); }
    void sendTempoEvent(float t) override { e.sendTempoEvent(t); }
    void sendTransportEvent(int32_t s) override { e.sendTransportEvent(s); }
    void sendBeatTimeEvent(float b) override { e.sendBeatTimeEvent(b); }
    void sendTimeSignatureEvent(int32_t n, int32_t d) override { e.sendTimeSignatureEvent(n, d); }
    void sendNumMessage(MessageTag t, MessageTag o, float v, MillisecondTime time) override { e.sendNumMessage(t, o, v, time); }
    void sendListMessage(MessageTag t, MessageTag o, const list& v, MillisecondTime time) override
    {
        e.sendListMessage(t, o, v, time);
    }
    void sendBangMessage(MessageTag t, MessageTag o, MillisecondTime time) override { e.sendBangMessage(t, o, time); }
    void notifyParameterValueChanged(ParameterIndex i, ParameterValue v, bool x) override
    {
        e.notifyParameterValueChanged(i, v, x);
    }
    void scheduleParameterChange(ParameterIndex i, ParameterValue v, MillisecondTime d) override
    {
        e.scheduleParameterChange(i, v, d);
    }
    void scheduleParameterBang(ParameterIndex i, MillisecondTime d) override { e.scheduleParameterBang(i, d); }
    void retargetEvents(EventTarget* a, EventTarget* b) override { e.retargetEvents(a, b); }
    void rescheduleTargetEvents(EventTarget* t) override { e.rescheduleTargetEvents(t); }
    MillisecondTime getCurrentTime() override { return e.getCurrentTime(); }
    void presetTouched() override { e.presetTouched(); }

private:
    EngineInterface& e;
};

} // namespace PRT::test
