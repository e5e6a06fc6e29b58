#include "patch/core/MessageTags.h"
#include "runtime/PatcherState.h"

#include "tests/patch/PatchEngine.h"
#include "tests/patch/TestPatchers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace PRT;
using namespace PRT::test;

namespace
{
class GeneratedPatcherTest : public testing::Test
{
protected:
    void SetUp() override
    {
        root = &patch.install(new TestRoot());
        branch = root->branch;
        leaf = branch->leaf;
    }

    PatchEngine patch;
    TestRoot* root = nullptr;
    TestBranch* branch = nullptr;
    TestLeaf* leaf = nullptr;
};

// Two classes with parameters of their own, under one parent without any.
template <int Id>
class ParameterChild final : public GeneratedPatcher
{
public:
    ParameterChild() : GeneratedPatcher({Id == 0 ? "A" : "B", 0, 0}) {}

    ParameterIndex getNumOwnParameters() override { return 2; }
    const char* getParameterName(ParameterIndex index) override
    {
        static const char* names[2][2] = {{"a0", "a1"}, {"b0", "b1"}};
        return index < 2 ? names[Id][index] : GeneratedPatcher::getParameterName(index);
    }
    ParameterValue getParameterValue(ParameterIndex index) override { return index < 2 ? values[index] : 0.0f; }
    void setParameterValue(ParameterIndex index, ParameterValue value, MillisecondTime) override
    {
        if (index < 2)
            values[index] = value;
    }
    ParameterValue convertFromNormalizedParameterValue(ParameterIndex index, ParameterValue value) override
    {
        return index < 2 ? value * 10.0f : GeneratedPatcher::convertFromNormalizedParameterValue(index, value);
    }

    float values[2] = {0, 0};

private:
    void processBlock(const SampleValue* const*, SampleValue* const*, Index) override {}
};

class ParameterParent final : public GeneratedPatcher
{
public:
    ParameterParent() : GeneratedPatcher({"Parent", 0, 0}) {}

    ParameterChild<0>* a = nullptr;
    ParameterChild<1>* b = nullptr;

private:
    void createChildren() override
    {
        a = createChild<ParameterChild<0>>();
        b = createChild<ParameterChild<1>>();
    }
    void processBlock(const SampleValue* const*, SampleValue* const*, Index) override {}
};
} // namespace

TEST_F(GeneratedPatcherTest, UpdateTimeTurnsATimeIntoASampleOffsetInsideTheBlock)
{
    patch.prepare(48000.0f, 64);
    patch.processBlocks(3);
    const MillisecondTime now = patch.engine.getCurrentTime();
    ASSERT_DOUBLE_EQ(now, 4.0);

    const struct
    {
        double samplesFromNow;
        int64_t offset;
    } cases[] = {{0, 0}, {0.5, 1}, {1.49, 1}, {2.5, 3}, {-0.5, 0}, {-1, 0}, {-100, 0}, {63.4, 63}, {63.5, 63}, {1000, 63}};
    for (const auto& c : cases)
    {
        const MillisecondTime time = now + c.samplesFromNow / 48.0;
        leaf->updateTime(time);
        EXPECT_EQ(leaf->getSampleOffset(), c.offset) << c.samplesFromNow << " samples from now";
        EXPECT_EQ(leaf->getTime(), time);
    }

    TestLeaf unprepared;
    unprepared.updateTime(10.0);
    EXPECT_EQ(unprepared.getSampleOffset(), 0) << "a block size of 0 gives offset 0";
}

