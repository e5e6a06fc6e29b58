#include "patch/core/MessageTags.h"

#include "tests/patch/PatchEngine.h"
#include "tests/patch/TestPatchers.h"
#include "tests/runtime/CountingPlatform.h"

#include <gtest/gtest.h>

#include <memory>

using namespace PRT;
using namespace PRT::test;

// The two-level test patch running in the real engine core: 48 kHz, blocks of 64 samples.
namespace
{
class GeneratedPatchEngineTest : public testing::Test
{
protected:
    void SetUp() override
    {
        root = &patch.install(new TestRoot());
        branch = root->branch;
        leaf = branch->leaf;
        patch.prepare(48000.0f, 64);
    }

    MillisecondTime now() { return patch.engine.getCurrentTime(); }

    std::vector<SentMessage> sentBy(MessageTag objectId)
    {
        std::vector<SentMessage> found;
        for (const SentMessage& m : patch.takeSent())
            if (m.objectId == objectId)
                found.push_back(m);
        return found;
    }

    PatchEngine patch;
    TestRoot* root = nullptr;
    TestBranch* branch = nullptr;
    TestLeaf* leaf = nullptr;
};
} // namespace

TEST_F(GeneratedPatchEngineTest, SetUpAnnouncesObjectsAndLoadClocksFireInTheFirstBlock)
{
    const std::vector<SentMessage> sent = patch.takeSent();
    auto count = [&](const HashedText& tag, const HashedText& object) {
        return std::count_if(sent.begin(), sent.end(),
                             [&](const SentMessage& m) { return m.tag == tag.hash && m.objectId == object.hash; });
    };
    EXPECT_EQ(count(tags::setup, leafGainPath), 1);
    EXPECT_EQ(count(tags::setup, leafLevelPath), 1);
    EXPECT_EQ(count(tags::listout, leafContentPath), 1);
    EXPECT_EQ(leaf->content.getContent().size(), 2u);
    EXPECT_EQ(leaf->gain.getFormat(), NumberBox::floatFormat);

    EXPECT_EQ(leaf->loadFires, 0);
    patch.processBlocks(1);
    EXPECT_EQ(leaf->loadFires, 1);
    patch.processBlocks(3);
    EXPECT_EQ(leaf->loadFires, 1) << "once";

    patch.sendBang(tags::startupbang.hash, leafLoadPath.hash, now());
    patch.processBlocks(1);
    EXPECT_EQ(leaf->loadFires, 2) << "again on startupbang";
}

TEST_F(GeneratedPatchEngineTest, AMessageReachesANestedObjectAndEveryClassOnTheWayUpdatesItsTime)
{
    patch.processBlocks(2);
    patch.takeSent();
    const MillisecondTime at = now() + 0.5;

    MillisecondTime rootTime = -1, branchTime = -1, leafTime = -1;
    leaf->gain.onValue = [&](float value) {
        leaf->gainValue = value;
        rootTime = root->getTime();
        branchTime = branch->getTime();
        leafTime = leaf->getTime();
    };
    patch.sendNumber(tags::valin.hash, leafGainPath.hash, 0.5f, at);
    patch.processBlocks(1, 0.8f);

    EXPECT_EQ(leaf->gainValue, 0.5f);
    EXPECT_DOUBLE_EQ(rootTime, at);
    EXPECT_DOUBLE_EQ(branchTime, at);
    EXPECT_DOUBLE_EQ(leafTime, at);
    EXPECT_EQ(leaf->getSampleOffset(), 0) << "the block's process has brought the time back to its start";
    EXPECT_FLOAT_EQ(patch.outLeft[63], 0.4f) << "the leaf's gain is in the audio path";
    EXPECT_FLOAT_EQ(patch.outRight[63], 0.8f);
    const std::vector<SentMessage> echoes = sentBy(leafGainPath.hash);
    ASSERT_EQ(echoes.size(), 1u);
    EXPECT_EQ(echoes[0].tag, tags::valout.hash);
    EXPECT_EQ(echoes[0].number, 0.5f);
    EXPECT_DOUBLE_EQ(echoes[0].time, at) << "sent at the class's time";
}

TEST_F(GeneratedPatchEngineTest, AClassWithoutObjectsForAMessageKindDoesNotLookAtIt)
{
    patch.processBlocks(1);
    const MillisecondTime quietBefore = root->quiet->getTime();
    const MillisecondTime at = now() + 2.0;
    root->processNumMessage(tags::valin.hash, leafGainPath.hash, at, 1.0f);
    EXPECT_EQ(branch->getTime(), at);
    EXPECT_EQ(root->quiet->getTime(), quietBefore) << "no objects, no children: not even the time";
}

