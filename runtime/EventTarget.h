#pragma once

#include "runtime/Types.h"

namespace PRT
{

// Receives clock and MIDI events: the part of a patcher (or an external module) that a clock or MIDI
// event can be addressed to.
class EventTarget
{
public:
    virtual ~EventTarget() = default;

    virtual void processMidiEvent(MillisecondTime time, int32_t port, const uint8_t* data, int32_t length) = 0;
    virtual void processClockEvent(MillisecondTime time, ClockId clockId, bool hasValue, ParameterValue value) = 0;
};

} // namespace PRT