TEST_F(GeneratedPatcherTest, PrepareSetsRateAndSizeAndRunsObjectSetUpOnlyWhenSomethingChanged)
{
    EXPECT_EQ(leaf->getSampleRate(), 44100.0f);
    EXPECT_EQ(leaf->getBlockSize(), 0u);
    patch.takeSent();

    auto scopeSetups = [&] {
        std::vector<std::vector<float>> setups;
        for (const SentMessage& m : patch.takeSent())
            if (m.tag == tags::setup.hash && m.objectId == branchScopePath.hash)
                setups.push_back(m.values);
        return setups;
    };

    patch.engine.prepareToProcess(48000.0f, 64, false);
    for (GeneratedPatcher* patcher : {static_cast<GeneratedPatcher*>(root), static_cast<GeneratedPatcher*>(leaf)})
    {
        EXPECT_EQ(patcher->getSampleRate(), 48000.0f);
        EXPECT_EQ(patcher->getBlockSize(), 64u);
        EXPECT_EQ(patcher->getVectorSize(), 64u);
        EXPECT_FLOAT_EQ(patcher->getInvSampleRate(), 1.0f / 48000.0f);
    }
    EXPECT_EQ(scopeSetups(), (std::vector<std::vector<float>>{{1, 1, 48000, 0, 1, 0, 0, 128, 1}}));
    EXPECT_EQ(branch->scope.getMode(), 1);

    patch.engine.prepareToProcess(48000.0f, 64, false);
    EXPECT_TRUE(scopeSetups().empty()) << "nothing changed";
    patch.engine.prepareToProcess(48000.0f, 64, true);
    EXPECT_EQ(scopeSetups().size(), 1u) << "forced";
    patch.engine.prepareToProcess(44100.0f, 64, false);
    EXPECT_EQ(scopeSetups(), (std::vector<std::vector<float>>{{1, 1, 44100, 0, 1, 0, 0, 128, 1}}));
    patch.engine.prepareToProcess(44100.0f, 32, false);
    EXPECT_EQ(scopeSetups().size(), 1u) << "size changed";
    EXPECT_EQ(leaf->getBlockSize(), 32u);
}

TEST_F(GeneratedPatcherTest, ProcessReplacesMissingPortsAndCountsSamples)
{
    patch.prepare(48000.0f, 64);
    leaf->gain.setNumberValue(2.0f);

    std::vector<float> in(64, 0.5f), out(64, 9.0f);
    const SampleValue* inputs[] = {in.data()};
    SampleValue* outputs[] = {out.data()};

    leaf->process(inputs, 1, outputs, 1, 64);
    EXPECT_EQ(out[63], 1.0f);
    leaf->process(nullptr, 0, outputs, 1, 32);
    EXPECT_EQ(out[0], 0.0f) << "a missing input reads zeros";
    EXPECT_EQ(out[31], 0.0f);
    EXPECT_EQ(out[32], 1.0f) << "only the block is written";
    const SampleValue* nullInput[] = {nullptr};
    leaf->process(nullInput, 1, nullptr, 0, 64); // a null input, and the output to the dummy buffer
    EXPECT_EQ(leaf->getProcessedSamples(), 64 + 32 + 64);
    EXPECT_EQ(leaf->getVectorSize(), 64u);

    std::vector<float> longBlock(128, 9.0f);
    SampleValue* longOutputs[] = {longBlock.data()};
    leaf->process(nullptr, 0, longOutputs, 1, 128);
    EXPECT_EQ(longBlock[127], 0.0f) << "a block beyond the prepared size gives silence";
}

TEST_F(GeneratedPatcherTest, ResolveTagAsksTheChildrenAndEndsInNothing)
{
    EXPECT_STREQ(root->resolveTag(leafGainPath.hash), "Branch/Leaf/number_obj-1");
    EXPECT_STREQ(root->resolveTag(tags::sig.hash), "sig") << "a tag only the nested leaf's monitor uses";
    EXPECT_STREQ(root->resolveTag(tags::bangout.hash), "bangout");
    EXPECT_STREQ(branch->resolveTag(branchScopePath.hash), "Branch/scope~_obj-8");

    EXPECT_STREQ(root->resolveTag(hashString("nobody/knows")), "") << "the top level answers empty";
    EXPECT_EQ(branch->resolveTag(hashString("nobody/knows")), nullptr) << "a module answers null";
    EXPECT_EQ(leaf->resolveTag(tags::bangin.hash), nullptr) << "the leaf has no button";
    EXPECT_EQ(root->quiet->resolveTag(tags::setup.hash), nullptr);
}

