#include "runtime/Engine.h"
#include "runtime/NullPatcher.h"

#include "tests/runtime/EngineFixture.h"
#include "tests/runtime/RecordingEventTarget.h"
#include "tests/runtime/RecordingHandler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace PRT;
using test::ClampingPatcher;
using test::EngineFixture;
using test::RecordingHandler;
using test::RecordingPatcher;

namespace
{
bool contains(const std::vector<std::string>& calls, const std::string& call)
{
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

std::vector<std::string> callsStartingWith(const std::vector<std::string>& calls, const std::string& prefix)
{
    std::vector<std::string> found;
    for (const std::string& call : calls)
        if (call.rfind(prefix, 0) == 0)
            found.push_back(call);
    return found;
}
} // namespace

TEST(Engine, SetPatcherTellsWhetherAPatcherWasGiven)
{
    Engine engine;
    EXPECT_TRUE(engine.setPatcher(PatcherPtr(new RecordingPatcher())));
    EXPECT_EQ(engine.getNumParameters(), RecordingPatcher::numParameters);

    EXPECT_FALSE(engine.setPatcher(nullptr));
    EXPECT_NE(dynamic_cast<NullPatcher*>(engine.getCurrentPatcher()), nullptr);
    EXPECT_EQ(engine.getNumParameters(), 0u);

    std::vector<SampleValue> left(64, 5), right(64, 5);
    SampleValue* outputs[] = {left.data(), right.data()};
    engine.process(nullptr, 0, outputs, 2, 64, nullptr, nullptr);
    EXPECT_EQ(std::count(left.begin(), left.end(), 0.0f) + std::count(right.begin(), right.end(), 0.0f), 128);
}

TEST(Engine, ASwapPreparesTheNewPatcherOnlyWhenTheOldOneWasPrepared)
{
    for (const bool prepared : {false, true})
    {
        SCOPED_TRACE(prepared);
        Engine engine;
        engine.setPatcher(PatcherPtr(new RecordingPatcher()));
        if (prepared)
            engine.prepareToProcess(48000, 128, true);

        auto* incoming = new RecordingPatcher();
        engine.setPatcher(PatcherPtr(incoming));
        const auto prepares = callsStartingWith(incoming->takeCalls(), "prepare");
        if (prepared)
        {
            EXPECT_EQ(prepares, std::vector<std::string>{"prepare 48000 128 0 @-1"});
            EXPECT_DOUBLE_EQ(engine.getMillisecondsPerSample(), 1000.0 / 48000);
        }
        else
        {
            EXPECT_TRUE(prepares.empty());
        }
    }
}

TEST_F(EngineFixture, ASwapKeepsHostAndParameterEventsAndDropsWhatWasAddressedToTheOldObjects)
{
    runBlock();
    const auto parameters = engine.createParameterInterface(ParameterInterfaceAsyncMultiProducer, nullptr);
    test::RecordingEventTarget claimed, unclaimed;
    const MillisecondTime now = engine.getCurrentTime();
    EventTarget* outgoing = patcher;

    engine.scheduleClockEvent(outgoing, 7, now + 1);
    engine.scheduleClockEvent(&claimed, 8, now + 1);
    engine.scheduleClockEvent(&unclaimed, 9, now + 1);
    engine.scheduleParameterChange(1, 3, 1);
    engine.scheduleEvent(TempoEvent{now + 1, 120});
    parameters->setParameterValue(0, 2, now + 1);

    // The incoming patcher takes over the outgoing one's clock and keeps one other target's.
    auto* incoming = new RecordingPatcher();
    incoming->onInitialize = [&] {
        incoming->getEngine()->retargetEvents(outgoing, incoming);
        incoming->getEngine()->rescheduleTargetEvents(&claimed);
    };
    EXPECT_TRUE(engine.setPatcher(PatcherPtr(incoming)));
    incoming->takeCalls();

    runBlock(2);
    const auto calls = incoming->takeCalls();
    test::CallLog expected;
    expected.record("clock", now + 1, 7);
    expected.record("parameter", now + 1, 1, 3);
    expected.record("tempo", now + 1, 120);
    expected.record("parameter", now + 1, 0, 2);
    for (const std::string& call : expected.lines)
        EXPECT_TRUE(contains(calls, call)) << call;
    EXPECT_EQ(claimed.calls.lines.size(), 1u);
    EXPECT_TRUE(unclaimed.calls.lines.empty());
}

TEST_F(EngineFixture, ASwapRefreshesInterfacesAndTheNewPatchersStartUpValuesArriveUnmerged)
{
    RecordingHandler handler;
    const auto parameters = engine.createParameterInterface(ParameterInterfaceAsyncMultiProducer, &handler);
    runBlock();
    handler.clear();

    auto* incoming = new RecordingPatcher();
    incoming->values[2] = 6;
    incoming->onInitialize = [incoming] {
        incoming->getEngine()->scheduleParameterChange(0, 3, 0);
        incoming->getEngine()->scheduleParameterChange(0, 4, 0);
    };
    incoming->onParameter = [incoming](ParameterIndex index, ParameterValue, MillisecondTime) {
        incoming->sendParameter(index, false);
    };
    engine.setPatcher(PatcherPtr(incoming));
    EXPECT_EQ(parameters->getParameterValue(2), 6); // before any block

    runBlock();
    EXPECT_EQ(handler.startups, (std::vector<int32_t>{StartupEvent::Begin, StartupEvent::End}));
    ASSERT_EQ(handler.parameters.size(), 2u);
    EXPECT_EQ(handler.parameters[0].value, 3);
    EXPECT_EQ(handler.parameters[1].value, 4);
    EXPECT_EQ(parameters->getParameterValue(0), 4);
}

TEST_F(EngineFixture, PresetsAreTakenFromAndGivenToThePatcher)
{
    RecordingHandler handler;
    const auto parameters = engine.createParameterInterface(ParameterInterfaceAsyncMultiProducer, &handler);
    runBlock();
    handler.clear();
    patcher->values[0] = 7;

    const std::shared_ptr<PatcherState> preset = engine.getPreset();
    EXPECT_FALSE(preset->isDummy());
    EXPECT_EQ(preset->findFloat("gain"), 7.0f);

    auto state = std::make_unique<PatcherState>();
    state->add("gain", 3.0f);
    engine.setPreset(std::move(state));
    EXPECT_EQ(patcher->values[0], 3);
    runBlock();
    EXPECT_EQ(handler.presets, (std::vector<int32_t>{PresetEvent::AboutToBeSet, PresetEvent::HasBeenSet}));
}
