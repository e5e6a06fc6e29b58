#pragma once

#include "runtime/EngineInterface.h"
#include "runtime/EventList.h"
#include "runtime/EventSender.h"
#include "runtime/EventVariant.h"
#include "runtime/MessageListPool.h"
#include "runtime/ParameterEventInterface.h"
#include "runtime/PatcherPtr.h"
#include "runtime/PatcherState.h"
#include "runtime/ProbingInterface.h"

#include <array>
#include <memory>
#include <vector>

namespace PRT
{

class EventHandler;
class ParameterEventInterfaceImpl;
class PatcherInterface;

// The kinds of parameter interface that createParameterInterface makes.
enum ParameterInterfaceType : int32_t
{
    ParameterInterfaceAsyncSingleProducer = 0, // queued; one setting thread at a time
    ParameterInterfaceAsyncMultiProducer = 1,  // queued; any threads
    ParameterInterfaceSynchronous = 2,         // straight into the schedule, on the engine's thread
    ParameterInterfaceTriggering = 3           // synchronous, and delivered at once
};

using MidiEventList = std::vector<MidiEvent>;

// The heart of the runtime: holds the installed patcher, keeps engine time, keeps every pending event
// in one time-ordered schedule, runs one block at a time (collecting the interfaces' events,
// delivering the due ones to the patcher in time order, letting the patcher compute the block) and
// carries what the patcher reports to the registered parameter interfaces.
//
// Runs on the audio thread, or while no block is processed; it takes no locks. Event storage and the
// lists of list messages are reserved up front, so steady-state blocks do not allocate.
class EngineCore : public EngineInterface, public ParameterEventInterface, public ProbingInterface
{
public:
    EngineCore();
    ~EngineCore() override;

    EngineCore(const EngineCore&) = delete;
    EngineCore& operator=(const EngineCore&) = delete;

    // EngineInterface
    void scheduleClockEvent(EventTarget* target, ClockId clockId, MillisecondTime time) override;
    void scheduleClockEventWithValue(EventTarget* target, ClockId clockId, MillisecondTime time,
                                     ParameterValue value) override;
    void flushClockEvents(EventTarget* target, ClockId clockId, bool execute) override;
    void flushClockEventsWithValue(EventTarget* target, ClockId clockId, ParameterValue value, bool execute) override;
    void sendMidiEvent(int32_t port, uint8_t byte0, uint8_t byte1, uint8_t byte2, MillisecondTime time) override;
    void sendMidiEventList(int32_t port, const list& bytes, MillisecondTime time) override;
    void sendOutlet(EngineLink* sender, OutletIndex index, ParameterValue value, SampleOffset offset) override;
    void sendDataRefUpdated(DataRefIndex index) override;
    void sendTempoEvent(float tempo) override;
    void sendTransportEvent(int32_t state) override;
    void sendBeatTimeEvent(float beatTime) override;
    void sendTimeSignatureEvent(int32_t numerator, int32_t denominator) override;
    void sendNumMessage(MessageTag tag, MessageTag objectId, float value, MillisecondTime time) override;
    void sendListMessage(MessageTag tag, MessageTag objectId, const list& values, MillisecondTime time) override;
    void sendBangMessage(MessageTag tag, MessageTag objectId, MillisecondTime time) override;
    bool takesMessage(MessageTag tag) override;
    void notifyParameterValueChanged(ParameterIndex index, ParameterValue value, bool ignoreValue) override;
    void scheduleParameterChange(ParameterIndex index, ParameterValue value, MillisecondTime delay) override;
    void scheduleParameterBang(ParameterIndex index, MillisecondTime delay) override;
    void retargetEvents(EventTarget*, EventTarget*) override {}
    void rescheduleTargetEvents(EventTarget*) override {}
    MillisecondTime getCurrentTime() override { return currentTime; }
    void presetTouched() override;

    // A read-only view of the installed patcher's parameters.
    ParameterIndex getNumParameters() override;
    const char* getParameterName(ParameterIndex index) override;
    const char* getParameterId(ParameterIndex index) override;
    void getParameterInfo(ParameterIndex index, ParameterInfo* info) override;
    ParameterValue getParameterValue(ParameterIndex index) override;
    void setParameterValue(ParameterIndex, ParameterValue, MillisecondTime) override {}
    ParameterValue convertToNormalizedParameterValue(ParameterIndex index, ParameterValue value) override;
    ParameterValue convertFromNormalizedParameterValue(ParameterIndex index, ParameterValue normalizedValue) override;
    ParameterValue constrainParameterValue(ParameterIndex index, ParameterValue value) override;

