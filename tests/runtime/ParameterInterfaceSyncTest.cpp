#include "runtime/Engine.h"
#include "runtime/ParameterInterfaceAsync.h"
#include "runtime/ParameterInterfaceTrigger.h"

#include "tests/runtime/EngineFixture.h"
#include "tests/runtime/RecordingHandler.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

using namespace PRT;
using test::EngineFixture;
using test::parameterCall;
using test::RecordingHandler;

namespace
{
class SyncInterfaceTest : public EngineFixture
{
protected:
    SyncInterfaceTest()
    {
        runBlock(2);
        patcher->takeCalls();
        // The patcher reports every value it receives back, as the generated patch does.
        patcher->onParameter = [this](ParameterIndex index, ParameterValue, MillisecondTime) {
            patcher->sendParameter(index, false);
        };
    }
};
} // namespace

TEST(ParameterInterfaceKinds, EachTypeMakesItsInterface)
{
    struct Case
    {
        int32_t type;
        const std::type_info& core;
        const std::type_info& engine;
    };
    const Case cases[] = {
        {0, typeid(ParameterInterfaceSync), typeid(ParameterInterfaceAsync)},
        {1, typeid(ParameterInterfaceSync), typeid(ParameterInterfaceAsync)},
        {2, typeid(ParameterInterfaceSync), typeid(ParameterInterfaceSync)},
        {3, typeid(ParameterInterfaceTrigger), typeid(ParameterInterfaceTrigger)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.type);
        EngineCore core;
        Engine engine;
        RecordingHandler coreHandler, engineHandler;
        const auto fromCore = core.createParameterInterface(c.type, &coreHandler);
        const auto fromEngine = engine.createParameterInterface(c.type, &engineHandler);
        EXPECT_EQ(typeid(*fromCore), c.core);
        EXPECT_EQ(typeid(*fromEngine), c.engine);
        EXPECT_EQ(coreHandler.getLinkedInterface(), fromCore.get());
        EXPECT_EQ(engineHandler.getLinkedInterface(), fromEngine.get());
    }
}

TEST_F(SyncInterfaceTest, EventsGoStraightIntoTheScheduleAndValuesAreReadFromThePatcher)
{
    const auto parameters = engine.createParameterInterface(ParameterInterfaceSynchronous, nullptr);
    const MillisecondTime now = engine.getCurrentTime();
    parameters->setParameterValue(0, 4, 0); // stamped in the past: raised to now
    parameters->setParameterValue(1, 6, now + 2);
    EXPECT_EQ(parameters->getParameterValue(0), 0); // the patcher has not seen it yet

    runBlock(2);
    EXPECT_EQ(parameterCalls(), (std::vector<std::string>{parameterCall(0, 4, now), parameterCall(1, 6, now + 2)}));
    EXPECT_EQ(parameters->getParameterValue(0), 4);
}

TEST_F(SyncInterfaceTest, ReportsReachTheHandlerAtOnceExceptTheInterfacesOwnUnalteredChange)
{
    RecordingHandler handler;
    const auto parameters = engine.createParameterInterface(ParameterInterfaceSynchronous, &handler);

    // The shadow still holds 0: this is news to the handler.
    parameters->setParameterValue(0, 4, 0);
    runBlock();
    ASSERT_EQ(handler.parameters.size(), 1u);
    EXPECT_EQ(handler.parameters[0].value, 4);

    // The same value again comes back unaltered: suppressed.
    handler.clear();
    parameters->setParameterValue(0, 4, 0);
    runBlock();
    EXPECT_TRUE(handler.parameters.empty());

    // Every report reaches the handler, unmerged and without waiting for a flush.
    patcher->onProcess = [this] {
        patcher->getEngine()->notifyParameterValueChanged(2, 1, true);
        patcher->getEngine()->notifyParameterValueChanged(2, 2, true);
    };
    runBlock();
    ASSERT_EQ(handler.parameters.size(), 2u);
    EXPECT_EQ(handler.parameters[1].value, 2);
    EXPECT_EQ(handler.parameters[1].source, parameters.get());
}

TEST_F(SyncInterfaceTest, PresetRequestsAreAnsweredAtOnce)
{
    patcher->values[0] = 7;
    const auto parameters = engine.createParameterInterface(ParameterInterfaceSynchronous, nullptr);
    std::shared_ptr<PatcherState> answer;
    parameters->scheduleEvent(PresetEvent{0, PresetEvent::Get, {}, [&](std::shared_ptr<PatcherState> state) {
                                              answer = std::move(state);
                                          }});
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer->findFloat("gain"), 7.0f);
}

TEST_F(SyncInterfaceTest, TriggeringInterfaceDeliversAtOnceOutsideADelivery)
{
    const auto parameters = engine.createParameterInterface(ParameterInterfaceTriggering, nullptr);
    const MillisecondTime now = engine.getCurrentTime();
    engine.scheduleParameterChange(3, 1, 5); // due before the triggering event
    engine.scheduleParameterChange(3, 2, 50);

    parameters->setParameterValue(0, 4, now + 10);
    EXPECT_EQ(parameterCalls(), (std::vector<std::string>{parameterCall(3, 1, now + 5), parameterCall(0, 4, now + 10)}));

    // Scheduled from inside a delivery it waits for its turn.
    patcher->onParameter = [&](ParameterIndex index, ParameterValue, MillisecondTime) {
        if (index == 0)
            parameters->setParameterValue(1, 9, now + 60);
    };
    parameters->setParameterValue(0, 5, now);
    EXPECT_EQ(parameterCalls(), std::vector<std::string>{parameterCall(0, 5, now)});
    runBlock(50);
    EXPECT_EQ(parameterCalls(), (std::vector<std::string>{parameterCall(3, 2, now + 50), parameterCall(1, 9, now + 60)}));
}
