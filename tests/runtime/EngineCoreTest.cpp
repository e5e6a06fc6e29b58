#include "runtime/EngineCore.h"
#include "runtime/NullPatcher.h"

#include "tests/runtime/RecordingInterface.h"
#include "tests/runtime/RecordingPatcher.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace PRT;
using test::RecordingInterface;
using test::RecordingPatcher;

namespace
{
constexpr double sampleRate = 48000;
constexpr double msPerSample = 1000.0 / sampleRate;
constexpr Index blockFrames = 64;

std::string at(const char* call, MillisecondTime time)
{
    std::ostringstream line;
    line << call << " @" << time;
    return line.str();
}

// Two output channels and a recording patcher prepared at 48 kHz with 64-frame blocks; the start-up
// block that follows the installation has already run.
class EngineCoreTest : public testing::Test
{
protected:
    EngineCoreTest() : patcher(new RecordingPatcher())
    {
        engine.setPatcher(PatcherPtr(patcher));
        engine.registerInterface(&handlerSide);
        engine.prepareToProcess(static_cast<float>(sampleRate), blockFrames, false);
        runBlock();
        patcher->takeCalls();
        handlerSide.handlerEvents.clear();
        handlerSide.merged.clear();
        handlerSide.flushTimes.clear();
        handlerSide.handlerNotifications = 0;
    }

    void runBlock(Index frames = blockFrames)
    {
        std::vector<SampleValue> left(frames), right(frames);
        SampleValue* outputs[] = {left.data(), right.data()};
        engine.process(nullptr, 0, outputs, 2, frames, nullptr, nullptr);
    }

    // The time at which the current block ends, computed the way the engine does.
    MillisecondTime blockEnd() const { return now() + 1000.0 / static_cast<float>(sampleRate) * blockFrames; }
    MillisecondTime now() const { return const_cast<EngineCore&>(engine).getCurrentTime(); }

    std::vector<int32_t> handlerEventTypes() const
    {
        std::vector<int32_t> types;
        for (const EventVariant& e : handlerSide.handlerEvents)
            types.push_back(e.getType());
        return types;
    }

    RecordingInterface handlerSide;
    EngineCore engine;
    RecordingPatcher* patcher; // owned by the engine
};
} // namespace

TEST_F(EngineCoreTest, BlocksAdvanceTimeByTheirFrames)
{
    const MillisecondTime start = now();
    EXPECT_DOUBLE_EQ(start, 64 * msPerSample); // the start-up block
    runBlock();
    EXPECT_NEAR(now() - start, 1.3333333333333, 1e-12);
    runBlock(32);
    EXPECT_NEAR(now() - start, 2.0, 1e-12);
    EXPECT_EQ(patcher->takeCalls(), (std::vector<std::string>{at("process 0 2 64", start),
                                                              at("process 0 2 32", start + 64 * msPerSample)}));
}

TEST_F(EngineCoreTest, EqualTimesKeepSchedulingOrderAndInterfaceEventsComeLast)
{
    const MillisecondTime t = now() + 0.5;
    handlerSide.scheduleEvent(ParameterEvent{3, t, 9, &handlerSide, nullptr}); // pulled at block start
    engine.scheduleClockEvent(patcher, 1, t);
    engine.scheduleParameterChange(2, 7, 0.5);
    engine.scheduleClockEvent(patcher, 3, t);
    engine.scheduleParameterBang(0, 0.5);
    engine.scheduleClockEvent(patcher, 4, t - 0.25); // earlier, though scheduled last
    runBlock();
    EXPECT_EQ(patcher->takeCalls(),
              (std::vector<std::string>{at("clock 4", t - 0.25), at("clock 1", t), at("parameter 2 7", t),
                                        at("clock 3", t), at("parameter 0 0", t), at("parameter 3 9", t),
                                        at("process 0 2 64", t - 0.5)}));
}

TEST_F(EngineCoreTest, EventAtTheBlockEndArrivesInThisBlockOneAHairLaterInTheNext)
{
    const MillisecondTime end = blockEnd();
    engine.scheduleClockEvent(patcher, 1, end);
    engine.scheduleClockEvent(patcher, 2, end + 0.001);
    runBlock();
    EXPECT_EQ(patcher->takeCalls()[0], at("clock 1", end));
    runBlock();
    EXPECT_EQ(patcher->takeCalls()[0], at("clock 2", end + 0.001));
}

