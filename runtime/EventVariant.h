#pragma once

#include "runtime/List.h"
#include "runtime/Types.h"

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>
#include <variant>

namespace PRT
{

class EngineLink;
class EventTarget;
class ParameterInterface;
class PatcherEventTarget;
class PatcherState;

// Event types: the index of the alternative an EventVariant holds.
namespace EventType
{
enum : int32_t
{
    Empty = 0,
    Clock = 1,
    DataRef = 2,
    Midi = 3,
    Outlet = 4,
    Parameter = 5,
    Reserved = 6,
    Message = 7,
    Preset = 8,
    Tempo = 9,
    Transport = 10,
    BeatTime = 11,
    TimeSignature = 12,
    Startup = 13,
    ParameterBang = 14,
    BBU = 15
};
}

// A null target means the sender's default (the installed patcher).
struct EmptyEvent
{
    EventTarget* target = nullptr;
};

struct ClockEvent
{
    ClockId clockIndex = 0;
    MillisecondTime time = 0;
    ParameterValue value = 0;
    bool hasValue = false;
    EventTarget* target = nullptr;
};

struct DataRefEvent
{
    enum Kind : int32_t
    {
        DataViewUpdate = 1
    };

    DataRefIndex index = 0;
    MillisecondTime time = 0;
    int32_t kind = DataViewUpdate;
    PatcherEventTarget* target = nullptr;
};

struct MidiEvent
{
    MillisecondTime time = 0;
    int32_t port = 0;
    int32_t length = 0; // 1 to 3
    uint8_t data[3] = {0, 0, 0};
    EventTarget* target = nullptr;
};

struct OutletEvent
{
    MillisecondTime time = 0;
    EngineLink* sender = nullptr; // identity of the sending object, handed back unchanged
    OutletIndex outletIndex = 0;
    ParameterValue value = 0;
    PatcherEventTarget* target = nullptr;
};

struct ParameterEvent
{
    ParameterIndex index = NoParameter;
    MillisecondTime time = 0;
    ParameterValue value = 0;
    ParameterInterface* source = nullptr; // the interface that caused the change; null: the engine
    PatcherEventTarget* target = nullptr;
};

struct ReservedEvent
{
    MillisecondTime time = 0;
    uint64_t word = 0;
    EventTarget* target = nullptr;
};

// Copies share the list; a moved-from event keeps no list and has kind -1, which no consumer handles.
struct MessageEvent
{
    enum Kind : int32_t
    {
        MovedFrom = -1,
        Number = 0,
        List = 1,
        Bang = 2
    };

    MessageEvent() = default;
    MessageEvent(MessageTag tag, MessageTag objectId, MillisecondTime time, int32_t kind, float number,
                 std::shared_ptr<list> payload, PatcherEventTarget* target);
    MessageEvent(const MessageEvent&) = default;
    MessageEvent& operator=(const MessageEvent&) = default;
    MessageEvent(MessageEvent&& other) noexcept;
    MessageEvent& operator=(MessageEvent&& other) noexcept;

    MessageTag tag = 0;
    MessageTag objectId = 0;
    MillisecondTime time = 0;
    int32_t kind = Bang;
    float number = 0;
    std::shared_ptr<list> payload;
    PatcherEventTarget* target = nullptr;
};

// Copies share the preset; a moved-from event has kind -1.
struct PresetEvent
{
    enum Kind : int32_t
    {
        MovedFrom = -1,
        Set = 0,
        Touched = 1,
        Get = 2,
        AboutToBeSet = 3,
        HasBeenSet = 4
    };

    using Callback = std::function<void(std::shared_ptr<PatcherState>)>;

    PresetEvent() = default;
    PresetEvent(MillisecondTime time, int32_t kind, std::shared_ptr<PatcherState> preset = {}, Callback callback = {});
    PresetEvent(const PresetEvent&) = default;
    PresetEvent& operator=(const PresetEvent&) = default;
    PresetEvent(PresetEvent&& other) noexcept;
    PresetEvent& operator=(PresetEvent&& other) noexcept;

    MillisecondTime time = 0;
    int32_t kind = Set;
    std::shared_ptr<PatcherState> preset;
    Callback callback; // receives the filled preset of a Get request
};

struct TempoEvent
{
    MillisecondTime time = 0;
    float tempo = 0; // beats per minute
};

struct TransportEvent
{
    MillisecondTime time = 0;
    int32_t state = 0;
};

struct BeatTimeEvent
{
    MillisecondTime time = 0;
    float beatTime = 0;
};

struct TimeSignatureEvent
{
    MillisecondTime time = 0;
    int32_t numerator = 4;
    int32_t denominator = 4;
};

struct StartupEvent
{
    enum Kind : int32_t
    {
        Begin = 0,
        End = 1
    };

    MillisecondTime time = 0;
    int32_t kind = Begin;
};

struct ParameterBangEvent
{
    ParameterIndex index = NoParameter;
    MillisecondTime time = 0;
    PatcherEventTarget* target = nullptr;
};

struct BBUEvent
{
    MillisecondTime time = 0;
    float bars = 0;
    float beats = 0;
    float units = 0;
};

// The runtime's one event record: a variant of the sixteen alternatives above, in event type order.
class EventVariant
{
public:
    using Alternatives = std::variant<EmptyEvent, ClockEvent, DataRefEvent, MidiEvent, OutletEvent, ParameterEvent,
                                      ReservedEvent, MessageEvent, PresetEvent, TempoEvent, TransportEvent,
                                      BeatTimeEvent, TimeSignatureEvent, StartupEvent, ParameterBangEvent, BBUEvent>;

    EventVariant() = default;

    template <typename Event,
              typename = std::enable_if_t<!std::is_same<std::decay_t<Event>, EventVariant>::value>>
    EventVariant(Event&& event) : alternatives(std::forward<Event>(event))
    {
    }

    int32_t getType() const { return static_cast<int32_t>(alternatives.index()); }

    // The empty event reads time 0 and ignores a new time.
    MillisecondTime getTime() const;
    void setTime(MillisecondTime time);

    // Types 0 to 7 and 14 carry a target; the others read null and ignore a new target. A target that
    // is not a patcher event target cannot address an event that needs one, and leaves it untargeted.
    EventTarget* getEventTarget() const;
    void setEventTarget(EventTarget* target);

    template <typename Event>
    Event* get()
    {
        return std::get_if<Event>(&alternatives);
    }

    template <typename Event>
    const Event* get() const
    {
        return std::get_if<Event>(&alternatives);
    }

    template <typename Visitor>
    decltype(auto) visit(Visitor&& visitor) const
    {
        return std::visit(std::forward<Visitor>(visitor), alternatives);
    }

    template <typename Visitor>
    decltype(auto) visit(Visitor&& visitor)
    {
        return std::visit(std::forward<Visitor>(visitor), alternatives);
    }

private:
    Alternatives alternatives;
};

} // namespace PRT