TEST_F(GeneratedPatcherTest, ParametersAreForwardedToTheChildrenByIndex)
{
    EXPECT_EQ(leaf->getNumParameters(), 0u);
    EXPECT_STREQ(leaf->getParameterName(0), "bogus");
    EXPECT_STREQ(branch->getParameterId(0), "bogus");
    EXPECT_EQ(branch->getParameterValue(3), 0.0f);
    ParameterInfo info;
    info.initial = 42.0f;
    branch->getParameterInfo(0, &info);
    EXPECT_EQ(info.initial, 42.0f) << "untouched";
    EXPECT_EQ(leaf->convertFromNormalizedParameterValue(0, 1.5f), 1.0f);
    EXPECT_EQ(leaf->convertFromNormalizedParameterValue(0, -0.5f), 0.0f);
    EXPECT_TRUE(std::isnan(leaf->convertFromNormalizedParameterValue(0, std::nanf(""))));
    EXPECT_EQ(leaf->convertToNormalizedParameterValue(0, 7.0f), 7.0f);
    EXPECT_EQ(leaf->constrainParameterValue(0, 7.0f), 7.0f);

    ParameterParent parent;
    parent.initialize();
    EXPECT_EQ(parent.getNumParameters(), 4u);
    EXPECT_STREQ(parent.getParameterName(0), "a0");
    EXPECT_STREQ(parent.getParameterName(3), "b1");
    EXPECT_STREQ(parent.getParameterName(4), "bogus");
    EXPECT_EQ(parent.a->getParameterOffset(), 0);
    EXPECT_EQ(parent.b->getParameterOffset(), 2);

    parent.setParameterValue(2, 0.75f, 12.0);
    EXPECT_EQ(parent.b->values[0], 0.75f);
    EXPECT_EQ(parent.getParameterValue(2), 0.75f);
    EXPECT_EQ(parent.getTime(), 12.0) << "a class with children updates its time first";
    EXPECT_EQ(parent.convertFromNormalizedParameterValue(1, 2.0f), 10.0f) << "clamped to 1, then the child's";
    EXPECT_EQ(parent.convertFromNormalizedParameterValue(9, 2.0f), 1.0f);
}

TEST_F(GeneratedPatcherTest, SendParameterAddsTheOffsetOnTheWayUp)
{
    branch->setParameterOffset(48);
    leaf->setParameterOffset(5);
    leaf->sendParameter(1, false);
    EXPECT_EQ(root->sentParameters, std::vector<ParameterIndex>{54});
}

TEST_F(GeneratedPatcherTest, GetPresetGivesEveryChildItsSubState)
{
    PatcherState state;
    root->getPreset(state);
    EXPECT_EQ(state.getNumEntries(), 1u);
    const PatcherState& modules = state.getSubState("__sps");
    EXPECT_EQ(modules.getNumEntries(), 2u);
    EXPECT_TRUE(modules.getSubState("Quiet").isEmpty());
    const PatcherState& nested = modules.getSubState("Branch").getSubState("__sps");
    EXPECT_EQ(nested.getNumEntries(), 1u);
    EXPECT_TRUE(nested.getSubState("Leaf").isEmpty()) << "a leaf writes nothing";
}

TEST_F(GeneratedPatcherTest, DataRefsAreNumberedPerClass)
{
    EXPECT_EQ(root->getNumDataRefs(), 1);
    EXPECT_STREQ(root->getDataRef(0)->getName(), "root_table");
    EXPECT_EQ(root->getDataRef(19), nullptr) << "the modules' references are not the top level's";

    EXPECT_EQ(branch->getNumDataRefs(), 2);
    EXPECT_STREQ(branch->getDataRef(19)->getName(), "branch_a_bufferobj");
    EXPECT_STREQ(branch->getDataRef(20)->getName(), "branch_b_bufferobj");
    EXPECT_EQ(branch->getDataRef(20)->getIndex(), 20);
    EXPECT_EQ(branch->getDataRef(0), nullptr);
    EXPECT_EQ(branch->getDataRef(21), nullptr);

    EXPECT_EQ(leaf->getNumDataRefs(), 1);
    EXPECT_STREQ(leaf->getDataRef(19)->getName(), "leaf_bufferobj");
    EXPECT_EQ(root->quiet->getNumDataRefs(), 0);
}