TEST_F(EngineCoreTest, PastEventsArriveStampedWithTheBlockStart)
{
    const MillisecondTime start = now();
    engine.scheduleClockEvent(patcher, 1, 0.0);
    handlerSide.scheduleEvent(ParameterEvent{1, start - 5, 0.5f, &handlerSide, nullptr});
    runBlock();
    EXPECT_EQ(patcher->takeCalls(), (std::vector<std::string>{at("clock 1", start), at("parameter 1 0.5", start),
                                                              at("process 0 2 64", start)}));
}

TEST_F(EngineCoreTest, ClockReschedulingItselfFiresOneSamplePeriodLater)
{
    struct Case
    {
        double rescheduleOffsetInSamples;
        double expectedOffsetInSamples;
    };
    for (const Case c : {Case{0, 1}, Case{0.5, 1}, Case{0.99, 1}, Case{1.5, 1.5}})
    {
        SCOPED_TRACE(c.rescheduleOffsetInSamples);
        const MillisecondTime t = now() + 0.1;
        std::vector<MillisecondTime> fired;
        patcher->onClock = [&](MillisecondTime time, ClockId id) {
            fired.push_back(time);
            if (fired.size() < 3)
                engine.scheduleClockEvent(patcher, id, time + c.rescheduleOffsetInSamples * msPerSample);
        };
        engine.scheduleClockEvent(patcher, 5, t);
        runBlock();
        ASSERT_EQ(fired.size(), 3u);
        EXPECT_NEAR(fired[1] - fired[0], c.expectedOffsetInSamples * msPerSample, 1e-12);
        EXPECT_NEAR(fired[2] - fired[1], c.expectedOffsetInSamples * msPerSample, 1e-12);
        patcher->onClock = [](auto...) {};
        patcher->takeCalls();
    }
}

TEST_F(EngineCoreTest, EventsScheduledWhileDeliveringJoinTheirBlock)
{
    const MillisecondTime start = now();
    const MillisecondTime end = blockEnd();
    patcher->onClock = [&](MillisecondTime, ClockId id) {
        if (id == 1)
        {
            engine.scheduleClockEvent(patcher, 10, start + 0.5); // after the clock already due then
            engine.scheduleClockEvent(patcher, 11, end + 0.1);   // next block
            engine.scheduleClockEvent(patcher, 12, start + 0.3); // before the clock due later
        }
    };
    engine.scheduleClockEvent(patcher, 1, start + 0.1);
    engine.scheduleClockEvent(patcher, 2, start + 0.5);
    runBlock();
    EXPECT_EQ(patcher->takeCalls(),
              (std::vector<std::string>{at("clock 1", start + 0.1), at("clock 12", start + 0.3), at("clock 2", start + 0.5),
                                        at("clock 10", start + 0.5), at("process 0 2 64", start)}));
    runBlock();
    EXPECT_EQ(patcher->takeCalls()[0], at("clock 11", end + 0.1));
}

TEST_F(EngineCoreTest, FlushRemovesOnlyTheClocksOfItsTargetAndId)
{
    test::RecordingEventTarget other;
    const MillisecondTime t = now();
    engine.scheduleClockEvent(patcher, 1, t + 0.2);
    engine.scheduleClockEvent(patcher, 2, t + 0.3);
    engine.scheduleClockEventWithValue(patcher, 1, t + 0.4, 0.5f);
    engine.scheduleClockEvent(&other, 1, t + 0.2);
    engine.flushClockEvents(patcher, 1, false);
    runBlock();
    EXPECT_EQ(patcher->takeCalls(), (std::vector<std::string>{at("clock 2", t + 0.3), at("process 0 2 64", t)}));
    EXPECT_EQ(other.calls.lines, (std::vector<std::string>{at("clock 1", t + 0.2)}));

    const MillisecondTime t2 = now();
    engine.scheduleClockEventWithValue(patcher, 1, t2 + 0.4, 0.5f);
    engine.scheduleClockEventWithValue(patcher, 1, t2 + 0.2, 0.25f);
    engine.scheduleClockEvent(patcher, 1, t2 + 0.3);
    engine.flushClockEventsWithValue(patcher, 1, 0.5f, false);
    engine.flushClockEvents(patcher, 1, true); // delivered at once, in list order
    EXPECT_EQ(patcher->takeCalls(), (std::vector<std::string>{at("clock 1 0.25", t2 + 0.2), at("clock 1", t2 + 0.3)}));
    runBlock();
    EXPECT_EQ(patcher->takeCalls(), (std::vector<std::string>{at("process 0 2 64", t2)}));
}

