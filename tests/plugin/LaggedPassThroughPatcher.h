#pragma once

#include "patch/core/PatchLatency.h"
#include "runtime/EngineInterface.h"
#include "runtime/EventVariant.h"
#include "runtime/List.h"
#include "runtime/PatcherInterfaceImpl.h"
#include "runtime/TagHash.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

// A stand-in for the generated patch with its lag: each block puts out the input of the block before,
// one sample later still (so audio through it is delayed by exactly one engine block and the patch's
// patchSamplesLateBeyondBlock). It has a parameter for
// every host parameter ID it is given, plus "PatchOnly" (no host parameter has that ID) and a hidden
// second "Saturate"; it records every value it receives and reports chosen values back to the engine
// after each block, the way the patch reports its warble and echo-filter values. It also sends chosen
// messages out of its next block, the way the patch's echo analyser sends its "EchoSpec" lists, and
// resolves the tags "EchoSpec" and "OtherList" (messageTag gives their hashes).
//
// The processor makes it through a plain factory function, so the test reaches the patcher the
// processor runs through `current`. Everything here runs on the test's one thread.
class LaggedPassThroughPatcher final : public PRT::PatcherInterfaceImpl
{
public:
    // Set before a processor is made: the host parameter IDs its patcher will have.
    static inline std::vector<std::string> hostParameterIds;
    // The patcher made last.
    static inline LaggedPassThroughPatcher* current = nullptr;

    static PRT::PatcherInterface* make() { return new LaggedPassThroughPatcher(); }

    LaggedPassThroughPatcher() : ids(hostParameterIds)
    {
        ids.emplace_back("PatchOnly");
        ids.emplace_back("Saturate");
        values.assign(ids.size(), 0.0f);
        current = this;
    }

    ~LaggedPassThroughPatcher() override
    {
        if (current == this)
            current = nullptr;
    }

    // The values received for a parameter ID, oldest first (the visible parameter of that ID).
    std::vector<float> received(const std::string& id) const
    {
        std::vector<float> result;
        for (const auto& [index, value] : receivedValues)
            if (ids[index] == id && index != hiddenIndex())
                result.push_back(value);
        return result;
    }

    // A value that the patcher reports after every block from now on.
    void reportAfterEachBlock(const std::string& id, float value)
    {
        for (PRT::ParameterIndex i = 0; i < ids.size(); ++i)
            if (ids[i] == id)
                reports[i] = value;
    }

    struct Message
    {
        const char* tag;
        int32_t kind; // a PRT::MessageEvent kind: number, list or bang
        std::vector<float> values;
    };

    static constexpr const char* knownTags[] = { "EchoSpec", "OtherList" };
    static PRT::MessageTag messageTag(const char* text) { return PRT::hashString(text); }

    // Messages that the next block sends, in this order.
    void sendInNextBlock(std::vector<Message> messages)
    {
        for (auto& message : messages)
            outgoing.push_back(std::move(message));
    }

    PRT::ParameterIndex hiddenIndex() const { return static_cast<PRT::ParameterIndex>(ids.size() - 1); }

    PRT::ParameterIndex getNumParameters() override { return static_cast<PRT::ParameterIndex>(ids.size()); }
    const char* getParameterName(PRT::ParameterIndex index) override { return getParameterId(index); }
    const char* getParameterId(PRT::ParameterIndex index) override
    {
        return index < ids.size() ? ids[index].c_str() : "";
    }
    void getParameterInfo(PRT::ParameterIndex index, PRT::ParameterInfo* info) override
    {
        if (index >= ids.size())
            return;
        info->minimum = -100000.0f;
        info->maximum = 100000.0f;
        info->hostVisible = index != hiddenIndex();
    }
    PRT::ParameterValue getParameterValue(PRT::ParameterIndex index) override
    {
        return index < values.size() ? values[index] : 0.0f;
    }
    void setParameterValue(PRT::ParameterIndex index, PRT::ParameterValue value, PRT::MillisecondTime) override
    {
        if (index >= values.size())
            return;
        values[index] = value;
        receivedValues.emplace_back(index, value);
    }
    PRT::ParameterValue convertToNormalizedParameterValue(PRT::ParameterIndex, PRT::ParameterValue value) override
    {
        return value;
    }
    PRT::ParameterValue convertFromNormalizedParameterValue(PRT::ParameterIndex, PRT::ParameterValue value) override
    {
        return value;
    }

    void initialize() override {}
    PRT::Index getNumMidiInputPorts() override { return 0; }
    PRT::Index getNumMidiOutputPorts() override { return 0; }
    PRT::Index getNumInputChannels() override { return 2; }
    PRT::Index getNumOutputChannels() override { return 2; }