TEST(GeneratedPatcherMessageKinds, OnlyTheKindsAClassHasObjectsForUpdateItsTime)
{
    // Like the output amplifier: monitors take numbers and lists, nothing takes bangs.
    class MonitorsOnly final : public GeneratedPatcher
    {
    public:
        MonitorsOnly() : GeneratedPatcher({"MonitorsOnly", 1, 1}) {}
        SignalMonitor monitor{*this, HashedText("MonitorsOnly/number~_obj-1"), clocks::monitorA};

    private:
        void processBlock(const SampleValue* const*, SampleValue* const*, Index) override {}
    } module;

    module.processBangMessage(tags::bangin.hash, module.monitor.getId(), 5.0);
    EXPECT_EQ(module.getTime(), 0.0);
    module.processListMessage(tags::sig.hash, module.monitor.getId(), 6.0, list());
    EXPECT_EQ(module.getTime(), 6.0);
    module.processNumMessage(tags::sig.hash, hashString("MonitorsOnly/other"), 7.0, 1.0f);
    EXPECT_EQ(module.getTime(), 7.0) << "a kind the class takes updates the time, whoever it is for";
    EXPECT_EQ(module.monitor.getSetValue(), 0.0f);
}

TEST_F(GeneratedPatchEngineTest, MessagesMatchTagAndObjectOrPassThrough)
{
    patch.processBlocks(1);
    patch.takeSent();
    const MillisecondTime t = now();

    patch.sendNumber(tags::valin.hash, branchPowerPath.hash, 0.2f, t);  // toggle: holds 1
    patch.sendNumber(tags::sig.hash, leafGainPath.hash, 9.0f, t);       // a tag the number box ignores
    patch.sendNumber(tags::valin.hash, hashString("Branch/nothing"), 3.0f, t); // nobody has this ID
    patch.sendBang(tags::bangin.hash, branchResetPath.hash, t);
    patch.sendNumber(tags::valin.hash, branchMixPath.hash, 32.0f, t);
    patch.sendList(tags::listin.hash, leafContentPath.hash, {7, 8, 9}, t);
    patch.sendBang(tags::listin.hash, leafContentPath.hash, t);
    patch.processBlocks(1);

    EXPECT_EQ(branch->powerValue, 1.0f);
    EXPECT_EQ(leaf->gainValue, 1.0f);
    EXPECT_EQ(branch->resets, 1);
    EXPECT_FLOAT_EQ(branch->mixValue, 0.25f);
    ASSERT_EQ(leaf->outputs.size(), 1u);
    EXPECT_EQ(leaf->outputs[0], (std::vector<float>{7, 8, 9}));

    std::vector<std::pair<MessageTag, MessageTag>> sent;
    for (const SentMessage& m : patch.takeSent())
        sent.emplace_back(m.tag, m.objectId);
    EXPECT_EQ(sent, (std::vector<std::pair<MessageTag, MessageTag>>{
                        {tags::valout.hash, branchPowerPath.hash},
                        {tags::bangout.hash, branchResetPath.hash},
                        {tags::valout.hash, branchMixPath.hash},
                        {tags::listout.hash, leafContentPath.hash},
                    }))
        << "the bang to the message box outputs its content without listout";
}

TEST_F(GeneratedPatchEngineTest, DataRefsAreAllocatedAndEveryOwnerOfAnIndexRebuildsItsView)
{
    // Allocation at initialisation told the engine; the first block delivers the updates.
    patch.processBlocks(1);
    EXPECT_EQ(leaf->memory.getFrameCount(), 64u);
    EXPECT_EQ(branch->delayA.getFrameCount(), 128u);
    EXPECT_EQ(branch->delayB.getFrameCount(), 32u);
    EXPECT_EQ(branch->delayB.getView()->getChannels(), 2u);
    ASSERT_NE(branch->table.getView(), nullptr);
    EXPECT_EQ(branch->table.getView()->getSize(), 16u) << "the view of the top level's reference 0";
    ASSERT_NE(leaf->memory.getSamples(), nullptr);
    EXPECT_EQ(leaf->memory.getSamples()[63], 0.0);

    const Float64Buffer* leafView = leaf->memory.getView();
    const Float64Buffer* viewA = branch->delayA.getView();
    const Float64Buffer* viewB = branch->delayB.getView();
    const Float64Buffer* tableView = branch->table.getView();

    patch.engine.sendDataRefUpdated(19);
    patch.processBlocks(1);
    EXPECT_NE(leaf->memory.getView(), leafView) << "the leaf owns a reference 19";
    EXPECT_NE(branch->delayA.getView(), viewA) << "so does the branch";
    EXPECT_EQ(branch->delayB.getView(), viewB);
    EXPECT_EQ(branch->table.getView(), tableView);
    EXPECT_EQ(leaf->memory.getFrameCount(), 64u) << "the new view sees the same storage";
    EXPECT_EQ(branch->delayB.getView()->getRequestedChannels(), 2u);

    patch.engine.sendDataRefUpdated(0);
    patch.processBlocks(1);
    EXPECT_NE(branch->table.getView(), tableView) << "a view of the top level's reference 0";
    EXPECT_EQ(branch->delayB.getView(), viewB);

    // A request that grows allocates again, keeps the contents and tells the engine once more.
    leaf->memory.getSamples()[10] = 0.5;
    leaf->memory.requestFrames(256);
    root->allocateDataRefs();
    patch.processBlocks(1);
    EXPECT_EQ(leaf->memory.getFrameCount(), 256u);
    EXPECT_EQ(leaf->memory.getSamples()[10], 0.5);
    EXPECT_EQ(leaf->memory.getSamples()[255], 0.0);
}

