#pragma once

#include "runtime/EngineCore.h"
#include "runtime/PatcherPtr.h"

#include "tests/runtime/RecordingInterface.h"

#include <string>
#include <vector>

namespace PRT::test
{

// A message the patch sent through the engine.
struct SentMessage
{
    MessageTag tag = 0;
    MessageTag objectId = 0;
    int32_t kind = MessageEvent::Bang;
    float number = 0;
    std::vector<float> values;
    MillisecondTime time = 0;
};

// The real engine core running a generated patcher, with a registered interface that collects what
// the patch sends. Blocks are stereo, their input a constant.
class PatchEngine
{
public:
    PatchEngine() { engine.registerInterface(&interface); }
    ~PatchEngine() { engine.unregisterInterface(&interface); }

    template <typename Patcher>
    Patcher& install(Patcher* patcher)
    {
        engine.setPatcher(PatcherPtr(patcher));
        return *patcher;
    }

    void prepare(float sampleRate, Index blockSize)
    {
        engine.prepareToProcess(sampleRate, blockSize, false);
        left.assign(blockSize, 0.0f);
        right.assign(blockSize, 0.0f);
        outLeft.assign(blockSize, 0.0f);
        outRight.assign(blockSize, 0.0f);
    }

    void processBlocks(int count, float input = 0.0f)
    {
        std::fill(left.begin(), left.end(), input);
        std::fill(right.begin(), right.end(), input);
        const SampleValue* inputs[] = {left.data(), right.data()};
        SampleValue* outputs[] = {outLeft.data(), outRight.data()};
        for (int i = 0; i < count; ++i)
            engine.process(inputs, 2, outputs, 2, static_cast<Index>(left.size()), nullptr, nullptr);
    }

    void sendNumber(MessageTag tag, MessageTag objectId, float value, MillisecondTime time)
    {
        engine.scheduleEvent(MessageEvent(tag, objectId, time, MessageEvent::Number, value, nullptr, nullptr));
    }
    void sendList(MessageTag tag, MessageTag objectId, std::vector<float> values, MillisecondTime time)
    {
        auto payload = std::make_shared<list>();
        for (float value : values)
            payload->push(value);
        engine.scheduleEvent(MessageEvent(tag, objectId, time, MessageEvent::List, 0, payload, nullptr));
    }
    void sendBang(MessageTag tag, MessageTag objectId, MillisecondTime time)
    {
        engine.scheduleEvent(MessageEvent(tag, objectId, time, MessageEvent::Bang, 0, nullptr, nullptr));
    }

    // The messages sent since the last call.
    std::vector<SentMessage> takeSent()
    {
        std::vector<SentMessage> sent;
        for (const EventVariant& event : interface.handlerEvents)
        {
            const MessageEvent* message = event.get<MessageEvent>();
            if (message == nullptr)
                continue;
            SentMessage m{message->tag, message->objectId, message->kind, message->number, {}, message->time};
            if (message->payload != nullptr)
                m.values.assign(message->payload->data(), message->payload->data() + message->payload->size());
            sent.push_back(m);
        }
        interface.handlerEvents.clear();
        return sent;
    }

    // The data-view updates the engine scheduled are delivered with the next block.
    EngineCore engine;
    RecordingInterface interface;
    std::vector<float> left, right, outLeft, outRight;
};

} // namespace PRT::test
