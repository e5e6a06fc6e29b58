#include "runtime/EventHandler.h"
#include "runtime/EventSender.h"
#include "runtime/EventVariant.h"
#include "runtime/PatcherState.h"

#include "tests/runtime/ListValues.h"
#include "tests/runtime/RecordingEventTarget.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace PRT;
using test::RecordingEventTarget;

namespace
{
// One event of every kind, all at 10 ms and without a target.
std::vector<EventVariant> oneEventOfEachKind()
{
    MidiEvent midi;
    midi.time = 10;
    midi.port = 1;
    midi.length = 3;
    midi.data[0] = 0x90;
    midi.data[1] = 60;
    midi.data[2] = 100;
    return {
        EmptyEvent{},
        ClockEvent{7, 10, 0.5f, true, nullptr},
        DataRefEvent{3, 10, DataRefEvent::DataViewUpdate, nullptr},
        midi,
        OutletEvent{10, nullptr, 2, 0.25f, nullptr},
        ParameterEvent{4, 10, 0.75f, nullptr, nullptr},
        ReservedEvent{10, 99, nullptr},
        MessageEvent{11, 12, 10, MessageEvent::List, 0, test::makeSharedList({1, 2}), nullptr},
        PresetEvent{10, PresetEvent::Set, std::make_shared<PatcherState>()},
        TempoEvent{10, 120},
        TransportEvent{10, 1},
        BeatTimeEvent{10, 4},
        TimeSignatureEvent{10, 3, 8},
        StartupEvent{10, StartupEvent::Begin},
        ParameterBangEvent{6, 10, nullptr},
        BBUEvent{10, 2, 3, 240},
    };
}
} // namespace

TEST(EventVariant, TypeTimeAndTargetOfEveryKind)
{
    RecordingEventTarget target;
    const std::vector<EventVariant> events = oneEventOfEachKind();
    ASSERT_EQ(events.size(), 16u);
    for (int32_t type = 0; type < 16; ++type)
    {
        SCOPED_TRACE(type);
        EventVariant event = events[type];
        EXPECT_EQ(event.getType(), type);

        const bool carriesTime = type != EventType::Empty;
        EXPECT_EQ(event.getTime(), carriesTime ? 10.0 : 0.0);
        event.setTime(25);
        EXPECT_EQ(event.getTime(), carriesTime ? 25.0 : 0.0);

        const bool carriesTarget = (type >= EventType::Clock && type <= EventType::Message) ||
                                   type == EventType::ParameterBang;
        EXPECT_EQ(event.getEventTarget(), nullptr);
        event.setEventTarget(&target);
        EXPECT_EQ(event.getEventTarget(), carriesTarget ? static_cast<EventTarget*>(&target) : nullptr);
    }
    EXPECT_EQ(EventVariant().getType(), EventType::Empty);
}

TEST(EventVariant, MessageAndPresetEventsShareAndMoveTheirPayloads)
{
    auto values = test::makeSharedList({1, 2, 3});
    EventVariant original = MessageEvent{1, 2, 0, MessageEvent::List, 0, values, nullptr};
    {
        EventVariant copy = original;
        EXPECT_EQ(values.use_count(), 3);
    }
    EXPECT_EQ(values.use_count(), 2);

    EventVariant moved = std::move(original);
    EXPECT_EQ(original.get<MessageEvent>()->kind, MessageEvent::MovedFrom);
    EXPECT_EQ(original.get<MessageEvent>()->payload, nullptr);
    EXPECT_EQ(moved.get<MessageEvent>()->kind, MessageEvent::List);
    EXPECT_EQ(values.use_count(), 2);

    auto state = std::make_shared<PatcherState>();
    EventVariant preset = PresetEvent{0, PresetEvent::Get, state, [](std::shared_ptr<PatcherState>) {}};
    EventVariant presetCopy = preset;
    EXPECT_EQ(state.use_count(), 3);
    EventVariant presetMoved = std::move(preset);
    EXPECT_EQ(preset.get<PresetEvent>()->kind, PresetEvent::MovedFrom);
    EXPECT_EQ(presetMoved.get<PresetEvent>()->kind, PresetEvent::Get);
    EXPECT_TRUE(static_cast<bool>(presetMoved.get<PresetEvent>()->callback));
    EXPECT_EQ(state.use_count(), 3);
}

