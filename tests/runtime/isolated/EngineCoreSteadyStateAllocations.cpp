// Steady-state blocks of the engine must not touch the heap on the audio thread: this binary counts
// every operator new and platform allocation made while blocks run after the first one.
#include "runtime/Engine.h"
#include "runtime/EngineCore.h"
#include "runtime/EventHandler.h"
#include "runtime/NullPatcher.h"

#include "tests/common/AllocationCounter.h"
#include "tests/runtime/CountingPlatform.h"
#include "tests/runtime/ListSendingPatcher.h"
#include "tests/runtime/RecordingInterface.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace PRT;

namespace
{
// Reschedules a clock every block, takes parameter events and reports them back, sends a message.
class BusyPatcher : public NullPatcher
{
public:
    void prepareToProcess(float rate, Index maxBlockSize, bool force) override
    {
        NullPatcher::prepareToProcess(rate, maxBlockSize, force);
        getEngine()->scheduleClockEvent(this, 1, getEngine()->getCurrentTime());
    }
    void processClockEvent(MillisecondTime time, ClockId id, bool, ParameterValue) override
    {
        getEngine()->scheduleClockEventWithValue(this, id, time + 1.0, 0.5f);
        getEngine()->sendNumMessage(1, 2, 0.5f, time);
    }
    void processParameterEvent(ParameterIndex index, ParameterValue value, MillisecondTime) override
    {
        getEngine()->notifyParameterValueChanged(index, value, false);
    }
};

// Hands the engine two parameter events per block and counts what comes back: a recording interface
// that keeps nothing, since keeping would allocate.
class SteadyInterface : public test::RecordingInterface
{
public:
    void notifyParameterValueChanged(const ParameterEvent&, ParameterIndex, ParameterValue) override { ++notified; }
    void pullEvents(EventList& events, MillisecondTime now) override
    {
        events.insert(ParameterEvent{0, now + 0.5, 0.25f, this, nullptr});
        events.insert(ParameterEvent{1, now - 3, 0.75f, this, nullptr});
    }
    void flushParameterNotifications(MillisecondTime) override {}
    void queueHandlerEvent(EventVariant&&) override { ++queued; }

    long notified = 0;
    long queued = 0;
};

// BusyPatcher with four parameters whose every change it reports back.
class BusyParameterPatcher : public BusyPatcher
{
public:
    ParameterIndex getNumParameters() override { return 4; }
    ParameterValue getParameterValue(ParameterIndex index) override { return index < 4 ? values[index] : 0; }
    void processParameterEvent(ParameterIndex index, ParameterValue value, MillisecondTime) override
    {
        if (index < 4)
            values[index] = value;
        getEngine()->notifyParameterValueChanged(index, value, false);
    }

    ParameterValue values[4] = {0, 0, 0, 0};
};

// Drains at once, like the plug-in's handlers, and counts what arrives.
class DrainingHandler : public EventHandler
{
public:
    void eventsAvailable() override { getLinkedInterface()->drainEvents(); }
    void handleParameterEvent(const ParameterEvent&) override { ++parameters; }
    void handleMessageEvent(const MessageEvent&) override { ++messages; }

    long parameters = 0;
    long messages = 0;
};
} // namespace

TEST(EngineCoreAllocations, SteadyStateBlocksDoNotAllocate)
{
    test::CountingPlatform platform;
    EngineCore engine;
    SteadyInterface steady;
    engine.registerInterface(&steady);
    engine.setPatcher(PatcherPtr(new BusyPatcher()));
    engine.prepareToProcess(48000, 64, false);

    std::vector<SampleValue> left(64), right(64), extra(64);
    SampleValue* outputs[] = {left.data(), right.data(), extra.data()};
    engine.process(nullptr, 0, outputs, 3, 64, nullptr, nullptr); // first block

    const long platformAllocations = platform.allocations;
    const long heapCalls = test::heapCallsDuring([&] {
        for (int block = 0; block < 2000; ++block)
            engine.process(nullptr, 0, outputs, 3, 64, nullptr, nullptr);
    });

    EXPECT_EQ(heapCalls, 0);
    EXPECT_EQ(platform.allocations, platformAllocations);
    EXPECT_GT(steady.notified, 3000); // the work really happened
    EXPECT_GT(steady.queued, 1000);
}