TEST_F(EngineCoreTest, FlushWhileDeliveringRemovesLaterDueClocks)
{
    const MillisecondTime t = now();
    patcher->onClock = [&](MillisecondTime, ClockId id) {
        if (id == 1)
            engine.flushClockEvents(patcher, 5, false);
    };
    engine.scheduleClockEvent(patcher, 5, t + 0.05); // already delivered when the flush comes
    engine.scheduleClockEvent(patcher, 1, t + 0.1);
    engine.scheduleClockEvent(patcher, 5, t + 0.2);
    engine.scheduleClockEvent(patcher, 5, blockEnd() + 1);
    runBlock();
    runBlock();
    runBlock();
    EXPECT_EQ(patcher->takeCalls(),
              (std::vector<std::string>{at("clock 5", t + 0.05), at("clock 1", t + 0.1), at("process 0 2 64", t),
                                        at("process 0 2 64", t + 64 * msPerSample),
                                        at("process 0 2 64", t + 128 * msPerSample)}));
}

TEST_F(EngineCoreTest, MidiMessageLengthFollowsTheStatusByte)
{
    struct Case
    {
        uint8_t status;
        int32_t length;
    };
    const Case cases[] = {{0x90, 3}, {0x80, 3}, {0xB2, 3}, {0xE0, 3}, {0xC3, 2}, {0xD0, 2}, {0xF1, 2},
                          {0xF3, 2}, {0xF2, 3}, {0xF0, 3}, {0xF6, 1}, {0xF8, 1}, {0xFE, 1}, {0xFF, 1}};
    for (const Case& c : cases)
        engine.sendMidiEvent(1, c.status, 60, 100, now() - 3);

    ASSERT_EQ(handlerSide.handlerEvents.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i)
    {
        const MidiEvent* midi = handlerSide.handlerEvents[i].get<MidiEvent>();
        ASSERT_NE(midi, nullptr);
        EXPECT_EQ(midi->length, cases[i].length) << std::hex << int(cases[i].status);
        EXPECT_EQ(midi->data[0], cases[i].status);
        EXPECT_EQ(midi->time, now()); // a past time becomes now
    }
}

TEST_F(EngineCoreTest, MidiByteListsAreCutIntoMessagesOfThree)
{
    auto lengthsFor = [&](std::vector<float> values) {
        list bytes;
        for (float v : values)
            bytes.push(v);
        handlerSide.handlerEvents.clear();
        engine.sendMidiEventList(0, bytes, now());
        std::vector<int32_t> lengths;
        for (const EventVariant& e : handlerSide.handlerEvents)
            lengths.push_back(e.get<MidiEvent>()->length);
        return lengths;
    };
    EXPECT_EQ(lengthsFor({0x90, 60, 100, 0x80, 60}), (std::vector<int32_t>{3, 2}));
    EXPECT_EQ(lengthsFor({0xC0, 5}), (std::vector<int32_t>{2}));
    EXPECT_EQ(lengthsFor({}), (std::vector<int32_t>{}));
    lengthsFor({300.7f, -1.0f, 1e30f});
    const MidiEvent& converted = *handlerSide.handlerEvents[0].get<MidiEvent>();
    EXPECT_EQ(converted.data[0], 44); // 300 & 0xFF
    EXPECT_EQ(converted.data[1], 255);
    EXPECT_EQ(converted.data[2], 0); // not representable: 0
}

