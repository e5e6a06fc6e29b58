#pragma once

#include "runtime/EngineCore.h"
#include "runtime/EventQueue.h"
#include "runtime/ExternalDataEvent.h"
#include "runtime/ExternalDataHandler.h"
#include "runtime/ExternalDataRefTable.h"
#include "runtime/ServiceNotification.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace PRT
{

// The engine the runtime creates: the engine core plus what needs care across threads. A patcher can
// be installed while another thread processes; parameter interfaces are created here and reach the
// audio thread through a service queue; named data references are published by name.
//
// Swap protocol: setPatcher raises swapLock and waits (spinning) until no entered operation runs;
// process, getPreset and setPreset enter only while swapLock is clear and mark inUse while they run.
// An operation that meets a swap is skipped, not delayed: process then writes silence. A swap that
// waits longer than the swap timeout (10 s) gives up and destroys the offered patcher; the old one
// stays. One swap at a time; process, getPreset and setPreset belong to one thread.
class Engine : public EngineCore
{
public:
    static constexpr std::chrono::nanoseconds defaultSwapTimeout = std::chrono::seconds(10);

    Engine() = default;
    // Deactivates every interface it created, so that handles held elsewhere stop using it.
    ~Engine() override;

    // Refused (false) while a swap holds the engine.
    bool prepareToProcess(float sampleRate, Index maxBlockSize, bool force) override;
    // Installs the patcher (the null patcher for an empty pointer; the result is then false), hands
    // the outgoing patcher's state over, keeps pending parameter and host events and drops those
    // addressed to the outgoing patcher's objects, re-publishes the data references, refreshes the
    // interfaces and prepares the new patcher like the old one. False and nothing changed when the
    // swap timed out.
    bool setPatcher(PatcherPtr newPatcher) override;
    // Types 0 and 1: an asynchronous interface, registered at the next block; the engine keeps the
    // implementation alive while the returned handle or the engine needs it. Types 2 and 3: as the
    // engine core makes them.
    std::unique_ptr<ParameterEventInterface> createParameterInterface(int32_t type, EventHandler* handler) override;
    void process(const SampleValue* const* inputs, Index numInputs, SampleValue* const* outputs, Index numOutputs,
                 Index sampleFrames, const MidiEventList* midiInput, MidiEventList* midiOutput) override;
    // During a swap: the state is destroyed unapplied.
    void setPreset(std::unique_ptr<PatcherStateInterface> state) override;
    // During a swap: an empty DummyPreset.
    std::shared_ptr<PatcherState> getPreset() override;
    void beginProcessDataRefs() override;
    void endProcessDataRefs() override;
    // During a swap the incoming patcher may claim events set aside for the outgoing one's objects.
    void retargetEvents(EventTarget* oldTarget, EventTarget* newTarget) override;
    void rescheduleTargetEvents(EventTarget* target) override;

    // Registration and removal of interfaces, for the audio thread; from any thread.
    void postServiceNotification(const ServiceNotification& notification);
    // Attach or detach named memory at the next block; from any thread.
    void postExternalDataEvent(const ExternalDataEvent& event);
    // Installed while nothing processes; not owned.
    void setExternalDataHandler(ExternalDataHandler* handler) { externalDataHandler = handler; }

    void setSwapTimeout(std::chrono::nanoseconds timeout) { swapTimeout = timeout; }

protected:
    // Enters the engine for process, getPreset or setPreset unless a swap holds it.
    class Entry
    {
    public:
        explicit Entry(Engine& engine);
        ~Entry();
        Entry(const Entry&) = delete;
        Entry& operator=(const Entry&) = delete;
        explicit operator bool() const { return entered; }

    private:
        Engine& engine;
        bool entered = false;
    };

    // The external data handler's way to the data references while a block begins.
    class DataRefAccess final : public ExternalDataAccess
    {
    public:
        explicit DataRefAccess(Engine& owner) : engine(owner) {}
        void attach(size_t listIndex, void* data, size_t sizeInBytes, const DataType& type) override;
        void detach(size_t listIndex) override;

    private:
        Engine& engine;
    };

    void applyServiceNotifications();
    // Moves the scheduled events addressed to patcher objects into the due list, for the incoming
    // patcher to claim.
    void setAsideTargetedEvents();
    void claimSetAsideEvents(EventTarget* target, EventTarget* newTarget);
    void applyExternalDataEvent(ExternalDataEvent& event);
    void scheduleDataViewUpdate(const ExternalDataRef& entry);

    std::mutex registryLock;
    std::vector<std::shared_ptr<ParameterEventInterfaceImpl>> ownedImplementations;
    ExternalDataRefTable dataRefs;
    SingleProducerEventQueue<ExternalDataEvent> externalDataQueue;
    ExternalDataHandler* externalDataHandler = nullptr;
    DataRefAccess dataRefAccess{*this};
    // Serialises the producers of both single-producer queues above and below.
    std::mutex notificationLock;
    SingleProducerEventQueue<ServiceNotification> serviceQueue;
    std::atomic<uint8_t> swapLock{0};
    std::atomic<uint8_t> inUse{0};
    std::chrono::nanoseconds swapTimeout = defaultSwapTimeout;
};

} // namespace PRT