TEST_F(GeneratedPatchEngineTest, TheFirstMonitorReportComesWithTheSeventyFifthBlock)
{
    std::vector<std::pair<float, MillisecondTime>> clockReports;
    leaf->level.onReport = [&](float value) { clockReports.emplace_back(value, leaf->getTime()); };
    patch.takeSent();

    patch.processBlocks(74, 0.25f);
    EXPECT_TRUE(sentBy(leafLevelPath.hash).empty()) << "74 × 64 samples are short of 100 ms";

    const MillisecondTime blockStart = now();
    patch.processBlocks(1, 0.25f);
    const std::vector<SentMessage> reports = sentBy(leafLevelPath.hash);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].tag, tags::monitor.hash);
    EXPECT_EQ(reports[0].values, std::vector<float>{0.25f});
    EXPECT_DOUBLE_EQ(reports[0].time, blockStart);

    patch.processBlocks(1, 0.25f);
    ASSERT_EQ(clockReports.size(), 1u) << "the value clock comes back at the end of the block";
    EXPECT_EQ(clockReports[0].first, 0.25f);
    EXPECT_NEAR(clockReports[0].second, blockStart + 64 / 48.0, 1e-4);

    patch.processBlocks(200, 0.25f);
    EXPECT_TRUE(sentBy(leafLevelPath.hash).empty()) << "an unchanged value is reported once";

    patch.processBlocks(1, 0.5f);
    EXPECT_EQ(sentBy(leafLevelPath.hash).size(), 1u);
    patch.processBlocks(1, 0.75f);
    EXPECT_TRUE(sentBy(leafLevelPath.hash).empty()) << "at most once per report interval";
}

TEST_F(GeneratedPatchEngineTest, AMonitorWatchingSilenceNeverReports)
{
    patch.takeSent();
    patch.processBlocks(400, 0.0f);
    EXPECT_TRUE(sentBy(leafLevelPath.hash).empty());
}

TEST_F(GeneratedPatchEngineTest, ScopeReportsEvery128SamplingIntervals)
{
    patch.takeSent();
    patch.processBlocks(32768 / 64 - 1, 0.5f);
    EXPECT_TRUE(sentBy(branchScopePath.hash).empty());
    patch.processBlocks(1, 0.5f);
    const std::vector<SentMessage> lists = sentBy(branchScopePath.hash);
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].tag, tags::monitor.hash);
    EXPECT_EQ(lists[0].values, std::vector<float>(128, 0.5f));
}

TEST(GeneratedPatchSteadyState, ProcessingAndReportingAllocateNothing)
{
    test::CountingPlatform platform;
    PatchEngine patch;
    TestRoot& root = patch.install(new TestRoot());
    TestLeaf& leaf = *root.branch->leaf;
    patch.prepare(48000.0f, 64);
    patch.processBlocks(10, 0.1f);
    // Without handlers the engine keeps no copies of the messages: what is left is the patch's own.
    patch.engine.unregisterInterface(&patch.interface);

    int reports = 0;
    leaf.level.onReport = [&](float) { ++reports; };
    const long allocationsBefore = platform.allocations + platform.reallocations;
    for (int block = 0; block < 2000; ++block)
    {
        patch.processBlocks(1, 0.001f * static_cast<float>(block % 97)); // monitor and scope report
        leaf.gain.setNumberValue(0.5f);                                   // "valout"
        leaf.content.sendMessageBoxList(0.25f);                            // "listout" [0.25]
    }
    EXPECT_GT(reports, 20);
    EXPECT_EQ(platform.allocations + platform.reallocations, allocationsBefore)
        << "nothing of the patch allocates once it is prepared";
}
