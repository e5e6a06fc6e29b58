#include "runtime/EventSender.h"

#include "runtime/PatcherEventTarget.h"

namespace PRT
{

void EventSender::sendEvent(const EventVariant& event)
{
    if (const auto* clock = event.get<ClockEvent>())
    {
        EventTarget* target = clock->target != nullptr ? clock->target : defaultTarget;
        if (target != nullptr)
            target->processClockEvent(adjustEventTime(clock->time), clock->clockIndex, clock->hasValue, clock->value);
    }
    else if (const auto* midi = event.get<MidiEvent>())
    {
        EventTarget* target = midi->target != nullptr ? midi->target : defaultTarget;
        if (target != nullptr)
            target->processMidiEvent(adjustEventTime(midi->time), midi->port, midi->data, midi->length);
    }
}

PatcherEventSender::PatcherEventSender(PatcherEventTarget* patcherTarget, MillisecondTime minimum)
    : EventSender(patcherTarget), patcher(patcherTarget), minimumTime(minimum)
{
}

void PatcherEventSender::sendEvent(const EventVariant& event)
{
    auto ownOrPatcher = [this](PatcherEventTarget* own) { return own != nullptr ? own : patcher; };

    const int32_t type = event.getType();
    const bool patcherOnly = type == EventType::Tempo || type == EventType::Transport ||
                             type == EventType::BeatTime || type == EventType::TimeSignature || type == EventType::BBU;
    if (patcherOnly && patcher == nullptr)
        return;

    switch (type)
    {
        case EventType::DataRef:
        {
            const auto& e = *event.get<DataRefEvent>();
            if (auto* target = ownOrPatcher(e.target); target != nullptr && e.kind == DataRefEvent::DataViewUpdate)
                target->processDataViewUpdate(e.index, adjustEventTime(e.time));
            break;
        }
        case EventType::Outlet:
        {
            const auto& e = *event.get<OutletEvent>();
            if (auto* target = ownOrPatcher(e.target))
                target->processOutletEvent(e.sender, e.outletIndex, e.value, adjustEventTime(e.time));
            break;
        }
        case EventType::Parameter:
        {
            const auto& e = *event.get<ParameterEvent>();
            if (auto* target = ownOrPatcher(e.target))
                target->processParameterEvent(e.index, e.value, adjustEventTime(e.time));
            break;
        }
        case EventType::Message:
        {
            const auto& e = *event.get<MessageEvent>();
            PatcherEventTarget* target = ownOrPatcher(e.target);
            if (target == nullptr)
                break;
            const MillisecondTime time = adjustEventTime(e.time);
            if (e.kind == MessageEvent::Number)
                target->processNumMessage(e.tag, e.objectId, time, e.number);
            else if (e.kind == MessageEvent::List)
            {
                // Our own share keeps the list alive even if the target destroys the event.
                static const list noValues;
                const std::shared_ptr<list> values = e.payload;
                target->processListMessage(e.tag, e.objectId, time, values != nullptr ? *values : noValues);
            }
            else if (e.kind == MessageEvent::Bang)
                target->processBangMessage(e.tag, e.objectId, time);
            break;
        }
        case EventType::Tempo:
        {
            const auto& e = *event.get<TempoEvent>();
            patcher->processTempoEvent(adjustEventTime(e.time), e.tempo);
            break;
        }
        case EventType::Transport:
        {
            const auto& e = *event.get<TransportEvent>();
            patcher->processTransportEvent(adjustEventTime(e.time), e.state);
            break;
        }
        case EventType::BeatTime:
        {
            const auto& e = *event.get<BeatTimeEvent>();
            patcher->processBeatTimeEvent(adjustEventTime(e.time), e.beatTime);
            break;
        }
        case EventType::TimeSignature:
        {
            const auto& e = *event.get<TimeSignatureEvent>();
            patcher->processTimeSignatureEvent(adjustEventTime(e.time), e.numerator, e.denominator);
            break;
        }
        case EventType::ParameterBang:
        {
            const auto& e = *event.get<ParameterBangEvent>();
            if (auto* target = ownOrPatcher(e.target))
                target->processParameterBangEvent(e.index, adjustEventTime(e.time));
            break;
        }
        case EventType::BBU:
        {
            const auto& e = *event.get<BBUEvent>();
            patcher->processBBUEvent(adjustEventTime(e.time), e.bars, e.beats, e.units);
            break;
        }
        default: // clock and MIDI; empty, reserved, preset and start-up events reach no patcher
            EventSender::sendEvent(event);
            break;
    }
}

ClockEventMatcher::ClockEventMatcher(bool deliverMatches, EventSender& eventSender, EventTarget* clockTarget,
                                     ClockId clock)
    : deliver(deliverMatches), sender(eventSender), target(clockTarget), clockIndex(clock), matchValue(false),
      value(0)
{
}

ClockEventMatcher::ClockEventMatcher(bool deliverMatches, EventSender& eventSender, EventTarget* clockTarget,
                                     ClockId clock, ParameterValue clockValue)
    : deliver(deliverMatches), sender(eventSender), target(clockTarget), clockIndex(clock), matchValue(true),
      value(clockValue)
{
}

bool ClockEventMatcher::operator()(const EventVariant& event) const
{
    const auto* clock = event.get<ClockEvent>();
    if (clock == nullptr || clock->target != target || clock->clockIndex != clockIndex)
        return false;
    if (matchValue && clock->value != value)
        return false;
    if (deliver)
        sender.sendEvent(event);
    return true;
}

} // namespace PRT