    // ParameterEventInterface: events handed in join the schedule.
    void scheduleEvent(EventVariant event) override;
    void setScheduleCallback(ScheduleCallback callback) override { scheduleCallback = std::move(callback); }
    void drainEvents() override {}

    void* getProbe() override;

    virtual PatcherInterface* getCurrentPatcher() { return patcher.get(); }
    virtual bool prepareToProcess(float sampleRate, Index maxBlockSize, bool force);
    // Installs a patcher (the null patcher for an empty pointer): pending events addressed to objects
    // of the outgoing patcher are dropped, and the new patcher's initialisation is bracketed by two
    // start-up events, so what it schedules for now reaches the handlers unmerged.
    virtual bool setPatcher(PatcherPtr newPatcher);
    // The engine core makes only the interfaces that live on its own thread: a triggering one for
    // type 3 and a synchronous one for any other type.
    virtual std::unique_ptr<ParameterEventInterface> createParameterInterface(int32_t type, EventHandler* handler);
    // One block of sampleFrames frames: pulls the interfaces' events, delivers every event due up to
    // the block's end in time order, runs the patcher (zeroing outputs it does not write), then hands
    // reported values and notices to the interfaces and advances engine time. A patcher with a fixed
    // block size gets silence instead for any other length, and its events wait.
    virtual void process(const SampleValue* const* inputs, Index numInputs, SampleValue* const* outputs,
                         Index numOutputs, Index sampleFrames, const MidiEventList* midiInput,
                         MidiEventList* midiOutput);
    // Applies a state now; the state is destroyed afterwards.
    virtual void setPreset(std::unique_ptr<PatcherStateInterface> state);
    virtual std::shared_ptr<PatcherState> getPreset();
    virtual void beginProcessDataRefs() {}
    virtual void endProcessDataRefs() {}

    // The interfaces that exchange events with the engine, in registration order.
    void registerInterface(ParameterEventInterfaceImpl* parameterInterface);
    // Removes every registration of the interface.
    void unregisterInterface(ParameterEventInterfaceImpl* parameterInterface);

    // Delivers every scheduled event due up to until (and never before now) to the patcher.
    void dispatchEventsUntil(MillisecondTime until);

    bool isDelivering() const { return delivery != nullptr; }
    bool isApplyingPreset() const { return applyingPreset; }
    MillisecondTime getMillisecondsPerSample() const { return millisecondsPerSample; }

protected:
    // Where dispatchEventsUntil stands while it delivers.
    struct DeliveryPosition
    {
        MillisecondTime horizon;
        size_t index;                // of the event being delivered, in the due list
        const EventVariant* current; // the event being delivered
    };

    void schedule(EventVariant&& event);
    // Delivers the data-view updates due now (scheduled while the patcher prepared) at once.
    void deliverDataViewUpdates();
    void flushClocks(const ClockEventMatcher& matcher);
    void deliver(const EventVariant& event, PatcherEventSender& sender);
    void applyPreset(MillisecondTime time, PatcherStateInterface& state);
    void queueForInterfaces(const EventVariant& event);
    // Queues makeEvent() for every interface that takes the tag.
    template <typename MakeEvent>
    void queueForTakers(MessageTag tag, MakeEvent&& makeEvent);
    void emitMidi(int32_t port, const uint8_t* bytes, int32_t length, MillisecondTime time);
    MillisecondTime blockDuration(Index sampleFrames);

    PatcherPtr patcher;
    MillisecondTime currentTime = 0;
    EventList dueList;
    EventList scheduledEvents;
    bool inPatcherProcess = false;
    std::vector<ParameterEventInterfaceImpl*> interfaces;
    MillisecondTime millisecondsPerSample = 0.02267573696;
    const DeliveryPosition* delivery = nullptr;
    bool applyingPreset = false;
    MidiEventList* midiOutputList = nullptr;
    ScheduleCallback scheduleCallback;
    bool presetTouchedFlag = false;
    MessageListPool messageLists;
    // Answers of takesMessage, one slot per low bits of the tag.
    struct TakenAnswer
    {
        bool known = false;
        MessageTag tag = 0;
        bool taken = false;
    };
    std::array<TakenAnswer, 16> takenAnswers{};
};

} // namespace PRT