TEST(PatcherEventSender, DeliveryTable)
{
    RecordingEventTarget patcher;
    PatcherEventSender sender(&patcher, 5.0);
    for (const EventVariant& event : oneEventOfEachKind())
        sender.sendEvent(event);

    const std::vector<std::string> expected = {
        "clock 7 0.5 @10",
        "dataView 3 @10",
        "midi 1 144,60,100 @10",
        "outlet 2 0.25 @10",
        "parameter 4 0.75 @10",
        "list 11 12 1,2 @10",
        "tempo 120 @10",
        "transport 1 @10",
        "beatTime 4 @10",
        "timeSignature 3 8 @10",
        "parameterBang 6 @10",
        "bbu 2 3 240 @10",
    };
    EXPECT_EQ(patcher.calls.lines, expected);
}

TEST(PatcherEventSender, OwnTargetsWinWherePatcherEventsAllowThem)
{
    RecordingEventTarget patcher, own;
    PatcherEventSender sender(&patcher, 0.0);
    for (EventVariant event : oneEventOfEachKind())
    {
        event.setEventTarget(&own);
        sender.sendEvent(event);
    }
    EXPECT_EQ(own.calls.lines, (std::vector<std::string>{"clock 7 0.5 @10", "dataView 3 @10", "midi 1 144,60,100 @10",
                                                         "outlet 2 0.25 @10", "parameter 4 0.75 @10",
                                                         "list 11 12 1,2 @10", "parameterBang 6 @10"}));
    EXPECT_EQ(patcher.calls.lines, (std::vector<std::string>{"tempo 120 @10", "transport 1 @10", "beatTime 4 @10",
                                                             "timeSignature 3 8 @10", "bbu 2 3 240 @10"}));
}

TEST(PatcherEventSender, PastEventsArriveAtTheMinimumTime)
{
    RecordingEventTarget patcher;
    PatcherEventSender sender(&patcher, 100.0);
    sender.sendEvent(ParameterEvent{1, 95, 0.5f, nullptr, nullptr});
    sender.sendEvent(ClockEvent{2, 100.5, 0, false, nullptr});
    EXPECT_EQ(patcher.calls.lines, (std::vector<std::string>{"parameter 1 0.5 @100", "clock 2 @100.5"}));
}

TEST(PatcherEventSender, MessageKindsAndDroppedEvents)
{
    RecordingEventTarget patcher;
    PatcherEventSender sender(&patcher, 0.0);
    sender.sendEvent(MessageEvent{1, 2, 0, MessageEvent::Number, 0.5f, nullptr, nullptr});
    sender.sendEvent(MessageEvent{1, 2, 0, MessageEvent::Bang, 0, nullptr, nullptr});
    sender.sendEvent(MessageEvent{1, 2, 0, MessageEvent::List, 0, nullptr, nullptr}); // no list: empty payload
    sender.sendEvent(MessageEvent{1, 2, 0, 5, 0, nullptr, nullptr});
    sender.sendEvent(MessageEvent{1, 2, 0, MessageEvent::MovedFrom, 0, nullptr, nullptr});
    sender.sendEvent(DataRefEvent{3, 0, 0, nullptr});
    EXPECT_EQ(patcher.calls.lines, (std::vector<std::string>{"num 1 2 0.5 @0", "bang 1 2 @0", "list 1 2  @0"}));
}