TEST_F(EngineCoreTest, MidiSentDuringProcessGoesToTheOutputListInTimeOrder)
{
    const MillisecondTime t = now();
    patcher->onProcess = [&] {
        engine.sendMidiEvent(0, 0x90, 1, 1, t + 1.0);
        engine.sendMidiEvent(0, 0x90, 2, 1, t + 0.5);
        engine.sendMidiEvent(0, 0x90, 3, 1, t + 1.0);
    };
    MidiEventList input(1), output;
    input[0].time = t + 0.25;
    input[0].length = 2;
    input[0].data[0] = 0xC0;
    input[0].data[1] = 7;
    std::vector<SampleValue> left(blockFrames), right(blockFrames);
    SampleValue* outputs[] = {left.data(), right.data()};
    engine.process(nullptr, 0, outputs, 2, blockFrames, &input, &output);

    ASSERT_EQ(output.size(), 3u);
    EXPECT_EQ(output[0].data[1], 2);
    EXPECT_EQ(output[1].data[1], 1);
    EXPECT_EQ(output[2].data[1], 3);
    EXPECT_EQ(patcher->takeCalls()[0], at("midi 0 192,7", t + 0.25));

    patcher->onProcess = [] {};
    engine.sendMidiEvent(0, 0x90, 4, 1, now()); // outside process: no output list is kept
    EXPECT_EQ(output.size(), 3u);
}

TEST_F(EngineCoreTest, SurplusOutputChannelsAreZeroedAndSurplusInputsNotPassed)
{
    std::vector<std::vector<SampleValue>> channels(4, std::vector<SampleValue>(blockFrames, 0.5f));
    SampleValue* outputs[] = {channels[0].data(), channels[1].data(), channels[2].data(), channels[3].data()};
    const SampleValue* inputs[] = {channels[0].data(), channels[1].data(), channels[2].data()};
    const MillisecondTime t = now();
    engine.process(inputs, 3, outputs, 4, blockFrames, nullptr, nullptr);
    for (size_t c = 0; c < 4; ++c)
        for (SampleValue s : channels[c])
            ASSERT_EQ(s, c < 2 ? 1.0f : 0.0f) << "channel " << c;
    EXPECT_EQ(patcher->takeCalls(), (std::vector<std::string>{at("process 2 2 64", t)}));
}

TEST_F(EngineCoreTest, FixedBlockPatcherRefusesOtherLengthsWithSilence)
{
    patcher->fixedBlockSize = true;
    engine.prepareToProcess(static_cast<float>(sampleRate), 128, false);
    patcher->takeCalls();
    const MillisecondTime t = now();
    engine.scheduleClockEvent(patcher, 1, t + 0.1);

    std::vector<SampleValue> left(64, 0.5f), right(64, 0.5f);
    SampleValue* outputs[] = {left.data(), right.data()};
    engine.process(nullptr, 0, outputs, 2, 64, nullptr, nullptr);
    EXPECT_DOUBLE_EQ(now() - t, 64 * msPerSample);
    EXPECT_TRUE(patcher->takeCalls().empty());
    EXPECT_TRUE(handlerSide.flushTimes.empty());
    for (size_t i = 0; i < 64; ++i)
        ASSERT_TRUE(left[i] == 0.0f && right[i] == 0.0f);

    runBlock(128);
    EXPECT_EQ(patcher->takeCalls(), (std::vector<std::string>{at("clock 1", now() - 128 * msPerSample),
                                                              at("process 0 2 128", now() - 128 * msPerSample)}));
}

TEST_F(EngineCoreTest, ReportedValuesAreMergedOutsidePresets)
{
    patcher->onParameter = [&](ParameterIndex index, ParameterValue, MillisecondTime) {
        patcher->sendParameter(index, index == 2);
    };
    const MillisecondTime t = now();
    handlerSide.setParameterValue(1, 0.5f, t + 0.1);
    engine.scheduleParameterChange(2, 0.75f, 0.2);
    runBlock();
    EXPECT_TRUE(handlerSide.handlerEvents.empty());
    ASSERT_EQ(handlerSide.merged.size(), 2u);
    const auto& fromInterface = handlerSide.merged[0];
    EXPECT_EQ(fromInterface.index, 1u);
    EXPECT_EQ(fromInterface.value, 0.5f);
    EXPECT_EQ(fromInterface.cause.index, 1u);
    EXPECT_EQ(fromInterface.cause.source, &handlerSide);
    EXPECT_EQ(fromInterface.cause.time, t + 0.1);
    const auto& ignored = handlerSide.merged[1]; // ignoreValue: no cause
    EXPECT_EQ(ignored.index, 2u);
    EXPECT_EQ(ignored.cause.index, NoParameter);
    EXPECT_EQ(handlerSide.flushTimes.back(), t);
    EXPECT_EQ(handlerSide.handlerNotifications, 1);
}