    void prepareToProcess(float rate, PRT::Index maxBlockSize, bool) override
    {
        sampleRate = rate;
        blockSize = maxBlockSize;
        for (auto& channel : held)
            channel.assign(maxBlockSize + beyondBlock, 0.0f);
    }

    void process(const PRT::SampleValue* const* inputs, PRT::Index numInputs, PRT::SampleValue* const* outputs,
                 PRT::Index numOutputs, PRT::Index sampleFrames) override
    {
        ++processedBlocks;
        for (PRT::Index channel = 0; channel < 2; ++channel)
        {
            auto& memory = held[channel];
            if (channel < numOutputs)
                std::copy_n(memory.begin(), sampleFrames, outputs[channel]);
            std::copy_n(memory.begin() + sampleFrames, beyondBlock, memory.begin());
            if (channel < numInputs)
                std::copy_n(inputs[channel], sampleFrames, memory.begin() + beyondBlock);
            else
                std::fill_n(memory.begin() + beyondBlock, sampleFrames, 0.0f);
        }
        for (const auto& [index, value] : reports)
        {
            values[index] = value;
            getEngine()->notifyParameterValueChanged(index, value, false);
        }
        sendOutgoingMessages();
    }

    void getPreset(PRT::PatcherStateInterface&) override {}
    void setPreset(PRT::MillisecondTime, PRT::PatcherStateInterface&) override {}
    PRT::DataRefIndex getNumDataRefs() override { return 0; }
    PRT::DataRef* getDataRef(PRT::DataRefIndex) override { return nullptr; }
    PRT::Index getNumExtraSignalInputs() override { return 0; }
    PRT::Index getNumExtraSignalOutputs() override { return 0; }
    const char* resolveTag(PRT::MessageTag tag) override
    {
        for (const char* text : knownTags)
            if (messageTag(text) == tag)
                return text;
        return "";
    }
    PRT::Index getNumMessages() override { return 0; }
    PRT::Index getBlockSize() override { return blockSize; }
    float getSampleRate() override { return sampleRate; }
    void sendParameter(PRT::ParameterIndex, bool) override {}

    void processMidiEvent(PRT::MillisecondTime, int32_t, const uint8_t*, int32_t) override {}
    void processClockEvent(PRT::MillisecondTime, PRT::ClockId, bool, PRT::ParameterValue) override {}
    void processOutletEvent(PRT::EngineLink*, PRT::OutletIndex, PRT::ParameterValue, PRT::MillisecondTime) override {}
    void processOutletValueNow(PRT::EngineLink*, PRT::OutletIndex, PRT::ParameterValue) override {}
    void processDataViewUpdate(PRT::DataRefIndex, PRT::MillisecondTime) override {}
    void processNumMessage(PRT::MessageTag, PRT::MessageTag, PRT::MillisecondTime, float) override {}
    void processListMessage(PRT::MessageTag, PRT::MessageTag, PRT::MillisecondTime, const PRT::list&) override {}
    void processBangMessage(PRT::MessageTag, PRT::MessageTag, PRT::MillisecondTime) override {}
    void processTempoEvent(PRT::MillisecondTime, float) override {}
    void processTransportEvent(PRT::MillisecondTime, int32_t) override {}
    void processBeatTimeEvent(PRT::MillisecondTime, float) override {}
    void processTimeSignatureEvent(PRT::MillisecondTime, int32_t, int32_t) override {}
    void processBBUEvent(PRT::MillisecondTime, float, float, float) override {}

    int processedBlocks = 0;

private:
    void sendOutgoingMessages()
    {
        auto* engine = getEngine();
        for (const auto& message : outgoing)
        {
            const auto tag = messageTag(message.tag);
            if (message.kind == PRT::MessageEvent::List)
            {
                PRT::list values;
                for (float value : message.values)
                    values.push(value);
                engine->sendListMessage(tag, 0, values, 0);
            }
            else if (message.kind == PRT::MessageEvent::Number)
                engine->sendNumMessage(tag, 0, message.values.empty() ? 0.0f : message.values.front(), 0);
            else
                engine->sendBangMessage(tag, 0, 0);
        }
        outgoing.clear();
    }

    std::vector<std::string> ids;
    std::vector<float> values;
    std::vector<std::pair<PRT::ParameterIndex, float>> receivedValues;
    std::map<PRT::ParameterIndex, float> reports;
    std::vector<Message> outgoing;
    static constexpr int beyondBlock = PRT::patchSamplesLateBeyondBlock;
    std::vector<float> held[2]; // the samples still to come out
    float sampleRate = 0.0f;
    PRT::Index blockSize = 0;
};