TEST(EngineAllocations, SteadyStateBlocksWithParameterInterfacesDoNotAllocate)
{
    test::CountingPlatform platform;
    Engine engine;
    engine.setPatcher(PatcherPtr(new BusyParameterPatcher()));
    engine.prepareToProcess(48000, 64, false);
    const auto own = engine.createParameterInterface(ParameterInterfaceAsyncMultiProducer, nullptr);
    DrainingHandler handler;
    const auto watched = engine.createParameterInterface(ParameterInterfaceAsyncMultiProducer, &handler);

    std::vector<SampleValue> left(64), right(64);
    SampleValue* outputs[] = {left.data(), right.data()};
    // Values are set between blocks and, as the processor does with the host tempo, inside them.
    auto block = [&](int n) {
        own->setParameterValue(static_cast<ParameterIndex>(n % 4), static_cast<ParameterValue>(n % 10), 0);
        own->setParameterValue(static_cast<ParameterIndex>((n + 1) % 4), static_cast<ParameterValue>(n % 7), 0);
        watched->setParameterValue(static_cast<ParameterIndex>((n + 2) % 4), static_cast<ParameterValue>(n % 5), 0);
        engine.process(nullptr, 0, outputs, 2, 64, nullptr, nullptr);
    };
    block(0); // first block: registers the interfaces

    const long platformAllocations = platform.allocations;
    const long heapCalls = test::heapCallsDuring([&] {
        for (int n = 1; n <= 2000; ++n)
            block(n);
    });

    EXPECT_EQ(heapCalls, 0);
    EXPECT_EQ(platform.allocations, platformAllocations);
    EXPECT_GT(handler.parameters, 400); // the work really happened
    EXPECT_GT(handler.messages, 1000);
}

namespace
{
// The plug-in's arrangement: the core object's interface without a handler beside interfaces whose
// handlers drain at the end of each engine call; blocks of 256 frames, each sending several lists.
void expectListMessagesAllocateNothing(size_t handlerInterfaces)
{
    test::CountingPlatform platform;
    Engine engine;
    auto* patcher = new test::ListSendingPatcher();
    engine.setPatcher(PatcherPtr(patcher));
    engine.prepareToProcess(48000, 256, false);
    const auto own = engine.createParameterInterface(ParameterInterfaceAsyncMultiProducer, nullptr);
    std::vector<test::ListCheckingHandler> handlers(handlerInterfaces);
    std::vector<std::unique_ptr<ParameterEventInterface>> watched;
    for (test::ListCheckingHandler& handler : handlers)
        watched.push_back(engine.createParameterInterface(ParameterInterfaceAsyncMultiProducer, &handler));

    std::vector<SampleValue> left(256), right(256);
    SampleValue* outputs[] = {left.data(), right.data()};
    engine.process(nullptr, 0, outputs, 2, 256, nullptr, nullptr); // first block: registers the interfaces

    const long platformAllocations = platform.allocations;
    const long heapCalls = test::heapCallsDuring([&] {
        for (int block = 0; block < 2000; ++block)
            engine.process(nullptr, 0, outputs, 2, 256, nullptr, nullptr);
    });

    EXPECT_EQ(heapCalls, 0);
    EXPECT_EQ(platform.allocations, platformAllocations);
    EXPECT_EQ(patcher->sent, 2001 * static_cast<long>(test::ListSendingPatcher::listsPerBlock));
    for (const test::ListCheckingHandler& handler : handlers)
    {
        EXPECT_EQ(handler.received, patcher->sent); // every list reached every handler ...
        EXPECT_EQ(handler.faults, 0);               // ... whole and in order
    }
}
} // namespace

TEST(EngineAllocations, ListMessagesToOneHandlerDoNotAllocate)
{
    expectListMessagesAllocateNothing(1);
}

TEST(EngineAllocations, ListMessagesToTwoHandlersDoNotAllocate)
{
    expectListMessagesAllocateNothing(2);
}