TEST_F(EngineCoreTest, StartUpAndPresetValuesReachHandlersUnmerged)
{
    RecordingInterface second;
    engine.registerInterface(&second);
    auto* fresh = new RecordingPatcher();
    fresh->onInitialize = [&] {
        for (ParameterIndex i = 0; i < RecordingPatcher::numParameters; ++i)
            engine.scheduleParameterBang(i, 0);
    };
    fresh->onParameter = [&](ParameterIndex index, ParameterValue, MillisecondTime) { fresh->sendParameter(index, false); };
    engine.setPatcher(PatcherPtr(fresh));
    patcher = fresh;
    EXPECT_EQ(second.refreshes, 1);
    runBlock();

    const std::vector<int32_t> startUp = {EventType::Startup,   EventType::Parameter, EventType::Parameter,
                                          EventType::Parameter, EventType::Parameter, EventType::Startup};
    EXPECT_EQ(handlerEventTypes(), startUp);
    EXPECT_EQ(second.handlerEvents.size(), startUp.size());
    EXPECT_EQ(handlerSide.handlerEvents.front().get<StartupEvent>()->kind, StartupEvent::Begin);
    EXPECT_EQ(handlerSide.handlerEvents.back().get<StartupEvent>()->kind, StartupEvent::End);
    EXPECT_TRUE(handlerSide.merged.empty());
    EXPECT_FALSE(engine.isApplyingPreset());

    handlerSide.handlerEvents.clear();
    auto state = std::make_shared<PatcherState>();
    state->add("gain", 0.25f);
    engine.scheduleEvent(PresetEvent{now(), PresetEvent::Set, state});
    runBlock();
    EXPECT_EQ(handlerEventTypes(), (std::vector<int32_t>{EventType::Preset, EventType::Parameter, EventType::Preset}));
    EXPECT_EQ(handlerSide.handlerEvents[0].get<PresetEvent>()->kind, PresetEvent::AboutToBeSet);
    EXPECT_EQ(handlerSide.handlerEvents[1].get<ParameterEvent>()->value, 0.25f);
    EXPECT_EQ(handlerSide.handlerEvents[2].get<PresetEvent>()->kind, PresetEvent::HasBeenSet);
    EXPECT_TRUE(handlerSide.merged.empty());

    handlerSide.handlerEvents.clear();
    handlerSide.setParameterValue(0, 0.5f, now());
    runBlock();
    EXPECT_TRUE(handlerSide.handlerEvents.empty());
    EXPECT_EQ(handlerSide.merged.size(), 1u);
    engine.unregisterInterface(&second);
}

TEST_F(EngineCoreTest, PresetRequestsAndDirectPresetCalls)
{
    patcher->onParameter = [&](ParameterIndex index, auto...) { patcher->sendParameter(index, false); };
    patcher->values[0] = 0.8f;
    std::shared_ptr<PatcherState> received;
    engine.scheduleEvent(PresetEvent{now(), PresetEvent::Get, nullptr, [&](auto state) { received = state; }});
    EXPECT_EQ(received, nullptr);
    runBlock();
    ASSERT_NE(received, nullptr);
    EXPECT_EQ(received->getFloat("gain"), 0.8f);
    EXPECT_EQ(engine.getPreset()->getFloat("gain"), 0.8f);

    auto state = std::make_unique<PatcherState>();
    state->add("gain", 0.1f);
    engine.setPreset(std::move(state));
    EXPECT_EQ(patcher->values[0], 0.1f);
    EXPECT_EQ(handlerEventTypes(), (std::vector<int32_t>{EventType::Preset, EventType::Parameter, EventType::Preset}));
}

