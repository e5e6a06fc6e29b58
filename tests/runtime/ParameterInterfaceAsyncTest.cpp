#include "runtime/Engine.h"
#include "runtime/ParameterInterfaceAsync.h"

#include "tests/runtime/EngineFixture.h"
#include "tests/runtime/RecordingHandler.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace PRT;
using test::EngineFixture;
using test::parameterCall;
using test::RecordingHandler;

namespace
{
// Blocks of 64 frames at 48 kHz between two flushes of reported values (15 ms).
constexpr int blocksPerFlush = 12;

class AsyncInterfaceTest : public EngineFixture
{
protected:
    std::unique_ptr<ParameterEventInterface> create(EventHandler* handler = nullptr,
                                                    int32_t type = ParameterInterfaceAsyncMultiProducer)
    {
        return engine.createParameterInterface(type, handler);
    }

    // The patcher reports every value it receives back, as the generated patch does.
    void echoParameters()
    {
        patcher->onParameter = [this](ParameterIndex index, ParameterValue, MillisecondTime) {
            patcher->sendParameter(index, false);
        };
    }
};

// Both asynchronous kinds: single-producer and multi-producer queues.
class AsyncInterfaceKindTest : public AsyncInterfaceTest, public testing::WithParamInterface<int32_t>
{
};
} // namespace

INSTANTIATE_TEST_SUITE_P(Kinds, AsyncInterfaceKindTest,
                         testing::Values(ParameterInterfaceAsyncSingleProducer, ParameterInterfaceAsyncMultiProducer));

TEST_P(AsyncInterfaceKindTest, ValuesAreConstrainedIntoTheShadowBeforeAnyProcessing)
{
    const auto parameters = create(nullptr, GetParam());
    parameters->setParameterValue(0, 25, 0);
    parameters->setParameterValue(1, -3, 0);
    parameters->setParameterValue(2, 4.5f, 0);
    parameters->setParameterValueNormalized(3, 0.5f, 0); // 50 before the clamp

    EXPECT_EQ(parameters->getParameterValue(0), 10);
    EXPECT_EQ(parameters->getParameterValue(1), 0);
    EXPECT_EQ(parameters->getParameterValue(2), 4.5f);
    EXPECT_EQ(parameters->getParameterValue(3), 10);
    EXPECT_TRUE(parameterCalls().empty()); // nothing has reached the patcher yet

    runBlock();
    EXPECT_EQ(parameterCalls(),
              (std::vector<std::string>{parameterCall(0, 10, 0), parameterCall(1, 0, 0), parameterCall(2, 4.5f, 0),
                                        parameterCall(3, 10, 0)}));
}

TEST_P(AsyncInterfaceKindTest, HundredSetsBetweenTwoBlocksArriveAsHundredOrderedEvents)
{
    const auto parameters = create(nullptr, GetParam());
    runBlock(3);
    const MillisecondTime blockStart = engine.getCurrentTime();

    std::vector<std::string> expected;
    for (int i = 0; i < 100; ++i)
    {
        const ParameterValue value = static_cast<ParameterValue>(i) / 10;
        parameters->setParameterValue(1, value, 0); // stamped in the past
        expected.push_back(parameterCall(1, value, blockStart));
    }
    runBlock();
    EXPECT_EQ(parameterCalls(), expected);
}

TEST_P(AsyncInterfaceKindTest, WithoutHandlerReportedValuesReachTheShadowAtEachFlush)
{
    const auto parameters = create(nullptr, GetParam());
    ParameterValue reported = 7;
    patcher->onProcess = [&] { patcher->getEngine()->notifyParameterValueChanged(3, reported, true); };

    runBlock(); // the first flush comes at once
    EXPECT_EQ(parameters->getParameterValue(3), 7);

    reported = 8;
    runBlock(blocksPerFlush - 1);
    EXPECT_EQ(parameters->getParameterValue(3), 7);
    runBlock();
    EXPECT_EQ(parameters->getParameterValue(3), 8);
}

TEST_F(AsyncInterfaceTest, RegistrationTakesEffectAtTheNextProcess)
{
    RecordingHandler handler;
    const auto parameters = create(&handler);
    EXPECT_EQ(handler.getLinkedInterface(), parameters.get());

    // Not registered yet: a message the patch sends now has no interface to go to.
    engine.sendBangMessage(1, 2, 0);
    parameters->setParameterValue(0, 2, 0);
    patcher->onProcess = [this] { patcher->getEngine()->sendBangMessage(3, 4, 0); };

    runBlock();
    ASSERT_EQ(handler.messages.size(), 1u);
    EXPECT_EQ(handler.messages[0].tag, 3u);
    EXPECT_EQ(parameterCalls(), std::vector<std::string>{parameterCall(0, 2, 0)});
}

TEST_F(AsyncInterfaceTest, ReportedValuesAreFlushedEveryTwelfthBlockWithTheLatestValue)
{
    RecordingHandler handler;
    const auto parameters = create(&handler);
    int block = 0;
    patcher->onProcess = [&] {
        patcher->getEngine()->notifyParameterValueChanged(0, static_cast<ParameterValue>(block), true);
    };

    std::vector<int> flushedAt;
    std::vector<ParameterValue> flushedValues;
    for (block = 0; block < 50; ++block)
    {
        const size_t before = handler.parameters.size();
        runBlock();
        if (handler.parameters.size() != before)
        {
            ASSERT_EQ(handler.parameters.size(), before + 1); // merged: one event per parameter
            flushedAt.push_back(block);
            flushedValues.push_back(handler.parameters.back().value);
        }
    }
    EXPECT_EQ(flushedAt, (std::vector<int>{0, 12, 24, 36, 48}));
    EXPECT_EQ(flushedValues, (std::vector<ParameterValue>{0, 12, 24, 36, 48}));
    EXPECT_EQ(parameters->getParameterValue(0), 48);
}

