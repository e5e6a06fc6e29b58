#include "runtime/CoreObject.h"
#include "runtime/Engine.h"
#include "runtime/ParameterInterfaceAsync.h"

#include "tests/runtime/EngineFixture.h"
#include "tests/runtime/RecordingHandler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace PRT;

namespace
{
// The patcher the test factory made last; owned by the core object's engine.
test::ClampingPatcher* created = nullptr;

PatcherInterface* createClampingPatcher()
{
    created = new test::ClampingPatcher();
    created->values[1] = 6;
    return created;
}

PatcherInterface* createNothing()
{
    return nullptr;
}

std::vector<SampleValue> processFilled(CoreObject& core, SampleValue fill)
{
    std::vector<SampleValue> samples(2 * test::fixtureBlockFrames, fill);
    SampleValue* outputs[] = {samples.data(), samples.data() + test::fixtureBlockFrames};
    core.process(nullptr, 0, outputs, 2, test::fixtureBlockFrames);
    return samples;
}
} // namespace

TEST(CoreObject, InstallsWhatItsFactoryMakesAndDescribesItsParameters)
{
    CoreObject core(&createClampingPatcher);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(core.getNumParameters(), test::RecordingPatcher::numParameters);
    EXPECT_STREQ(core.getParameterName(2), created->getParameterName(2));
    EXPECT_STREQ(core.getParameterId(2), created->getParameterId(2));
    ParameterInfo info;
    info.hostVisible = false;
    core.getParameterInfo(0, &info);
    EXPECT_TRUE(info.hostVisible);
    EXPECT_EQ(core.getNumInputChannels(), 2u);
    EXPECT_EQ(core.getNumOutputChannels(), 2u);
    EXPECT_EQ(core.getParameterValue(1), 6); // read from the patcher at installation
    EXPECT_EQ(core.getProbe(), nullptr);
}

TEST(CoreObject, SetValuesAreConstrainedAtOnceAndReachThePatchAtTheNextBlock)
{
    CoreObject core(&createClampingPatcher);
    EXPECT_TRUE(core.prepareToProcess(test::fixtureSampleRate, test::fixtureBlockFrames));
    created->takeCalls();

    core.setParameterValue(0, 40, 0);
    core.setParameterValueNormalized(2, 0.05f, 0);
    EXPECT_EQ(core.getParameterValue(0), 10);
    EXPECT_EQ(core.getParameterValue(2), 5);
    EXPECT_EQ(core.constrainParameterValue(3, -1), 0);
    EXPECT_EQ(created->values[0], 0);

    processFilled(core, 0);
    const auto calls = created->takeCalls();
    test::CallLog expected;
    expected.record("parameter", 0, 0, 10);
    expected.record("parameter", 0, 2, 5);
    expected.record("process", 0, 0, 2, test::fixtureBlockFrames);
    EXPECT_EQ(calls, expected.lines);
}

TEST(CoreObject, ForwardsInterfaceCreationSwapsAndTags)
{
    CoreObject core(&createClampingPatcher);
    core.prepareToProcess(test::fixtureSampleRate, test::fixtureBlockFrames);
    EXPECT_EQ(created->takeCalls(), (std::vector<std::string>{"initialize @0", "prepare 48000 64 0 @-1"}));

    test::RecordingHandler handler;
    const auto parameters = core.createParameterInterface(ParameterInterfaceAsyncMultiProducer, &handler);
    EXPECT_NE(dynamic_cast<ParameterInterfaceAsync*>(parameters.get()), nullptr);
    EXPECT_EQ(handler.getLinkedInterface(), parameters.get());
    created->onProcess = [] { created->getEngine()->sendBangMessage(5, 6, 0); };
    processFilled(core, 0);
    EXPECT_EQ(handler.messages.size(), 1u);

    EXPECT_STREQ(core.resolveTag(5), "");
    EXPECT_FALSE(core.setPatcher(nullptr));
    EXPECT_EQ(core.getNumParameters(), 0u);
}

TEST(CoreObject, WithoutAPatcherItIsSilentAndHasNoParameters)
{
    for (const PatcherFactoryFunction factory : {&createNothing, static_cast<PatcherFactoryFunction>(nullptr)})
    {
        CoreObject core(factory);
        EXPECT_EQ(core.getNumParameters(), 0u);
        EXPECT_EQ(core.getNumOutputChannels(), 2u);
        core.setParameterValue(0, 1, 0); // no such parameter: nothing to remember, nothing breaks
        EXPECT_EQ(core.getParameterValue(0), 0);
        core.prepareToProcess(test::fixtureSampleRate, test::fixtureBlockFrames);
        for (int block = 0; block < 3; ++block)
        {
            const auto samples = processFilled(core, 5);
            EXPECT_EQ(std::count(samples.begin(), samples.end(), 0.0f), static_cast<long>(samples.size()));
        }
    }
}