TEST_F(EngineCoreTest, TouchedStateIsReportedOnceAfterTheBlock)
{
    engine.presetTouched();
    runBlock();
    ASSERT_EQ(handlerEventTypes(), (std::vector<int32_t>{EventType::Preset}));
    EXPECT_EQ(handlerSide.handlerEvents[0].get<PresetEvent>()->kind, PresetEvent::Touched);
    runBlock();
    EXPECT_EQ(handlerSide.handlerEvents.size(), 1u);

    // Changes made while a state is applied are not the user's.
    patcher->onParameter = [&](auto...) { engine.presetTouched(); };
    handlerSide.handlerEvents.clear();
    auto state = std::make_unique<PatcherState>();
    state->add("gain", 0.3f);
    engine.setPreset(std::move(state));
    runBlock();
    for (const EventVariant& e : handlerSide.handlerEvents)
    {
        if (const auto* preset = e.get<PresetEvent>())
        {
            EXPECT_NE(preset->kind, PresetEvent::Touched);
        }
    }
}

TEST_F(EngineCoreTest, InstallingAPatcherDropsEventsAddressedToTheOldOne)
{
    int destroyed = 0;
    struct CountedPatcher : RecordingPatcher
    {
        int* destroyed;
        void destroy() override
        {
            ++*destroyed;
            RecordingPatcher::destroy();
        }
    };
    auto* first = new CountedPatcher();
    first->destroyed = &destroyed;
    engine.setPatcher(PatcherPtr(first));
    EXPECT_EQ(engine.getCurrentPatcher(), first);
    EXPECT_EQ(first->getEngine(), &engine);
    EXPECT_EQ(first->getParentLink(), nullptr);

    engine.scheduleClockEvent(first, 1, now());
    engine.scheduleParameterChange(2, 0.5f, 0);
    auto* second = new RecordingPatcher();
    engine.setPatcher(PatcherPtr(second));
    EXPECT_EQ(destroyed, 1);
    second->prepareToProcess(static_cast<float>(sampleRate), blockFrames, false);
    second->takeCalls();
    runBlock();
    const auto calls = second->takeCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], at("parameter 2 0.5", now() - 64 * msPerSample));

    EXPECT_TRUE(engine.setPatcher(nullptr)); // the null patcher takes its place
    EXPECT_NE(dynamic_cast<NullPatcher*>(engine.getCurrentPatcher()), nullptr);
}

TEST_F(EngineCoreTest, OutletValuesGoToTheSendersParent)
{
    RecordingPatcher child;
    child.setEngineAndParent(&engine, patcher);
    engine.sendOutlet(&child, 3, 0.5f, 0);
    EXPECT_EQ(patcher->takeCalls(), (std::vector<std::string>{"outletNow 3 0.5 @-1"}));

    const MillisecondTime t = now();
    patcher->onProcess = [&] { engine.sendOutlet(&child, 3, 0.25f, 10); };
    runBlock();
    patcher->onProcess = [] {};
    patcher->takeCalls();
    runBlock();
    EXPECT_EQ(patcher->takeCalls()[0], at("outlet 3 0.25", t + (64 + 10) * msPerSample));
}

TEST_F(EngineCoreTest, DataRefUpdatesAreImmediateOnlyWhileDelivering)
{
    const MillisecondTime t = now();
    engine.sendDataRefUpdated(5);
    patcher->onClock = [&](auto...) { engine.sendDataRefUpdated(6); };
    engine.scheduleClockEvent(patcher, 1, t + 0.3);
    EXPECT_TRUE(patcher->takeCalls().empty());
    runBlock();
    EXPECT_EQ(patcher->takeCalls(), (std::vector<std::string>{at("dataView 5", t), at("clock 1", t + 0.3),
                                                              at("dataView 6", t + 0.3), at("process 0 2 64", t)}));
}

