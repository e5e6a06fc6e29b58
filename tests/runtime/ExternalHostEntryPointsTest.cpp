#include "runtime/EngineCore.h"
#include "runtime/EngineInterface.h"
#include "runtime/ExternalHostEntryPoints.h"
#include "runtime/ExternalLoader.h"
#include "runtime/Logger.h"

#include "tests/runtime/CallLog.h"
#include "tests/runtime/CountingPlatform.h"
#include "tests/runtime/TestExternals.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace PRT;

namespace
{
// An engine that writes each call it receives as one line; targets and senders are named by the
// part of the loader they point at.
class RecordingEngine : public EngineInterface
{
public:
    explicit RecordingEngine(ExternalLoader& loader) : loader(loader) {}

    void scheduleClockEvent(EventTarget* target, ClockId clockId, MillisecondTime time) override
    {
        record("scheduleClockEvent", name(target), clockId, time);
    }
    void scheduleClockEventWithValue(EventTarget* target, ClockId clockId, MillisecondTime time,
                                     ParameterValue value) override
    {
        record("scheduleClockEventWithValue", name(target), clockId, time, value);
    }
    void flushClockEvents(EventTarget* target, ClockId clockId, bool execute) override
    {
        record("flushClockEvents", name(target), clockId, execute);
    }
    void flushClockEventsWithValue(EventTarget* target, ClockId clockId, ParameterValue value, bool execute) override
    {
        record("flushClockEventsWithValue", name(target), clockId, value, execute);
    }
    void sendMidiEvent(int32_t port, uint8_t byte0, uint8_t byte1, uint8_t byte2, MillisecondTime time) override
    {
        record("sendMidiEvent", port, int(byte0), int(byte1), int(byte2), time);
    }
    void sendMidiEventList(int32_t port, const list& bytes, MillisecondTime time) override
    {
        record("sendMidiEventList", port, test::commaJoined(bytes.data(), bytes.size()), time);
    }
    void sendOutlet(EngineLink* sender, OutletIndex index, ParameterValue value, SampleOffset offset) override
    {
        record("sendOutlet", sender == static_cast<EngineLink*>(&loader) ? "loader" : "other", index, value, offset);
    }
    void sendDataRefUpdated(DataRefIndex) override { record("unexpected"); }
    void sendTempoEvent(float) override { record("unexpected"); }
    void sendTransportEvent(int32_t) override { record("unexpected"); }
    void sendBeatTimeEvent(float) override { record("unexpected"); }
    void sendTimeSignatureEvent(int32_t, int32_t) override { record("unexpected"); }
    void sendNumMessage(MessageTag, MessageTag, float, MillisecondTime) override { record("unexpected"); }
    void sendListMessage(MessageTag, MessageTag, const list&, MillisecondTime) override { record("unexpected"); }
    void sendBangMessage(MessageTag, MessageTag, MillisecondTime) override { record("unexpected"); }
    void notifyParameterValueChanged(ParameterIndex, ParameterValue, bool) override { record("unexpected"); }
    void scheduleParameterChange(ParameterIndex, ParameterValue, MillisecondTime) override { record("unexpected"); }
    void scheduleParameterBang(ParameterIndex, MillisecondTime) override { record("unexpected"); }
    void retargetEvents(EventTarget*, EventTarget*) override { record("unexpected"); }
    void rescheduleTargetEvents(EventTarget*) override { record("unexpected"); }
    MillisecondTime getCurrentTime() override { return 123.5; }
    void presetTouched() override { record("unexpected"); }

    std::vector<std::string> calls;

private:
    const char* name(EventTarget* target) const
    {
        return target == static_cast<EventTarget*>(&loader) ? "loader" : "other";
    }

    template <typename... Arguments>
    void record(const char* operation, const Arguments&... arguments)
    {
        calls.push_back(test::callLine(operation, arguments...));
    }

    ExternalLoader& loader;
};

struct HostCallCase
{
    const char* name;
    std::function<void(ExternalLoader*)> call;
    std::string expected;
};

std::vector<HostCallCase> hostCallCases()
{
    return {
        {"scheduleClockEvent", [](ExternalLoader* l) { ExternalHost::scheduleClockEvent(l, 4, 10.5); },
         "scheduleClockEvent loader 4 10.5"},
        {"scheduleClockEventWithValue",
         [](ExternalLoader* l) { ExternalHost::scheduleClockEventWithValue(l, 5, 11.25, 0.75f); },
         "scheduleClockEventWithValue loader 5 11.25 0.75"},
        {"flushClockEvents", [](ExternalLoader* l) { ExternalHost::flushClockEvents(l, 6, true); },
         "flushClockEvents loader 6 1"},
        {"flushClockEventsWithValue", [](ExternalLoader* l) { ExternalHost::flushClockEventsWithValue(l, 7, 0.5f, false); },
         "flushClockEventsWithValue loader 7 0.5 0"},
        {"sendMidiEvent", [](ExternalLoader* l) { ExternalHost::sendMidiEvent(l, 2, 0x90, 64, 127, 3.5); },
         "sendMidiEvent 2 144 64 127 3.5"},
        {"sendMidiEventList",
         [](ExternalLoader* l) {
             list bytes;
             bytes.push(176);
             bytes.push(7);
             bytes.push(100);
             bytes.push(192);
             ExternalHost::sendMidiEventList(l, 1, &bytes, 8.0);
         },
         "sendMidiEventList 1 176,7,100,192 8"},
        {"sendOutlet",
         [](ExternalLoader* l) {
             int ignored = 0;
             ExternalHost::sendOutlet(l, &ignored, 3, 0.25f);
         },
         "sendOutlet loader 3 0.25 0"},
    };
}
} // namespace

