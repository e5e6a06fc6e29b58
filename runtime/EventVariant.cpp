#include "runtime/EventVariant.h"

#include "runtime/PatcherEventTarget.h"

namespace PRT
{
namespace
{
template <typename Event, typename = void>
struct HasTarget : std::false_type
{
};

template <typename Event>
struct HasTarget<Event, std::void_t<decltype(std::declval<Event&>().target)>> : std::true_type
{
};

void assignTarget(EventTarget*& field, EventTarget* target)
{
    field = target;
}

void assignTarget(PatcherEventTarget*& field, EventTarget* target)
{
    field = dynamic_cast<PatcherEventTarget*>(target);
}
} // namespace

MessageEvent::MessageEvent(MessageTag messageTag, MessageTag object, MillisecondTime eventTime, int32_t messageKind,
                           float value, std::shared_ptr<list> values, PatcherEventTarget* eventTarget)
    : tag(messageTag), objectId(object), time(eventTime), kind(messageKind), number(value),
      payload(std::move(values)), target(eventTarget)
{
}

MessageEvent::MessageEvent(MessageEvent&& other) noexcept
    : tag(other.tag), objectId(other.objectId), time(other.time), kind(std::exchange(other.kind, MovedFrom)),
      number(other.number), payload(std::move(other.payload)), target(other.target)
{
}

MessageEvent& MessageEvent::operator=(MessageEvent&& other) noexcept
{
    if (this != &other)
    {
        tag = other.tag;
        objectId = other.objectId;
        time = other.time;
        kind = std::exchange(other.kind, MovedFrom);
        number = other.number;
        payload = std::move(other.payload);
        target = other.target;
    }
    return *this;
}

PresetEvent::PresetEvent(MillisecondTime eventTime, int32_t presetKind, std::shared_ptr<PatcherState> state,
                         Callback onPreset)
    : time(eventTime), kind(presetKind), preset(std::move(state)), callback(std::move(onPreset))
{
}

PresetEvent::PresetEvent(PresetEvent&& other) noexcept
    : time(other.time), kind(std::exchange(other.kind, MovedFrom)), preset(std::move(other.preset)),
      callback(std::move(other.callback))
{
}

PresetEvent& PresetEvent::operator=(PresetEvent&& other) noexcept
{
    if (this != &other)
    {
        time = other.time;
        kind = std::exchange(other.kind, MovedFrom);
        preset = std::move(other.preset);
        callback = std::move(other.callback);
    }
    return *this;
}

MillisecondTime EventVariant::getTime() const
{
    return visit([](const auto& event) -> MillisecondTime {
        if constexpr (std::is_same<std::decay_t<decltype(event)>, EmptyEvent>::value)
            return 0;
        else
            return event.time;
    });
}

void EventVariant::setTime(MillisecondTime time)
{
    visit([time](auto& event) {
        if constexpr (!std::is_same<std::decay_t<decltype(event)>, EmptyEvent>::value)
            event.time = time;
    });
}

EventTarget* EventVariant::getEventTarget() const
{
    return visit([](const auto& event) -> EventTarget* {
        if constexpr (HasTarget<std::decay_t<decltype(event)>>::value)
            return event.target;
        else
            return nullptr;
    });
}

void EventVariant::setEventTarget(EventTarget* target)
{
    visit([target](auto& event) {
        using Event = std::decay_t<decltype(event)>;
        if constexpr (HasTarget<Event>::value && !std::is_same<Event, EmptyEvent>::value)
            assignTarget(event.target, target);
    });
}

} // namespace PRT