TEST_F(EngineCoreTest, MessagesAndTransportReportsReachEveryInterface)
{
    RecordingInterface second;
    engine.registerInterface(&second);
    list values;
    values.push(1);
    values.push(2);
    engine.sendNumMessage(11, 12, 0.5f, 3.0);
    engine.sendListMessage(11, 12, values, 4.0);
    engine.sendBangMessage(11, 13, 5.0);
    engine.sendTempoEvent(120);
    engine.sendTransportEvent(1);
    engine.sendBeatTimeEvent(8);
    engine.sendTimeSignatureEvent(3, 4);

    for (RecordingInterface* receiver : {&handlerSide, &second})
    {
        const auto& events = receiver->handlerEvents;
        ASSERT_EQ(events.size(), 7u);
        const MessageEvent& number = *events[0].get<MessageEvent>();
        EXPECT_EQ(number.kind, MessageEvent::Number);
        EXPECT_EQ(number.number, 0.5f);
        EXPECT_EQ(number.time, 3.0);
        EXPECT_EQ(number.target, nullptr);
        const MessageEvent& listMessage = *events[1].get<MessageEvent>();
        EXPECT_EQ(listMessage.kind, MessageEvent::List);
        ASSERT_NE(listMessage.payload, nullptr);
        EXPECT_EQ((*listMessage.payload)[1], 2.0f);
        EXPECT_EQ(events[2].get<MessageEvent>()->kind, MessageEvent::Bang);
        EXPECT_EQ(events[3].get<TempoEvent>()->tempo, 120.0f);
        EXPECT_EQ(events[3].getTime(), now());
        EXPECT_EQ(events[4].get<TransportEvent>()->state, 1);
        EXPECT_EQ(events[5].get<BeatTimeEvent>()->beatTime, 8.0f);
        EXPECT_EQ(events[6].get<TimeSignatureEvent>()->numerator, 3);
    }
    // Each interface holds a list of its own.
    EXPECT_NE(handlerSide.handlerEvents[1].get<MessageEvent>()->payload,
              second.handlerEvents[1].get<MessageEvent>()->payload);
    engine.unregisterInterface(&second);
}

TEST_F(EngineCoreTest, MessagesReachOnlyTheInterfacesThatTakeTheirTag)
{
    RecordingInterface second;
    second.declinedTags = {11};
    engine.registerInterface(&second);
    list values;
    values.push(1);
    engine.sendNumMessage(11, 12, 0.5f, 3.0);
    engine.sendListMessage(11, 12, values, 4.0);
    engine.sendBangMessage(11, 13, 5.0);
    engine.sendNumMessage(14, 12, 0.25f, 6.0);

    EXPECT_EQ(handlerSide.handlerEvents.size(), 4u);
    ASSERT_EQ(second.handlerEvents.size(), 1u);
    EXPECT_EQ(second.handlerEvents[0].get<MessageEvent>()->tag, 14u);
    EXPECT_TRUE(engine.takesMessage(11));

    engine.unregisterInterface(&handlerSide);
    EXPECT_FALSE(engine.takesMessage(11)) << "nobody takes it any more";
    EXPECT_TRUE(engine.takesMessage(14));
    engine.unregisterInterface(&second);
    EXPECT_FALSE(engine.takesMessage(14));
    engine.registerInterface(&handlerSide);
    EXPECT_TRUE(engine.takesMessage(14));
}

TEST_F(EngineCoreTest, FailedDeliveryKeepsTheRemainingEvents)
{
    const MillisecondTime t = now();
    patcher->onClock = [](MillisecondTime, ClockId id) {
        if (id == 9)
            throw std::runtime_error("patcher failure");
    };
    engine.scheduleClockEvent(patcher, 9, t + 0.1);
    engine.scheduleClockEvent(patcher, 10, t + 0.2);
    EXPECT_THROW(runBlock(), std::runtime_error);
    EXPECT_FALSE(engine.isDelivering());
    patcher->takeCalls();
    engine.dispatchEventsUntil(t + 1);
    EXPECT_EQ(patcher->takeCalls(), (std::vector<std::string>{at("clock 10", t + 0.2)}));
}

TEST_F(EngineCoreTest, UnregisteredInterfacesHearNothing)
{
    engine.registerInterface(&handlerSide); // registered twice: removal takes both
    engine.unregisterInterface(&handlerSide);
    engine.sendTempoEvent(100);
    runBlock();
    EXPECT_TRUE(handlerSide.handlerEvents.empty());
    EXPECT_TRUE(handlerSide.flushTimes.empty());
}