TEST(EventSender, ClockWithoutAnyTargetIsDropped)
{
    EventSender sender(nullptr);
    sender.sendEvent(ClockEvent{1, 0, 0, false, nullptr}); // would crash on a null target
    RecordingEventTarget fallback;
    EventSender withDefault(&fallback);
    withDefault.sendEvent(ClockEvent{1, 3, 0, false, nullptr});
    withDefault.sendEvent(TempoEvent{3, 100}); // the base sender handles clock and MIDI only
    EXPECT_EQ(fallback.calls.lines, (std::vector<std::string>{"clock 1 @3"}));
}

TEST(PatcherEventSender, ListOutlivesItsEventDuringDelivery)
{
    RecordingEventTarget patcher;
    std::optional<EventVariant> event = EventVariant(MessageEvent{1, 2, 0, MessageEvent::List, 0,
                                                                  test::makeSharedList({4, 5, 6}), nullptr});
    patcher.onListMessage = [&] { event.reset(); }; // the receiver destroys the record it is handed
    PatcherEventSender sender(&patcher, 0.0);
    sender.sendEvent(*event);
    EXPECT_FALSE(event.has_value());
    EXPECT_EQ(patcher.calls.lines, (std::vector<std::string>{"list 1 2 4,5,6 @0"}));
}

TEST(ClockEventMatcher, MatchesTargetAndIdAndDeliversWhenAsked)
{
    RecordingEventTarget a, b, sink;
    EventSender sender(&sink);
    const ClockEventMatcher silent(false, sender, &a, 7);
    const ClockEventMatcher delivering(true, sender, &a, 7);
    const ClockEventMatcher byValue(false, sender, &a, 7, 0.5f);

    const EventVariant match = ClockEvent{7, 1, 0.5f, true, &a};
    EXPECT_TRUE(silent(match));
    EXPECT_TRUE(byValue(match));
    EXPECT_FALSE(silent(ClockEvent{8, 1, 0, false, &a}));
    EXPECT_FALSE(silent(ClockEvent{7, 1, 0, false, &b}));
    EXPECT_FALSE(silent(ParameterEvent{7, 1, 0, nullptr, nullptr}));
    EXPECT_FALSE(byValue(ClockEvent{7, 1, 0.25f, true, &a}));
    EXPECT_TRUE(a.calls.lines.empty());

    EXPECT_TRUE(delivering(match));
    EXPECT_EQ(a.calls.lines, (std::vector<std::string>{"clock 7 0.5 @1"}));
}

namespace
{
class RecordingHandler : public EventHandler
{
public:
    void eventsAvailable() override {}
    void handleParameterEvent(const ParameterEvent&) override { handled.push_back(EventType::Parameter); }
    void handleMidiEvent(const MidiEvent&) override { handled.push_back(EventType::Midi); }
    void handleMessageEvent(const MessageEvent&) override { handled.push_back(EventType::Message); }
    void handlePresetEvent(const PresetEvent&) override { handled.push_back(EventType::Preset); }
    void handleTempoEvent(const TempoEvent&) override { handled.push_back(EventType::Tempo); }
    void handleTransportEvent(const TransportEvent&) override { handled.push_back(EventType::Transport); }
    void handleBeatTimeEvent(const BeatTimeEvent&) override { handled.push_back(EventType::BeatTime); }
    void handleTimeSignatureEvent(const TimeSignatureEvent&) override
    {
        handled.push_back(EventType::TimeSignature);
    }
    void handleStartupEvent(const StartupEvent&) override { handled.push_back(EventType::Startup); }
    void handleBBUEvent(const BBUEvent&) override { handled.push_back(EventType::BBU); }

    std::vector<int32_t> handled;
};
} // namespace

TEST(EventHandler, DeliveryTable)
{
    RecordingHandler handler;
    for (const EventVariant& event : oneEventOfEachKind())
        deliverToHandler(handler, event);
    EXPECT_EQ(handler.handled,
              (std::vector<int32_t>{EventType::Midi, EventType::Parameter, EventType::Message, EventType::Preset,
                                    EventType::Tempo, EventType::Transport, EventType::BeatTime,
                                    EventType::TimeSignature, EventType::Startup, EventType::BBU}));
}
