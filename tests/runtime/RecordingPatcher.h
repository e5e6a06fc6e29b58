#pragma once

#include "runtime/EngineInterface.h"
#include "runtime/PatcherInterfaceImpl.h"

#include "tests/runtime/RecordingEventTarget.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace PRT::test
{

// A patcher that logs every call it receives ("<operation> <arguments> @<time>") and lets a test
// react to clocks, parameters and initialisation. Its process writes 1 into every output it is given.
class RecordingPatcher : public RecordingEvents<PatcherInterfaceImpl>
{
public:
    static constexpr ParameterIndex numParameters = 4;

    ParameterIndex getNumParameters() override { return numParameters; }
    const char* getParameterName(ParameterIndex index) override { return index < numParameters ? "name" : ""; }
    const char* getParameterId(ParameterIndex index) override { return index < numParameters ? "id" : ""; }
    void getParameterInfo(ParameterIndex index, ParameterInfo* info) override
    {
        if (index < numParameters)
            info->hostVisible = true;
    }
    ParameterValue getParameterValue(ParameterIndex index) override
    {
        return index < numParameters ? values[index] : 0;
    }
    void setParameterValue(ParameterIndex index, ParameterValue value, MillisecondTime time) override
    {
        calls.record("parameter", time, index, value);
        if (index < numParameters)
            values[index] = value;
        onParameter(index, value, time);
    }
    ParameterValue convertToNormalizedParameterValue(ParameterIndex, ParameterValue value) override
    {
        return value / 100;
    }
    ParameterValue convertFromNormalizedParameterValue(ParameterIndex, ParameterValue value) override
    {
        return value * 100;
    }

    void initialize() override
    {
        calls.record("initialize", getEngine() != nullptr ? getEngine()->getCurrentTime() : -1);
        onInitialize();
    }
    Index getNumMidiInputPorts() override { return 0; }
    Index getNumMidiOutputPorts() override { return 0; }
    Index getNumInputChannels() override { return inputChannels; }
    Index getNumOutputChannels() override { return outputChannels; }

    void prepareToProcess(float rate, Index maxBlockSize, bool force) override
    {
        calls.record("prepare", -1, rate, maxBlockSize, force);
        sampleRate = rate;
        blockSize = maxBlockSize;
    }
    void process(const SampleValue* const*, Index numInputs, SampleValue* const* outputs, Index numOutputs,
                 Index sampleFrames) override
    {
        calls.record("process", getEngine()->getCurrentTime(), numInputs, numOutputs, sampleFrames);
        for (Index channel = 0; channel < numOutputs; ++channel)
            for (Index i = 0; i < sampleFrames; ++i)
                outputs[channel][i] = 1.0f;
        onProcess();
    }

    void getPreset(PatcherStateInterface& state) override { state.add("gain", values[0]); }
    void setPreset(MillisecondTime time, PatcherStateInterface& state) override
    {
        calls.record("setPreset", time);
        if (const auto gain = state.findFloat("gain"))
            setParameterValue(0, *gain, time);
    }
    DataRefIndex getNumDataRefs() override { return 0; }
    DataRef* getDataRef(DataRefIndex) override { return nullptr; }
    Index getNumExtraSignalInputs() override { return 0; }
    Index getNumExtraSignalOutputs() override { return 0; }
    const char* resolveTag(MessageTag) override { return ""; }
    Index getNumMessages() override { return 0; }
    Index getBlockSize() override { return blockSize; }
    float getSampleRate() override { return sampleRate; }
    bool hasFixedBlockSize() override { return fixedBlockSize; }
    void sendParameter(ParameterIndex index, bool ignoreValue) override
    {
        getEngine()->notifyParameterValueChanged(index, getParameterValue(index), ignoreValue);
    }

    // Calls that happened since the last look, then forgets them.
    std::vector<std::string> takeCalls() { return std::exchange(calls.lines, {}); }

    ParameterValue values[numParameters] = {0, 0, 0, 0};
    float sampleRate = 0;
    Index blockSize = 0;
    Index inputChannels = 2;
    Index outputChannels = 2;
    bool fixedBlockSize = false;
    std::function<void(ParameterIndex, ParameterValue, MillisecondTime)> onParameter = [](auto...) {};
    std::function<void()> onInitialize = [] {};
    std::function<void()> onProcess = [] {};
};

} // namespace PRT::test