TEST_F(EngineCoreTest, ParameterViewReadsThePatcher)
{
    patcher->values[1] = 42;
    EXPECT_EQ(engine.getNumParameters(), RecordingPatcher::numParameters);
    EXPECT_EQ(engine.getParameterValue(1), 42.0f);
    EXPECT_EQ(engine.getParameterNormalized(1), 0.42f);
    EXPECT_STREQ(engine.getParameterId(0), "id");
    engine.setParameterValue(1, 7, now()); // read-only: nothing changes
    engine.setParameterValueNormalized(1, 0.5f, now());
    runBlock();
    EXPECT_EQ(patcher->values[1], 42.0f);
}

TEST(EngineCore, StartsWithTheSilentNullPatcher)
{
    EngineCore engine;
    EXPECT_EQ(engine.getNumParameters(), 0u);
    EXPECT_DOUBLE_EQ(engine.getMillisecondsPerSample(), 0.02267573696);
    EXPECT_TRUE(engine.prepareToProcess(44100, 128, false));
    std::vector<std::vector<SampleValue>> channels(3, std::vector<SampleValue>(128, 0.5f));
    SampleValue* outputs[] = {channels[0].data(), channels[1].data(), channels[2].data()};
    engine.process(nullptr, 0, outputs, 3, 128, nullptr, nullptr);
    for (const auto& channel : channels)
        for (SampleValue s : channel)
            ASSERT_EQ(s, 0.0f);
    EXPECT_NEAR(engine.getCurrentTime(), 128 * 1000.0 / 44100, 1e-9);
}

TEST(NullPatcher, SilenceAndNoParameters)
{
    NullPatcher patcher;
    EXPECT_EQ(patcher.getBlockSize(), 0u);
    EXPECT_EQ(patcher.getSampleRate(), 0.0f);
    patcher.prepareToProcess(96000, 64, true);
    EXPECT_EQ(patcher.getBlockSize(), 64u);
    EXPECT_EQ(patcher.getSampleRate(), 96000.0f);
    EXPECT_EQ(patcher.getNumOutputChannels(), 2u);
    EXPECT_EQ(patcher.getNumParameters(), 0u);
    EXPECT_STREQ(patcher.resolveTag(123), "");
    EXPECT_STREQ(patcher.getMessageInfo(0).tag, "");
    EXPECT_EQ(patcher.getMessageInfo(0).kind, 2);

    ParameterInfo info;
    info.hostVisible = false;
    info.minimum = -3;
    patcher.getParameterInfo(0, &info);
    EXPECT_FALSE(info.hostVisible);
    EXPECT_EQ(info.minimum, -3.0f);

    std::vector<SampleValue> left(64, 1.0f), right(64, 1.0f);
    SampleValue* outputs[] = {left.data(), right.data()};
    patcher.process(nullptr, 0, outputs, 2, 64);
    for (size_t i = 0; i < 64; ++i)
        ASSERT_TRUE(left[i] == 0.0f && right[i] == 0.0f);
    patcher.process(nullptr, 0, nullptr, 0, 64); // nothing to write
}

TEST(PatcherInterfaceImpl, SharedDefaults)
{
    RecordingPatcher patcher;
    patcher.setParameterValueNormalized(1, 0.5f, 2.0);
    EXPECT_EQ(patcher.values[1], 50.0f);
    EXPECT_EQ(patcher.getParameterNormalized(1), 0.5f);
    EXPECT_EQ(patcher.getParameterValueForward(nullptr, 1), 50.0f);
    patcher.setParameterValueForward(&patcher, 2, 3.0f, 4.0);
    patcher.processParameterEvent(3, 6.0f, 5.0);
    patcher.processNormalizedParameterEvent(0, 0.25f, 6.0);
    patcher.processParameterBangEvent(2, 7.0);
    EXPECT_EQ(patcher.constrainParameterValue(0, 1e9f), 1e9f);
    EXPECT_EQ(patcher.takeCalls(), (std::vector<std::string>{"parameter 1 50 @2", "parameter 2 3 @4", "parameter 3 6 @5",
                                                             "parameter 0 25 @6", "parameter 2 3 @7"}));
    EXPECT_EQ(patcher.getProbe(), nullptr);
    EXPECT_FALSE(patcher.hasFixedBlockSize());
}
