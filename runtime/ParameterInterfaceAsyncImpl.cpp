#include "runtime/ParameterInterfaceAsyncImpl.h"

#include "runtime/Engine.h"
#include "runtime/EventHandler.h"

#include <utility>

namespace PRT
{

template <typename Shadow>
ParameterInterfaceAsyncImpl<Shadow>::ParameterInterfaceAsyncImpl(Engine& owner, EventHandler* eventHandler,
                                                                 std::unique_ptr<EventVariantQueue> engineQueue,
                                                                 std::unique_ptr<EventVariantQueue> handlerQueue)
    : EngineParameterInterface<Engine>(owner),
      toEngine(std::move(engineQueue)),
      toHandler(std::move(handlerQueue)),
      handler(eventHandler)
{
    active = true;
    refreshParameterValues();
}

template <typename Shadow>
ParameterValue ParameterInterfaceAsyncImpl<Shadow>::getParameterValue(ParameterIndex index)
{
    return index < numShadows ? shadows[index].load() : 0;
}

template <typename Shadow>
void ParameterInterfaceAsyncImpl<Shadow>::setParameterValue(ParameterIndex index, ParameterValue value,
                                                            MillisecondTime time)
{
    if (!isActive())
        return;
    const ParameterValue constrained = constrainParameterValue(index, value);
    storeShadow(index, constrained);
    toEngine->enqueue(ParameterEvent{index, time, constrained, this, nullptr});
}

template <typename Shadow>
void ParameterInterfaceAsyncImpl<Shadow>::scheduleEvent(EventVariant event)
{
    if (!isActive())
        return;
    if (const ParameterEvent* parameter = event.get<ParameterEvent>())
        storeShadow(parameter->index, parameter->value);
    toEngine->enqueue(event);
}

template <typename Shadow>
void ParameterInterfaceAsyncImpl<Shadow>::drainEvents()
{
    EventVariant event;
    while (toHandler->tryDequeue(event))
    {
        if (handler == nullptr)
            continue;
        if (const ParameterEvent* parameter = event.get<ParameterEvent>())
        {
            if (!isNewToHandler(*parameter))
                continue;
            storeShadow(parameter->index, parameter->value);
        }
        deliverToHandler(*handler, event);
    }
}

template <typename Shadow>
bool ParameterInterfaceAsyncImpl<Shadow>::isNewToHandler(const ParameterEvent& event)
{
    // The engine echoing a change this interface made: the handler knows the value already, and of
    // two echoes in a row for one parameter only the first can be news.
    bool isNew = true;
    if (event.source == this)
    {
        if (event.index < numShadows && event.value == shadows[event.index].load())
            isNew = false;
        else if (lastSource == this && lastIndex == event.index)
            isNew = false;
    }
    lastSource = event.source;
    lastIndex = event.index;
    return isNew;
}

template <typename Shadow>
void ParameterInterfaceAsyncImpl<Shadow>::refreshParameterValues()
{
    if (!isActive())
        return;
    const ParameterIndex count = engine->getNumParameters();
    auto fresh = std::make_unique<Shadow[]>(count);
    for (ParameterIndex index = 0; index < count; ++index)
        fresh[index].store(engine->getParameterValue(index));
    shadows = std::move(fresh);
    numShadows = count;
    pending.assign(count, ParameterEvent{});
    lastFlushTime = -1.0;
}

template <typename Shadow>
void ParameterInterfaceAsyncImpl<Shadow>::notifyParameterValueChanged(const ParameterEvent& cause,
                                                                      ParameterIndex index, ParameterValue value)
{
    if (index < pending.size())
        pending[index] = ParameterEvent{index, cause.time, value, cause.source, nullptr};
}

template <typename Shadow>
void ParameterInterfaceAsyncImpl<Shadow>::pullEvents(EventList& events, MillisecondTime now)
{
    EventVariant event;
    while (toEngine->tryDequeue(event))
    {
        if (now > event.getTime())
            event.setTime(now);
        events.insert(std::move(event));
    }
}

template <typename Shadow>
void ParameterInterfaceAsyncImpl<Shadow>::flushParameterNotifications(MillisecondTime now)
{
    if (lastFlushTime >= 0 && now < lastFlushTime + flushInterval)
        return;
    for (ParameterEvent& entry : pending)
    {
        if (entry.index == NoParameter)
            continue;
        queueHandlerEvent(EventVariant(entry));
        entry.index = NoParameter;
    }
    lastFlushTime = now;
}

template <typename Shadow>
void ParameterInterfaceAsyncImpl<Shadow>::queueHandlerEvent(EventVariant&& event)
{
    if (handler != nullptr)
    {
        toHandler->enqueue(event);
        handlerPending = true;
    }
    else if (const ParameterEvent* parameter = event.get<ParameterEvent>())
    {
        storeShadow(parameter->index, parameter->value);
    }
}

template <typename Shadow>
bool ParameterInterfaceAsyncImpl<Shadow>::takesMessage(MessageTag tag)
{
    return handler != nullptr && handler->takesMessage(tag);
}

template <typename Shadow>
void ParameterInterfaceAsyncImpl<Shadow>::notifyHandler()
{
    if (handlerPending && handler != nullptr)
        handler->eventsAvailable();
    handlerPending = false;
}

template <typename Shadow>
void ParameterInterfaceAsyncImpl<Shadow>::requestRemoval()
{
    if (isActive())
        engine->postServiceNotification({ServiceNotification::RemoveInterface, this});
}

template <typename Shadow>
void ParameterInterfaceAsyncImpl<Shadow>::storeShadow(ParameterIndex index, ParameterValue value)
{
    if (index < numShadows)
        shadows[index].store(value);
}

template class ParameterInterfaceAsyncImpl<ShadowValue>;
template class ParameterInterfaceAsyncImpl<AtomicShadowValue>;

std::shared_ptr<ParameterEventInterfaceImpl> makeAsyncParameterImplementation(Engine& engine, EventHandler* handler,
                                                                              bool multiProducer)
{
    // Only the engine's thread sends to the handler.
    if (multiProducer)
        return std::make_shared<ParameterInterfaceAsyncImpl<AtomicShadowValue>>(
            engine, handler, std::make_unique<MultiProducerEventQueue<EventVariant>>(),
            std::make_unique<SequentialProducerEventQueue<EventVariant>>());

    auto toEngine = std::make_unique<SingleProducerEventQueue<EventVariant>>();
    auto toHandler = std::make_unique<SingleProducerEventQueue<EventVariant>>();
    if (handler != nullptr)
        return std::make_shared<ParameterInterfaceAsyncImpl<ShadowValue>>(engine, handler, std::move(toEngine),
                                                                          std::move(toHandler));
    return std::make_shared<ParameterInterfaceAsyncImpl<AtomicShadowValue>>(engine, handler, std::move(toEngine),
                                                                            std::move(toHandler));
}

} // namespace PRT
