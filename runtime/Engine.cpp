#include "runtime/Engine.h"

#include "runtime/EventHandler.h"
#include "runtime/NullPatcher.h"
#include "runtime/ParameterInterfaceAsync.h"
#include "runtime/ParameterInterfaceAsyncImpl.h"
#include "runtime/PatcherInterface.h"

#include <algorithm>
#include <thread>
#include <utility>

namespace PRT
{
namespace
{
void writeSilence(SampleValue* const* outputs, Index numOutputs, Index sampleFrames)
{
    for (Index channel = 0; channel < numOutputs; ++channel)
        if (outputs[channel] != nullptr)
            std::fill(outputs[channel], outputs[channel] + sampleFrames, SampleValue(0));
}
} // namespace

Engine::Entry::Entry(Engine& owner) : engine(owner)
{
    // Both sides write their own flag before reading the other's (sequentially consistent), so a
    // swap and an entered operation never both go ahead.
    if (engine.swapLock.load() != 0)
        return;
    engine.inUse.exchange(1);
    if (engine.swapLock.load() != 0)
    {
        engine.inUse.exchange(0);
        return;
    }
    entered = true;
}

Engine::Entry::~Entry()
{
    if (entered)
        engine.inUse.exchange(0);
}

Engine::~Engine()
{
    for (const auto& implementation : ownedImplementations)
        implementation->deactivate();
    // Synchronous interfaces registered themselves; they must not reach back either.
    for (ParameterEventInterfaceImpl* parameterInterface : interfaces)
        parameterInterface->deactivate();
    interfaces.clear();
}

bool Engine::prepareToProcess(float sampleRate, Index maxBlockSize, bool force)
{
    if (swapLock.load() != 0)
        return false;
    return EngineCore::prepareToProcess(sampleRate, maxBlockSize, force);
}

bool Engine::setPatcher(PatcherPtr newPatcher)
{
    const bool patcherGiven = newPatcher != nullptr;
    if (!patcherGiven)
        newPatcher.reset(new NullPatcher());

    const auto start = std::chrono::steady_clock::now();
    swapLock.exchange(1);
    while (inUse.load() != 0)
    {
        if (std::chrono::steady_clock::now() - start > swapTimeout)
        {
            swapLock.exchange(0);
            newPatcher.reset();
            return false;
        }
        std::this_thread::yield();
    }

    // From here the engine is ours; whatever happens, set-aside events must not outlive the swap.
    struct Release
    {
        Engine& engine;
        ~Release()
        {
            engine.dueList.clear();
            engine.swapLock.exchange(0);
        }
    } release{*this};

    applyServiceNotifications();

    PatcherState handedOver;
    patcher->extractState(handedOver);
    const float sampleRate = patcher->getSampleRate();
    const Index blockSize = patcher->getBlockSize();

    setAsideTargetedEvents();

    patcher = std::move(newPatcher);
    patcher->setEngineAndParent(this, nullptr);

    schedule(StartupEvent{currentTime, StartupEvent::Begin});
    patcher->initializeWithState(handedOver);
    schedule(StartupEvent{currentTime, StartupEvent::End});

    dataRefs.rebuild(*patcher);
    dueList.clear();

    for (ParameterEventInterfaceImpl* parameterInterface : interfaces)
        parameterInterface->refreshParameterValues();

    if (sampleRate > 0 || blockSize > 0)
    {
        if (sampleRate > 0)
            millisecondsPerSample = 1000.0 / sampleRate;
        patcher->prepareToProcess(sampleRate, blockSize, false);
    }
    return patcherGiven;
}

void Engine::setAsideTargetedEvents()
{
    for (size_t i = 0; i < scheduledEvents.size();)
    {
        if (scheduledEvents[i].getEventTarget() != nullptr)
        {
            dueList.insert(std::move(scheduledEvents[i]));
            scheduledEvents.erase(i);
        }
        else
        {
            ++i;
        }
    }
}

void Engine::retargetEvents(EventTarget* oldTarget, EventTarget* newTarget)
{
    claimSetAsideEvents(oldTarget, newTarget);
}

void Engine::rescheduleTargetEvents(EventTarget* target)
{
    claimSetAsideEvents(target, target);
}

void Engine::claimSetAsideEvents(EventTarget* target, EventTarget* newTarget)
{
    for (size_t i = 0; i < dueList.size(); ++i)
    {
        EventVariant& event = dueList[i];
        if (event.getEventTarget() != target)
            continue;
        event.setEventTarget(newTarget);
        scheduledEvents.insert(EventVariant(event));
    }
}

std::unique_ptr<ParameterEventInterface> Engine::createParameterInterface(int32_t type, EventHandler* handler)
{
    if (type != ParameterInterfaceAsyncSingleProducer && type != ParameterInterfaceAsyncMultiProducer)
        return EngineCore::createParameterInterface(type, handler);

    auto implementation =
        makeAsyncParameterImplementation(*this, handler, type == ParameterInterfaceAsyncMultiProducer);
    auto front = std::make_unique<ParameterInterfaceAsync>(implementation);
    if (handler != nullptr)
        handler->linkInterface(front.get());

    {
        // Implementations the audio thread has let go of (deactivated after removal) can go now.
        std::lock_guard<std::mutex> lock(registryLock);
        ownedImplementations.erase(std::remove_if(ownedImplementations.begin(), ownedImplementations.end(),
                                                  [](const auto& owned) { return !owned->isActive(); }),
                                   ownedImplementations.end());
        ownedImplementations.push_back(implementation);
    }
    postServiceNotification({ServiceNotification::AddInterface, implementation.get()});
    return front;
}

void Engine::postServiceNotification(const ServiceNotification& notification)
{
    std::lock_guard<std::mutex> lock(notificationLock);
    serviceQueue.enqueue(notification);
}

void Engine::postExternalDataEvent(const ExternalDataEvent& event)
{
    std::lock_guard<std::mutex> lock(notificationLock);
    externalDataQueue.enqueue(event);
}

void Engine::applyServiceNotifications()
{
    ServiceNotification notification;
    while (serviceQueue.tryDequeue(notification))
    {
        if (notification.kind == ServiceNotification::AddInterface)
        {
            registerInterface(notification.interface);
        }
        else if (notification.kind == ServiceNotification::RemoveInterface)
        {
            unregisterInterface(notification.interface);
            notification.interface->deactivate();
        }
    }
}

void Engine::process(const SampleValue* const* inputs, Index numInputs, SampleValue* const* outputs,
                     Index numOutputs, Index sampleFrames, const MidiEventList* midiInput, MidiEventList* midiOutput)
{
    const Entry entry(*this);
    if (!entry)
    {
        // Whatever the buffers hold is not this block's audio.
        writeSilence(outputs, numOutputs, sampleFrames);
        return;
    }
    applyServiceNotifications();
    EngineCore::process(inputs, numInputs, outputs, numOutputs, sampleFrames, midiInput, midiOutput);
}

void Engine::setPreset(std::unique_ptr<PatcherStateInterface> state)
{
    const Entry entry(*this);
    if (entry)
        EngineCore::setPreset(std::move(state));
}

std::shared_ptr<PatcherState> Engine::getPreset()
{
    const Entry entry(*this);
    if (!entry)
        return std::make_shared<DummyPreset>();
    return EngineCore::getPreset();
}

void Engine::beginProcessDataRefs()
{
    if (externalDataHandler != nullptr && !dataRefs.getList().empty())
        externalDataHandler->blockBegins(dataRefs.getList(), dataRefAccess);

    ExternalDataEvent event;
    while (externalDataQueue.tryDequeue(event))
        applyExternalDataEvent(event);
}

void Engine::applyExternalDataEvent(ExternalDataEvent& event)
{
    ExternalDataRef* entry = event.name != nullptr ? dataRefs.find(*event.name) : nullptr;
    if (entry == nullptr)
        return;
    if (event.kind == ExternalDataEvent::Attach)
        ExternalDataRefTable::attach(*entry, event.data, event.sizeInBytes, event.type, std::move(event.releaseCallback));
    else if (event.kind == ExternalDataEvent::Detach)
        ExternalDataRefTable::detach(*entry);
    else
        return;
    scheduleDataViewUpdate(*entry);
}

void Engine::scheduleDataViewUpdate(const ExternalDataRef& entry)
{
    // The patcher rebuilds its view over the reference at the next delivery.
    schedule(DataRefEvent{entry.getIndex(), currentTime, DataRefEvent::DataViewUpdate, patcher->getParentLink()});
}

void Engine::DataRefAccess::attach(size_t listIndex, void* data, size_t sizeInBytes, const DataType& type)
{
    const ExternalDataRefList& list = engine.dataRefs.getList();
    if (listIndex >= list.size())
        return;
    ExternalDataRef& entry = *list[listIndex];
    const DataRef* ref = entry.getDataRef();
    // The handler manages its own memory: no release callback.
    if (ref != nullptr && ref->getDataType().kind != DataTypeUntyped && ref->getDataType().kind == type.kind)
        ExternalDataRefTable::attach(entry, data, sizeInBytes, type, {});
    else
        ExternalDataRefTable::detach(entry);
    engine.scheduleDataViewUpdate(entry);
}

void Engine::DataRefAccess::detach(size_t listIndex)
{
    const ExternalDataRefList& list = engine.dataRefs.getList();
    if (listIndex >= list.size())
        return;
    ExternalDataRefTable::detach(*list[listIndex]);
    engine.scheduleDataViewUpdate(*list[listIndex]);
}

void Engine::endProcessDataRefs()
{
    if (externalDataHandler != nullptr && !dataRefs.getList().empty())
        externalDataHandler->blockEnds(dataRefs.getList());
    dataRefs.clearTouched();
}

} // namespace PRT
