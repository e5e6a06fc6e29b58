#pragma once

#include "runtime/PatcherInterfaceImpl.h"

namespace PRT
{

// The placeholder the engine holds whenever no real patcher is installed: no parameters, two
// silent outputs.
class NullPatcher : public PatcherInterfaceImpl
{
public:
    ParameterIndex getNumParameters() override { return 0; }
    const char* getParameterName(ParameterIndex) override { return ""; }
    const char* getParameterId(ParameterIndex) override { return ""; }
    void getParameterInfo(ParameterIndex, ParameterInfo*) override {}
    ParameterValue getParameterValue(ParameterIndex) override { return 0; }
    void setParameterValue(ParameterIndex, ParameterValue, MillisecondTime) override {}
    ParameterValue convertToNormalizedParameterValue(ParameterIndex, ParameterValue) override { return 0; }
    ParameterValue convertFromNormalizedParameterValue(ParameterIndex, ParameterValue) override { return 0; }

    void initialize() override {}
    Index getNumMidiInputPorts() override { return 0; }
    Index getNumMidiOutputPorts() override { return 0; }
    Index getNumInputChannels() override { return 0; }
    Index getNumOutputChannels() override { return 2; }

    void prepareToProcess(float sampleRate, Index maxBlockSize, bool force) override;
    void process(const SampleValue* const* inputs, Index numInputs, SampleValue* const* outputs, Index numOutputs,
                 Index sampleFrames) override;

    void getPreset(PatcherStateInterface&) override {}
    void setPreset(MillisecondTime, PatcherStateInterface&) override {}
    DataRefIndex getNumDataRefs() override { return 0; }
    DataRef* getDataRef(DataRefIndex) override { return nullptr; }
    Index getNumExtraSignalInputs() override { return 0; }
    Index getNumExtraSignalOutputs() override { return 0; }
    const char* resolveTag(MessageTag) override { return ""; }
    Index getNumMessages() override { return 0; }
    Index getBlockSize() override { return blockSize; }
    float getSampleRate() override { return sampleRate; }
    void sendParameter(ParameterIndex, bool) override {}

    void processMidiEvent(MillisecondTime, int32_t, const uint8_t*, int32_t) override {}
    void processClockEvent(MillisecondTime, ClockId, bool, ParameterValue) override {}
    void processNormalizedParameterEvent(ParameterIndex, ParameterValue, MillisecondTime) override {}
    void processParameterEvent(ParameterIndex, ParameterValue, MillisecondTime) override {}
    void processOutletEvent(EngineLink*, OutletIndex, ParameterValue, MillisecondTime) override {}
    void processOutletValueNow(EngineLink*, OutletIndex, ParameterValue) override {}
    void processDataViewUpdate(DataRefIndex, MillisecondTime) override {}
    void processNumMessage(MessageTag, MessageTag, MillisecondTime, float) override {}
    void processListMessage(MessageTag, MessageTag, MillisecondTime, const list&) override {}
    void processBangMessage(MessageTag, MessageTag, MillisecondTime) override {}
    void processTempoEvent(MillisecondTime, float) override {}
    void processTransportEvent(MillisecondTime, int32_t) override {}
    void processBeatTimeEvent(MillisecondTime, float) override {}
    void processTimeSignatureEvent(MillisecondTime, int32_t, int32_t) override {}
    void processBBUEvent(MillisecondTime, float, float, float) override {}
    void processParameterBangEvent(ParameterIndex, MillisecondTime) override {}

private:
    float sampleRate = 0;
    Index blockSize = 0;
};

} // namespace PRT
