#pragma once

#include "runtime/PatcherEventTarget.h"

#include "tests/runtime/CallLog.h"

#include <functional>
#include <string>
#include <vector>

namespace PRT::test
{

// Logs every event a patcher event target receives, apart from the parameter events: what those do is
// the base's (or the subclass's) business. Hooks let a test react to clocks and lists.
template <typename Target>
class RecordingEvents : public Target
{
public:
    void processMidiEvent(MillisecondTime time, int32_t port, const uint8_t* data, int32_t length) override
    {
        calls.record("midi", time, port, commaJoined(data, length));
    }
    void processClockEvent(MillisecondTime time, ClockId clockId, bool hasValue, ParameterValue value) override
    {
        if (hasValue)
            calls.record("clock", time, clockId, value);
        else
            calls.record("clock", time, clockId);
        onClock(time, clockId);
    }
    void processOutletEvent(EngineLink*, OutletIndex index, ParameterValue value, MillisecondTime time) override
    {
        calls.record("outlet", time, index, value);
    }
    void processOutletValueNow(EngineLink*, OutletIndex index, ParameterValue value) override
    {
        calls.record("outletNow", -1, index, value);
    }
    void processDataViewUpdate(DataRefIndex index, MillisecondTime time) override
    {
        calls.record("dataView", time, index);
    }
    void processNumMessage(MessageTag tag, MessageTag objectId, MillisecondTime time, float value) override
    {
        calls.record("num", time, tag, objectId, value);
    }
    void processListMessage(MessageTag tag, MessageTag objectId, MillisecondTime time, const list& values) override
    {
        onListMessage();
        calls.record("list", time, tag, objectId, commaJoined(values.data(), values.size()));
    }
    void processBangMessage(MessageTag tag, MessageTag objectId, MillisecondTime time) override
    {
        calls.record("bang", time, tag, objectId);
    }
    void processTempoEvent(MillisecondTime time, float tempo) override { calls.record("tempo", time, tempo); }
    void processTransportEvent(MillisecondTime time, int32_t state) override
    {
        calls.record("transport", time, state);
    }
    void processBeatTimeEvent(MillisecondTime time, float beatTime) override
    {
        calls.record("beatTime", time, beatTime);
    }
    void processTimeSignatureEvent(MillisecondTime time, int32_t numerator, int32_t denominator) override
    {
        calls.record("timeSignature", time, numerator, denominator);
    }
    void processBBUEvent(MillisecondTime time, float bars, float beats, float units) override
    {
        calls.record("bbu", time, bars, beats, units);
    }

    CallLog calls;
    std::function<void(MillisecondTime, ClockId)> onClock = [](auto...) {};
    // Runs at the start of processListMessage, before the list is read.
    std::function<void()> onListMessage = [] {};
};

// A patcher event target that logs every event it receives, the parameter events included.
class RecordingEventTarget : public RecordingEvents<PatcherEventTarget>
{
public:
    void processNormalizedParameterEvent(ParameterIndex index, ParameterValue value, MillisecondTime time) override
    {
        calls.record("normalizedParameter", time, index, value);
    }
    void processParameterEvent(ParameterIndex index, ParameterValue value, MillisecondTime time) override
    {
        calls.record("parameter", time, index, value);
    }
    void processParameterBangEvent(ParameterIndex index, MillisecondTime time) override
    {
        calls.record("parameterBang", time, index);
    }
};

} // namespace PRT::test