TEST(ExternalHostEntryPoints, LoaderCallsReachTheLinkedEngineWithTheLoaderAsTarget)
{
    auto loader = std::unique_ptr<ExternalLoader>(createExternalLoader(nullptr, "host-calls.so", "/nowhere"));
    RecordingEngine engine(*loader);
    loader->setEngineAndParent(&engine, nullptr);

    for (const HostCallCase& c : hostCallCases())
    {
        SCOPED_TRACE(c.name);
        engine.calls.clear();
        c.call(loader.get());
        EXPECT_EQ(engine.calls, std::vector<std::string>{c.expected});
    }
    EXPECT_EQ(ExternalHost::getCurrentTime(loader.get()), 123.5);
}

TEST(ExternalHostEntryPoints, WithoutAnEngineLoaderCallsDoNothing)
{
    auto loader = std::unique_ptr<ExternalLoader>(createExternalLoader(nullptr, "host-calls.so", "/nowhere"));
    ASSERT_EQ(loader->getEngine(), nullptr);
    for (const HostCallCase& c : hostCallCases())
    {
        SCOPED_TRACE(c.name);
        c.call(loader.get());
        c.call(nullptr);
    }
    EXPECT_EQ(ExternalHost::getCurrentTime(loader.get()), 0.0);
    EXPECT_EQ(ExternalHost::getCurrentTime(nullptr), 0.0);
}

TEST(ExternalHostEntryPoints, VersionPlatformAndConsole)
{
    int32_t major = -1, minor = -1;
    ExternalHost::getInterfaceVersion(&major, &minor);
    EXPECT_EQ(major, 1);
    EXPECT_EQ(minor, 0);

    test::CountingPlatform platform;
    PlatformInterface* offered = nullptr;
    ExternalHost::getPlatformInterface(&offered);
    EXPECT_EQ(offered, &platform);

    ExternalHost::consoleLog(LogWarning, "late");
    EXPECT_EQ(platform.printed, std::vector<std::string>{"[WARNING]\tlate\n"});
}

TEST(ExternalHostEntryPoints, TableFindsEachEntryPointByName)
{
    const std::vector<std::pair<const char*, void*>> expected = {
        {"getInterfaceVersion", reinterpret_cast<void*>(&ExternalHost::getInterfaceVersion)},
        {"getPlatformInterface", reinterpret_cast<void*>(&ExternalHost::getPlatformInterface)},
        {"consoleLog", reinterpret_cast<void*>(&ExternalHost::consoleLog)},
        {"scheduleClockEvent", reinterpret_cast<void*>(&ExternalHost::scheduleClockEvent)},
        {"scheduleClockEventWithValue", reinterpret_cast<void*>(&ExternalHost::scheduleClockEventWithValue)},
        {"flushClockEvents", reinterpret_cast<void*>(&ExternalHost::flushClockEvents)},
        {"flushClockEventsWithValue", reinterpret_cast<void*>(&ExternalHost::flushClockEventsWithValue)},
        {"sendMidiEvent", reinterpret_cast<void*>(&ExternalHost::sendMidiEvent)},
        {"sendMidiEventList", reinterpret_cast<void*>(&ExternalHost::sendMidiEventList)},
        {"sendOutlet", reinterpret_cast<void*>(&ExternalHost::sendOutlet)},
        {"getCurrentTime", reinterpret_cast<void*>(&ExternalHost::getCurrentTime)},
    };
    for (const auto& [name, address] : expected)
        EXPECT_EQ(findExternalHostEntryPoint(name), address) << name;
    EXPECT_EQ(findExternalHostEntryPoint("process"), nullptr);
    EXPECT_EQ(findExternalHostEntryPoint(""), nullptr);
    EXPECT_EQ(findExternalHostEntryPoint(nullptr), nullptr);
}

// The whole path on the real engine: a clock scheduled through the host entry point comes back to
// the external's processClockEvent when the engine reaches its time.
TEST(ExternalHostEntryPoints, ScheduledClockReachesTheExternalThroughTheEngine)
{
    test::ExternalProbe probe(test::completeExternal);
    auto loader = std::unique_ptr<ExternalLoader>(createExternalLoader(nullptr, test::completeExternal,
                                                                       test::externalFolder));
    EngineCore engine;
    engine.prepareToProcess(48000, 64, false);
    loader->setEngineAndParent(&engine, nullptr);
    probe.takeCalls(loader->getHandle());

    ExternalHost::scheduleClockEventWithValue(loader.get(), 11, 1.0, 0.5f);
    ExternalHost::scheduleClockEvent(loader.get(), 12, 2.0);
    std::vector<SampleValue> left(64), right(64);
    SampleValue* outputs[] = {left.data(), right.data()};
    engine.process(nullptr, 0, outputs, 2, 64, nullptr, nullptr); // 0 .. 1.333 ms
    EXPECT_EQ(probe.takeCalls(loader->getHandle()), "processClockEvent 1 11 1 0.5\n");
    engine.process(nullptr, 0, outputs, 2, 64, nullptr, nullptr);
    EXPECT_EQ(probe.takeCalls(loader->getHandle()), "processClockEvent 2 12 0 0\n");
    EXPECT_NEAR(ExternalHost::getCurrentTime(loader.get()), 2 * 64 * 1000.0 / 48000, 1e-9);
}
