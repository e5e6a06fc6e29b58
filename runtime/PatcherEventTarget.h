#pragma once

#include "runtime/EventTarget.h"
#include "runtime/List.h"
#include "runtime/Types.h"

namespace PRT
{

class EngineLink;

// Every event kind a patcher handles. Which event record reaches which operation, and with which
// time, is decided by the patcher event sender.
class PatcherEventTarget : public EventTarget
{
public:
    virtual void processNormalizedParameterEvent(ParameterIndex index, ParameterValue normalizedValue,
                                                 MillisecondTime time) = 0;
    virtual void processParameterEvent(ParameterIndex index, ParameterValue value, MillisecondTime time) = 0;
    virtual void processOutletEvent(EngineLink* sender, OutletIndex index, ParameterValue value,
                                    MillisecondTime time) = 0;
    // The undelayed form, used outside the patcher's process.
    virtual void processOutletValueNow(EngineLink* sender, OutletIndex index, ParameterValue value) = 0;
    virtual void processDataViewUpdate(DataRefIndex index, MillisecondTime time) = 0;
    virtual void processNumMessage(MessageTag tag, MessageTag objectId, MillisecondTime time, float value) = 0;
    virtual void processListMessage(MessageTag tag, MessageTag objectId, MillisecondTime time,
                                    const list& payload) = 0;
    virtual void processBangMessage(MessageTag tag, MessageTag objectId, MillisecondTime time) = 0;
    virtual void processTempoEvent(MillisecondTime time, float tempo) = 0;
    virtual void processTransportEvent(MillisecondTime time, int32_t state) = 0;
    virtual void processBeatTimeEvent(MillisecondTime time, float beatTime) = 0;
    virtual void processTimeSignatureEvent(MillisecondTime time, int32_t numerator, int32_t denominator) = 0;
    virtual void processBBUEvent(MillisecondTime time, float bars, float beats, float units) = 0;
    virtual void processParameterBangEvent(ParameterIndex index, MillisecondTime time) = 0;
};

} // namespace PRT
