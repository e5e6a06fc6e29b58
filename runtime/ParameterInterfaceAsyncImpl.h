#pragma once

#include "runtime/EventQueue.h"
#include "runtime/EngineParameterInterface.h"
#include "runtime/ShadowValue.h"

#include <atomic>
#include <memory>
#include <vector>

namespace PRT
{

class EventHandler;

using EventVariantQueue = EventQueueBase<EventVariant>;

// The implementation behind an asynchronous parameter interface. Setters keep a shadow copy of every
// value (so reads never touch the patcher) and queue time-stamped events for the engine; the engine
// pulls them at the start of each block. Values the patcher reports are merged per parameter and
// passed on at most every 15 ms of engine time, to the handler's queue or, without a handler,
// straight into the shadow values.
//
// Threads: with the multi-producer queues and atomic shadow values, setters and reads may come from
// any thread while the audio thread runs the engine side. The shadow array is rebuilt when a patcher
// is installed, which must not overlap setters or reads. Once deactivated (removed, or its engine
// destroyed) the interface never touches the engine again: setters are dropped, parameter
// descriptions read as an empty patcher, and the shadow keeps the last values.
template <typename Shadow>
class ParameterInterfaceAsyncImpl final : public EngineParameterInterface<Engine>
{
public:
    static constexpr MillisecondTime flushInterval = 15.0;

    // Starts active, with the values of the installed patcher.
    ParameterInterfaceAsyncImpl(Engine& engine, EventHandler* handler, std::unique_ptr<EventVariantQueue> toEngine,
                                std::unique_ptr<EventVariantQueue> toHandler);

    ParameterValue getParameterValue(ParameterIndex index) override;
    void setParameterValue(ParameterIndex index, ParameterValue value, MillisecondTime time) override;

    void scheduleEvent(EventVariant event) override;
    void setScheduleCallback(ScheduleCallback) override {}
    // Delivers the events queued for the handler; echoes of this interface's own changes are skipped.
    void drainEvents() override;

    void refreshParameterValues() override;
    void notifyParameterValueChanged(const ParameterEvent& cause, ParameterIndex index, ParameterValue value) override;
    void pullEvents(EventList& events, MillisecondTime now) override;
    void flushParameterNotifications(MillisecondTime now) override;
    void queueHandlerEvent(EventVariant&& event) override;
    // Without a handler the messages would be dropped.
    bool takesMessage(MessageTag tag) override;
    void notifyHandler() override;
    bool isActive() override { return active.load(); }
    bool deactivate() override { return active.exchange(false); }
    void requestRemoval() override;

private:
    // Whether a parameter event from the handler queue reaches the handler.
    bool isNewToHandler(const ParameterEvent& event);
    void storeShadow(ParameterIndex index, ParameterValue value);

    bool handlerPending = false;
    std::unique_ptr<EventVariantQueue> toEngine;
    std::unique_ptr<EventVariantQueue> toHandler;
    EventHandler* handler;
    std::atomic<bool> active{false};
    std::unique_ptr<Shadow[]> shadows;
    ParameterIndex numShadows = 0;
    std::vector<ParameterEvent> pending; // index NoParameter: nothing pending
    MillisecondTime lastFlushTime = -1.0;
    const ParameterInterface* lastSource = this;
    ParameterIndex lastIndex = NoParameter;
};

// The implementation behind a new asynchronous interface: multi-producer queues and atomic shadow
// values, or single-producer queues, whose shadow values are plain when a handler reads them on its
// own thread.
std::shared_ptr<ParameterEventInterfaceImpl> makeAsyncParameterImplementation(Engine& engine, EventHandler* handler,
                                                                              bool multiProducer);

} // namespace PRT
