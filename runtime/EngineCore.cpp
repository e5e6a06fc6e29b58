#include "runtime/EngineCore.h"

#include "runtime/NullPatcher.h"
#include "runtime/ParameterEventInterfaceImpl.h"
#include "runtime/ParameterInterfaceTrigger.h"

#include <algorithm>
#include <cmath>

namespace PRT
{
namespace
{
constexpr size_t reservedEvents = 256;
constexpr size_t reservedInterfaces = 4;

// Lists of list messages, held from the send until the handlers let go of them, normally at the end of
// the same engine call. The busiest call of the patch, every scope and signal monitor reporting at once
// beside an analyser band list and its marker, sends about 75 lists of at most 256 values; 128 slots
// carry that for the plug-in's handler with room to spare. An interface without a handler drops its
// list, and so returns the slot, at once.
constexpr size_t messageListSlots = 128;
constexpr size_t messageListLength = 256;

// Length of a MIDI message from its status byte.
int32_t midiMessageLength(uint8_t status)
{
    const uint8_t kind = status & 0xF0;
    if (kind == 0xC0 || kind == 0xD0 || status == 0xF1 || status == 0xF3)
        return 2;
    if (status == 0xF6 || status >= 0xF8)
        return 1;
    return 3;
}

// A list value as a MIDI byte: truncated toward zero, low 8 bits.
uint8_t midiByte(float value)
{
    if (!std::isfinite(value) || std::fabs(value) >= 9.2e18f)
        return 0;
    return static_cast<uint8_t>(static_cast<int64_t>(value) & 0xFF);
}

void clearChannels(SampleValue* const* outputs, Index from, Index to, Index sampleFrames)
{
    for (Index channel = from; channel < to; ++channel)
        if (outputs[channel] != nullptr)
            std::fill(outputs[channel], outputs[channel] + sampleFrames, SampleValue(0));
}
} // namespace

EngineCore::EngineCore() : patcher(new NullPatcher()), messageLists(messageListSlots, messageListLength)
{
    dueList.reserve(reservedEvents);
    scheduledEvents.reserve(reservedEvents);
    interfaces.reserve(reservedInterfaces);
}

EngineCore::~EngineCore() = default;

void EngineCore::scheduleClockEvent(EventTarget* target, ClockId clockId, MillisecondTime time)
{
    schedule(ClockEvent{clockId, time, 0, false, target});
    if (scheduleCallback)
        scheduleCallback(time);
}

void EngineCore::scheduleClockEventWithValue(EventTarget* target, ClockId clockId, MillisecondTime time,
                                             ParameterValue value)
{
    schedule(ClockEvent{clockId, time, value, true, target});
    if (scheduleCallback)
        scheduleCallback(time);
}

void EngineCore::flushClockEvents(EventTarget* target, ClockId clockId, bool execute)
{
    PatcherEventSender sender(patcher.get(), currentTime);
    flushClocks(ClockEventMatcher(execute, sender, target, clockId));
}

void EngineCore::flushClockEventsWithValue(EventTarget* target, ClockId clockId, ParameterValue value, bool execute)
{
    PatcherEventSender sender(patcher.get(), currentTime);
    flushClocks(ClockEventMatcher(execute, sender, target, clockId, value));
}

void EngineCore::flushClocks(const ClockEventMatcher& matcher)
{
    // Matches are delivered one at a time; a delivered clock may schedule or flush further events.
    if (delivery != nullptr)
    {
        for (size_t i = delivery->index + 1; i < dueList.size();)
        {
            if (matcher(dueList[i]))
                dueList.erase(i);
            else
                ++i;
        }
    }
    for (size_t i = 0; i < scheduledEvents.size();)
    {
        if (matcher(scheduledEvents[i]))
            scheduledEvents.erase(i);
        else
            ++i;
    }
}

void EngineCore::sendMidiEvent(int32_t port, uint8_t byte0, uint8_t byte1, uint8_t byte2, MillisecondTime time)
{
    const uint8_t bytes[3] = {byte0, byte1, byte2};
    emitMidi(port, bytes, midiMessageLength(byte0), time);
}

void EngineCore::sendMidiEventList(int32_t port, const list& values, MillisecondTime time)
{
    for (size_t start = 0; start < values.size(); start += 3)
    {
        const size_t length = std::min<size_t>(3, values.size() - start);
        uint8_t bytes[3] = {0, 0, 0};
        for (size_t i = 0; i < length; ++i)
            bytes[i] = midiByte(values[start + i]);
        emitMidi(port, bytes, static_cast<int32_t>(length), time);
    }
}

void EngineCore::emitMidi(int32_t port, const uint8_t* bytes, int32_t length, MillisecondTime time)
{
    MidiEvent event;
    event.time = std::max(currentTime, time);
    event.port = port;
    event.length = length;
    std::copy(bytes, bytes + length, event.data);

    if (midiOutputList != nullptr)
    {
        const auto position =
            std::upper_bound(midiOutputList->begin(), midiOutputList->end(), event.time,
                             [](MillisecondTime t, const MidiEvent& existing) { return t < existing.time; });
        midiOutputList->insert(position, event);
    }
    queueForInterfaces(event);
}

void EngineCore::sendOutlet(EngineLink* sender, OutletIndex index, ParameterValue value, SampleOffset offset)
{
    PatcherEventTarget* parent = sender->getParentLink();
    if (!inPatcherProcess)
    {
        if (parent != nullptr)
            parent->processOutletValueNow(sender, index, value);
        return;
    }
    // Inside process the value arrives at the same offset of the next block.
    const MillisecondTime time =
        currentTime + (static_cast<double>(patcher->getBlockSize()) + offset) * 1000.0 / patcher->getSampleRate();
    schedule(OutletEvent{time, sender, index, value, parent});
}

void EngineCore::sendDataRefUpdated(DataRefIndex index)
{
    if (delivery != nullptr)
        patcher->processDataViewUpdate(index, delivery->current->getTime());
    else
        schedule(DataRefEvent{index, currentTime, DataRefEvent::DataViewUpdate, patcher->getParentLink()});
}

void EngineCore::sendTempoEvent(float tempo)
{
    queueForInterfaces(TempoEvent{currentTime, tempo});
}

void EngineCore::sendTransportEvent(int32_t state)
{
    queueForInterfaces(TransportEvent{currentTime, state});
}

void EngineCore::sendBeatTimeEvent(float beatTime)
{
    queueForInterfaces(BeatTimeEvent{currentTime, beatTime});
}

void EngineCore::sendTimeSignatureEvent(int32_t numerator, int32_t denominator)
{
    queueForInterfaces(TimeSignatureEvent{currentTime, numerator, denominator});
}

// Messages go only to the interfaces that take their tag: the patch reports far more than a typical
// handler reads, and building, queueing and draining the rest costs the audio thread for nothing.
template <typename MakeEvent>
void EngineCore::queueForTakers(MessageTag tag, MakeEvent&& makeEvent)
{
    if (!takesMessage(tag))
        return;
    for (ParameterEventInterfaceImpl* parameterInterface : interfaces)
        if (parameterInterface->takesMessage(tag))
            parameterInterface->queueHandlerEvent(makeEvent());
}

void EngineCore::sendNumMessage(MessageTag tag, MessageTag objectId, float value, MillisecondTime time)
{
    queueForTakers(tag, [&] {
        return MessageEvent{tag, objectId, time, MessageEvent::Number, value, nullptr, patcher->getParentLink()};
    });
}

void EngineCore::sendListMessage(MessageTag tag, MessageTag objectId, const list& values, MillisecondTime time)
{
    // Every interface gets a list of its own: handlers on other threads may keep it.
    queueForTakers(tag, [&] {
        return MessageEvent{tag, objectId, time, MessageEvent::List, 0, messageLists.share(values), patcher->getParentLink()};
    });
}

void EngineCore::sendBangMessage(MessageTag tag, MessageTag objectId, MillisecondTime time)
{
    queueForTakers(tag, [&] {
        return MessageEvent{tag, objectId, time, MessageEvent::Bang, 0, nullptr, patcher->getParentLink()};
    });
}

bool EngineCore::takesMessage(MessageTag tag)
{
    // Asked by every scope and for every message the patch sends, for a handful of tags; a handler's
    // answers never change, so only a change of interfaces makes the remembered answers stale.
    TakenAnswer& answer = takenAnswers[tag % takenAnswers.size()];
    if (answer.known && answer.tag == tag)
        return answer.taken;
    bool taken = false;
    for (ParameterEventInterfaceImpl* parameterInterface : interfaces)
        taken = taken || parameterInterface->takesMessage(tag);
    answer = {true, tag, taken};
    return taken;
}

void EngineCore::queueForInterfaces(const EventVariant& event)
{
    for (ParameterEventInterfaceImpl* parameterInterface : interfaces)
        parameterInterface->queueHandlerEvent(EventVariant(event));
}

void EngineCore::notifyParameterValueChanged(ParameterIndex index, ParameterValue value, bool ignoreValue)
{
    // The cause: the parameter event being delivered, unless the patcher changed the value on its own.
    ParameterEvent cause;
    if (delivery != nullptr && !ignoreValue)
        if (const auto* delivered = delivery->current->get<ParameterEvent>())
            cause = *delivered;

    for (ParameterEventInterfaceImpl* parameterInterface : interfaces)
    {
        // Preset and start-up values reach the handlers one by one, not merged.
        if (applyingPreset)
            parameterInterface->queueHandlerEvent(ParameterEvent{index, currentTime, value, cause.source, nullptr});
        else
            parameterInterface->notifyParameterValueChanged(cause, index, value);
    }
}

void EngineCore::scheduleParameterChange(ParameterIndex index, ParameterValue value, MillisecondTime delay)
{
    schedule(ParameterEvent{index, currentTime + delay, value, nullptr, nullptr});
}

void EngineCore::scheduleParameterBang(ParameterIndex index, MillisecondTime delay)
{
    schedule(ParameterBangEvent{index, currentTime + delay, nullptr});
}

void EngineCore::presetTouched()
{
    if (!applyingPreset)
        presetTouchedFlag = true;
}

ParameterIndex EngineCore::getNumParameters()
{
    return patcher->getNumParameters();
}

const char* EngineCore::getParameterName(ParameterIndex index)
{
    return patcher->getParameterName(index);
}

const char* EngineCore::getParameterId(ParameterIndex index)
{
    return patcher->getParameterId(index);
}

void EngineCore::getParameterInfo(ParameterIndex index, ParameterInfo* info)
{
    patcher->getParameterInfo(index, info);
}

ParameterValue EngineCore::getParameterValue(ParameterIndex index)
{
    return patcher->getParameterValue(index);
}

ParameterValue EngineCore::convertToNormalizedParameterValue(ParameterIndex index, ParameterValue value)
{
    return patcher->convertToNormalizedParameterValue(index, value);
}

ParameterValue EngineCore::convertFromNormalizedParameterValue(ParameterIndex index, ParameterValue normalizedValue)
{
    return patcher->convertFromNormalizedParameterValue(index, normalizedValue);
}

ParameterValue EngineCore::constrainParameterValue(ParameterIndex index, ParameterValue value)
{
    return patcher->constrainParameterValue(index, value);
}

void EngineCore::scheduleEvent(EventVariant event)
{
    schedule(std::move(event));
}

void* EngineCore::getProbe()
{
    return patcher->getProbe();
}

void EngineCore::schedule(EventVariant&& event)
{
    if (delivery != nullptr)
    {
        // A clock that reschedules itself for (nearly) the moment it fired fires again one sample
        // period after that, not at once.
        if (const ClockEvent* clock = event.get<ClockEvent>())
        {
            const MillisecondTime time = clock->time;
            if (millisecondsPerSample > time - delivery->current->getTime())
            {
                for (size_t i = delivery->index + 1; i-- > 0;)
                {
                    const EventVariant& visited = i == delivery->index ? *delivery->current : dueList[i];
                    if (time - visited.getTime() > millisecondsPerSample)
                        break;
                    const ClockEvent* earlier = visited.get<ClockEvent>();
                    if (earlier != nullptr && earlier->target == clock->target &&
                        earlier->clockIndex == clock->clockIndex)
                    {
                        event.setTime(visited.getTime() + millisecondsPerSample);
                        break;
                    }
                }
            }
        }

        // Due within this pass: delivered after what is already due at its time. An event earlier
        // than the one being delivered comes next, so that nothing is lost or delivered twice.
        if (event.getTime() <= delivery->horizon)
        {
            const size_t position = std::max(dueList.upperBound(event.getTime()), delivery->index + 1);
            dueList.insertAt(position, std::move(event));
            return;
        }
    }
    scheduledEvents.insert(std::move(event));
}

void EngineCore::dispatchEventsUntil(MillisecondTime until)
{
    const MillisecondTime horizon = std::max(currentTime, until);

    const size_t dueCount = scheduledEvents.upperBound(horizon);
    for (size_t i = 0; i < dueCount; ++i)
        dueList.insert(std::move(scheduledEvents[i]));
    scheduledEvents.eraseFront(dueCount);

    PatcherEventSender sender(patcher.get(), currentTime);

    // If a delivery throws, the events not yet delivered go back to the schedule.
    size_t next = 0;
    struct Finish
    {
        EngineCore& engine;
        size_t& next;
        ~Finish()
        {
            engine.delivery = nullptr;
            for (size_t i = next; i < engine.dueList.size(); ++i)
                engine.scheduledEvents.insert(std::move(engine.dueList[i]));
            engine.dueList.clear();
        }
    } finish{*this, next};

    // The due list can grow (and move) while an event is delivered, so the event is taken out of it.
    while (next < dueList.size())
    {
        const size_t index = next++;
        const EventVariant event = std::move(dueList[index]);
        const DeliveryPosition position{horizon, index, &event};
        delivery = &position;
        deliver(event, sender);
        delivery = nullptr;
    }
}

void EngineCore::deliver(const EventVariant& event, PatcherEventSender& sender)
{
    if (const PresetEvent* preset = event.get<PresetEvent>())
    {
        if (preset->kind == PresetEvent::Set && preset->preset != nullptr)
        {
            applyPreset(preset->time, *preset->preset);
        }
        else if (preset->kind == PresetEvent::Get && preset->callback)
        {
            auto state = std::make_shared<PatcherState>();
            patcher->getPreset(*state);
            preset->callback(std::move(state));
        }
    }
    else if (const StartupEvent* startup = event.get<StartupEvent>())
    {
        queueForInterfaces(event);
        applyingPreset = startup->kind == StartupEvent::Begin;
    }
    else
    {
        sender.sendEvent(event);
    }
}

void EngineCore::applyPreset(MillisecondTime time, PatcherStateInterface& state)
{
    applyingPreset = true;
    queueForInterfaces(PresetEvent{time, PresetEvent::AboutToBeSet});
    patcher->setPreset(time, state);
    queueForInterfaces(PresetEvent{time, PresetEvent::HasBeenSet});
    applyingPreset = false;
}

bool EngineCore::prepareToProcess(float sampleRate, Index maxBlockSize, bool force)
{
    millisecondsPerSample = 1000.0 / sampleRate;
    patcher->prepareToProcess(sampleRate, maxBlockSize, force);
    deliverDataViewUpdates();
    return true;
}

void EngineCore::deliverDataViewUpdates()
{
    // Rebuilding a view allocates: done here, while no block runs, instead of in the next block. A
    // rebuild may schedule further events, so each update is taken out before it is delivered.
    PatcherEventSender sender(patcher.get(), currentTime);
    for (size_t i = 0; i < scheduledEvents.size();)
    {
        const DataRefEvent* update = scheduledEvents[i].get<DataRefEvent>();
        if (update == nullptr || update->kind != DataRefEvent::DataViewUpdate || update->time > currentTime)
        {
            ++i;
            continue;
        }
        const EventVariant event = std::move(scheduledEvents[i]);
        scheduledEvents.erase(i);
        sender.sendEvent(event);
    }
}

bool EngineCore::setPatcher(PatcherPtr newPatcher)
{
    if (newPatcher == nullptr)
        newPatcher.reset(new NullPatcher());

    // Events addressed to objects of the outgoing patcher have no receiver any more.
    for (size_t i = 0; i < scheduledEvents.size();)
    {
        if (scheduledEvents[i].getEventTarget() != nullptr)
            scheduledEvents.erase(i);
        else
            ++i;
    }

    patcher = std::move(newPatcher);
    patcher->setEngineAndParent(this, nullptr);

    PatcherStateDummy noState;
    schedule(StartupEvent{currentTime, StartupEvent::Begin});
    patcher->initializeWithState(noState);
    schedule(StartupEvent{currentTime, StartupEvent::End});

    for (ParameterEventInterfaceImpl* parameterInterface : interfaces)
        parameterInterface->refreshParameterValues();
    return true;
}

std::unique_ptr<ParameterEventInterface> EngineCore::createParameterInterface(int32_t type, EventHandler* handler)
{
    if (type == ParameterInterfaceTriggering)
        return std::make_unique<ParameterInterfaceTrigger>(*this, handler);
    return std::make_unique<ParameterInterfaceSync>(*this, handler);
}

MillisecondTime EngineCore::blockDuration(Index sampleFrames)
{
    // Before the first prepare the patcher knows no rate; the engine's sample period stands in.
    const float sampleRate = patcher->getSampleRate();
    if (sampleRate > 0)
        return 1000.0 / sampleRate * sampleFrames;
    return millisecondsPerSample * sampleFrames;
}

void EngineCore::process(const SampleValue* const* inputs, Index numInputs, SampleValue* const* outputs,
                         Index numOutputs, Index sampleFrames, const MidiEventList* midiInput,
                         MidiEventList* midiOutput)
{
    const MillisecondTime blockStart = currentTime;
    const MillisecondTime blockEnd = blockStart + blockDuration(sampleFrames);

    // A patcher with a fixed block size refuses other lengths: silence, and events wait.
    if (sampleFrames != patcher->getBlockSize() && patcher->hasFixedBlockSize())
    {
        clearChannels(outputs, 0, numOutputs, sampleFrames);
        currentTime = blockEnd;
        return;
    }

    beginProcessDataRefs();

    if (midiInput != nullptr)
        for (const MidiEvent& midi : *midiInput)
            scheduledEvents.insert(MidiEvent(midi));
    midiOutputList = midiOutput;

    for (ParameterEventInterfaceImpl* parameterInterface : interfaces)
        parameterInterface->pullEvents(scheduledEvents, blockStart);

    dispatchEventsUntil(blockEnd);

    const Index patcherInputs = patcher->getNumInputChannels() + patcher->getNumExtraSignalInputs();
    const Index patcherOutputs = patcher->getNumOutputChannels() + patcher->getNumExtraSignalOutputs();
    inPatcherProcess = true;
    patcher->process(inputs, std::min(numInputs, patcherInputs), outputs, std::min(numOutputs, patcherOutputs),
                     sampleFrames);
    clearChannels(outputs, patcherOutputs, numOutputs, sampleFrames);
    inPatcherProcess = false;

    for (ParameterEventInterfaceImpl* parameterInterface : interfaces)
    {
        parameterInterface->flushParameterNotifications(blockStart);
        if (presetTouchedFlag)
            parameterInterface->queueHandlerEvent(PresetEvent{blockStart, PresetEvent::Touched});
        parameterInterface->notifyHandler();
    }

    presetTouchedFlag = false;
    endProcessDataRefs();
    midiOutputList = nullptr;
    currentTime = blockEnd;
}

void EngineCore::setPreset(std::unique_ptr<PatcherStateInterface> state)
{
    if (state != nullptr)
        applyPreset(currentTime, *state);
}

std::shared_ptr<PatcherState> EngineCore::getPreset()
{
    auto state = std::make_shared<PatcherState>();
    patcher->getPreset(*state);
    return state;
}

void EngineCore::registerInterface(ParameterEventInterfaceImpl* parameterInterface)
{
    interfaces.push_back(parameterInterface);
    takenAnswers.fill({});
}

void EngineCore::unregisterInterface(ParameterEventInterfaceImpl* parameterInterface)
{
    interfaces.erase(std::remove(interfaces.begin(), interfaces.end(), parameterInterface), interfaces.end());
    takenAnswers.fill({});
}

} // namespace PRT