TEST_F(AsyncInterfaceTest, EchoesOfTheInterfacesOwnChangesAreSuppressed)
{
    RecordingHandler handler;
    const auto parameters = create(&handler);
    runBlock();
    handler.clear();

    // The patcher halves what it receives and reports the result.
    bool halve = true;
    patcher->onParameter = [&](ParameterIndex index, ParameterValue value, MillisecondTime) {
        if (halve)
            patcher->values[index] = value / 2;
        patcher->sendParameter(index, false);
    };
    auto step = [&](ParameterIndex index, ParameterValue value) {
        handler.clear();
        parameters->setParameterValue(index, value, 0);
        runBlock(blocksPerFlush);
        std::vector<ParameterValue> seen;
        for (const ParameterEvent& event : handler.parameters)
            seen.push_back(event.value);
        return seen;
    };

    // Altered by the patch: news to the handler, and the shadow follows.
    EXPECT_EQ(step(0, 8), std::vector<ParameterValue>{4});
    EXPECT_EQ(parameters->getParameterValue(0), 4);
    // A second echo in a row for the same parameter is suppressed although it differs.
    EXPECT_EQ(step(0, 6), std::vector<ParameterValue>{});
    EXPECT_EQ(parameters->getParameterValue(0), 6);
    // Another parameter breaks the run.
    EXPECT_EQ(step(1, 8), std::vector<ParameterValue>{4});
    // Unaltered: the handler knows the value already.
    halve = false;
    EXPECT_EQ(step(2, 5), std::vector<ParameterValue>{});
    EXPECT_EQ(parameters->getParameterValue(2), 5);

    // Changes caused elsewhere always reach the handler, even with the value it has.
    const auto other = create();
    handler.clear();
    other->setParameterValue(2, 5, 0);
    runBlock(blocksPerFlush);
    ASSERT_EQ(handler.parameters.size(), 1u);
    EXPECT_NE(handler.parameters[0].source, nullptr);
    EXPECT_EQ(handler.parameters[0].value, 5);

    handler.clear();
    patcher->onProcess = [this] { patcher->getEngine()->notifyParameterValueChanged(2, 5, true); };
    runBlock(blocksPerFlush);
    ASSERT_EQ(handler.parameters.size(), 1u);
    EXPECT_EQ(handler.parameters[0].source, nullptr);
}

TEST_F(AsyncInterfaceTest, HandlerIsCalledOnlyWhenEventsWereQueued)
{
    RecordingHandler handler;
    const auto parameters = create(&handler);
    runBlock(); // start-up notices of the installed patcher
    const int notifications = handler.notifications;
    runBlock(30);
    EXPECT_EQ(handler.notifications, notifications);
    engine.sendTempoEvent(120);
    runBlock();
    EXPECT_EQ(handler.notifications, notifications + 1);
    EXPECT_EQ(handler.tempos, std::vector<float>{120});
}

TEST_F(AsyncInterfaceTest, ADestroyedHandleIsDroppedBeforeTheNextBlock)
{
    RecordingHandler handler;
    auto parameters = create(&handler);
    runBlock();
    handler.clear();

    parameters.reset();
    patcher->onProcess = [this] { patcher->getEngine()->sendBangMessage(3, 4, 0); };
    runBlock();
    EXPECT_TRUE(handler.messages.empty());
    EXPECT_EQ(handler.notifications, 0);
}

TEST(ParameterInterfaceLifetime, AnInterfaceOutlivingItsEngineNeverTouchesItAgain)
{
    for (const int32_t type : {0, 1, 2, 3})
    {
        SCOPED_TRACE(type);
        auto engine = std::make_unique<Engine>();
        auto* patcher = new test::ClampingPatcher();
        patcher->values[1] = 2;
        patcher->onParameter = [patcher](ParameterIndex index, ParameterValue, MillisecondTime) {
            patcher->sendParameter(index, false);
        };
        engine->setPatcher(PatcherPtr(patcher));
        test::RecordingHandler handler;
        auto parameters = engine->createParameterInterface(type, &handler);
        parameters->setParameterValue(1, 3, 0);
        test::runBlocks(*engine);
        const ParameterValue lastKnown = parameters->getParameterValue(1);
        EXPECT_EQ(lastKnown, 3);

        engine.reset();
        EXPECT_EQ(parameters->getNumParameters(), 0u);
        EXPECT_STREQ(parameters->getParameterName(0), "");
        EXPECT_EQ(parameters->constrainParameterValue(0, 25), 25);
        parameters->setParameterValue(1, 9, 0);
        parameters->scheduleEvent(ParameterEvent{1, 0, 9, nullptr, nullptr});
        EXPECT_EQ(parameters->getParameterValue(1), lastKnown);
        parameters.reset(); // nothing to tell the engine any more
    }
}
