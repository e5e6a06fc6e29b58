#include "patch/core/MessageTags.h"
#include "patch/core/QuillmoreModules.h"

#include "tests/patch/PatchEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace PRT;
using namespace PRT::test;

namespace
{
// A top level that notes every parameter it tells the engine about, in order.
class NotingQuillmore final : public Quillmore
{
public:
    void sendParameter(ParameterIndex index, bool ignoreValue) override
    {
        sent.push_back({index, getTime()});
        Quillmore::sendParameter(index, ignoreValue);
    }

    struct Sent
    {
        ParameterIndex index;
        MillisecondTime time;
    };
    std::vector<Sent> sent;
};

class QuillmoreStartupTest : public testing::Test
{
protected:
    void SetUp() override
    {
        top = &patch.install(new NotingQuillmore());
        setUpMessages = patch.takeSent();
        patch.prepare(48000.0f, 64);
    }

    PatchEngine patch;
    NotingQuillmore* top = nullptr;
    std::vector<SentMessage> setUpMessages;
};
} // namespace

TEST_F(QuillmoreStartupTest, TheFortyEightParameterBangsArriveInIndexOrderWithinTheFirstBlock)
{
    EXPECT_TRUE(top->sent.empty()) << "pending until the engine delivers them";
    patch.processBlocks(1);
    // Then the echo filter's first report, as its load-time bang starts its timer.
    ASSERT_EQ(top->sent.size(), numQuillmoreParameters + 1);
    EXPECT_EQ(top->sent.back().index, params::EchoFiltMeter);
    EXPECT_FLOAT_EQ(top->getParameterValue(params::EchoFiltMeter), 809.3333f);
    for (ParameterIndex index = 0; index < numQuillmoreParameters; ++index)
    {
        EXPECT_EQ(top->sent[index].index, index);
        EXPECT_EQ(top->sent[index].time, 0.0) << "at the start of the first block";
    }
    // Each initial value has reached its module.
    EXPECT_EQ(top->getBlockTargets().bypassTarget, 1.0f);
    EXPECT_EQ(top->getBlockTargets().headsOnTarget, 1.0f);
    EXPECT_FLOAT_EQ(top->getBlockTargets().inputGainLeft, 1.0f);
    EXPECT_FLOAT_EQ(top->tapeDelay->feedbackAmp->feedback, 50.0f);
    EXPECT_EQ(top->tapeDelay->echoTimeMs, 1.0f) << "EchoTime starts at 0 and is clamped when applied";
    EXPECT_FLOAT_EQ(top->warbler->wowRateHz, 1.2f);

    patch.processBlocks(3);
    // Later there is only what the warbler and the echo filter report every 20 ms.
    const auto later = std::count_if(top->sent.begin() + numQuillmoreParameters, top->sent.end(),
                                     [](const NotingQuillmore::Sent& s) {
                                         return s.index != params::WarbleL && s.index != params::WarbleR
                                                && s.index != params::EchoFiltMeter;
                                     });
    EXPECT_EQ(later, 0) << "once";
}

TEST_F(QuillmoreStartupTest, TheTopLevelsObjectsAnnounceThemselvesFirst)
{
    std::vector<MessageTag> announced;
    for (const SentMessage& m : setUpMessages)
        if (m.tag == tags::setup.hash)
            announced.push_back(m.objectId);
    const char* expected[] = {"number_obj-210", "number_obj-57", "number~_obj-170", "number_obj-73",
                              "number~_obj-24",  "number_obj-22",  "number_obj-51"};
    ASSERT_GE(announced.size(), 8u);
    EXPECT_EQ(announced[0], hashString("number_obj-210"));
    EXPECT_EQ(announced[1], hashString("number_obj-57"));
    EXPECT_EQ(announced[2], hashString("number_obj-26"));
    for (size_t i = 2; i < 7; ++i)
        EXPECT_EQ(announced[i + 1], hashString(expected[i]));
    EXPECT_EQ(top->number_obj_57.getFormat(), 0);
    EXPECT_EQ(top->number_obj_26.getFormat(), 0);
    EXPECT_EQ(top->number_obj_73.getFormat(), NumberBox::floatFormat);
    EXPECT_EQ(top->numberTilde_obj_170.getOutputMode(), SignalMonitor::FollowInput);
}

TEST_F(QuillmoreStartupTest, DataReferencesHoldTheSpringLinesAndTheCosineTable)
{
    EXPECT_EQ(top->getNumDataRefs(), 19);
    EXPECT_EQ(top->getDataRef(19), nullptr) << "the modules' own references are not the top level's";
    EXPECT_EQ(top->getDataRef(-1), nullptr);
    EXPECT_STREQ(top->getDataRef(0)->getName(), "gen_01_delay_4_bufferobj");
    EXPECT_STREQ(top->getDataRef(13)->getName(), "gen_01_delay_17_bufferobj");
    EXPECT_STREQ(top->getDataRef(17)->getType(), "data");
    EXPECT_FALSE(top->getDataRef(15)->isInternal());

    for (int k = 0; k < SpringModelA::numDelayLines; ++k)
    {
        const SpringModelA::DelayLine& line = top->gen01.delayLines[static_cast<size_t>(k)];
        const size_t storage = k < 4 ? 512 : 65536;
        EXPECT_EQ(line.maximumDelay, k < 4 ? 500 : 44100);
        EXPECT_EQ(line.wrapMask, storage - 1);
        ASSERT_EQ(line.view->getSize(), storage) << k;
        bool zero = true;
        for (size_t i = 0; i < storage; ++i)
            zero = zero && line.view->getData()[i] == 0.0;
        EXPECT_TRUE(zero) << k;
        EXPECT_EQ(top->getDataRef(k)->getIndex(), k);
    }
    // Spring model A starts with nothing in its tanks: no feedback value that would ring once its gate opens.
    const SpringModelA::State& spring = top->gen01.state;
    for (float value : { spring.I, spring.H, spring.K, spring.J, spring.sR, spring.sL, spring.s3, spring.s4 })
        EXPECT_EQ(value, 0.0f);

    // The modules' oscillators asked for 16384 samples of the shared cosine.
    const DataRef& cosine = *top->getDataRef(Quillmore::cosineTableIndex);
    ASSERT_EQ(cosine.getSizeInBytes(), 16384 * sizeof(double));
    const auto* table = static_cast<const double*>(cosine.getData());
    for (size_t i : {size_t(0), size_t(4096), size_t(8192), size_t(1000)})
        EXPECT_EQ(table[i], static_cast<double>(static_cast<float>(std::cos(6.283185307179586 * i / 16384.0))));
    patch.processBlocks(1); // the engine reports the new storage and the modules rebuild their views
    ASSERT_NE(top->tapeDelay->cosineTable.getView(), nullptr);
    EXPECT_EQ(top->tapeDelay->cosineTable.getView()->getData(), table) << "the modules read the same table";
    EXPECT_EQ(top->warbler->cosineTable.getView()->getData(), table);
    EXPECT_GE(top->getDataRef(15)->getSizeInBytes(), 8192 * sizeof(float)) << "binA for the analyser";
}

TEST_F(QuillmoreStartupTest, DataViewUpdatesRebuildTheLinesAndReachEveryModule)
{
    patch.processBlocks(1); // the engine has reported the references
    const Float32Buffer* before = top->gen01.delayLines[3].view.get();
    const Float64Buffer* moduleBefore = top->warbler->cosineTable.getView();
    top->processDataViewUpdate(3, patch.engine.getCurrentTime());
    EXPECT_NE(top->gen01.delayLines[3].view.get(), before);
    EXPECT_EQ(top->gen01.delayLines[3].view->getSize(), 512u);
    EXPECT_EQ(top->warbler->cosineTable.getView(), moduleBefore) << "index 3 is not the warbler's";

    top->processDataViewUpdate(Quillmore::cosineTableIndex, patch.engine.getCurrentTime());
    EXPECT_NE(top->warbler->cosineTable.getView(), moduleBefore) << "index 14 reaches the modules";
}

TEST_F(QuillmoreStartupTest, LoadClocksFireInTheFirstBlock)
{
    EXPECT_EQ(top->noiseGen->biquad->filterMode, 15);
    patch.processBlocks(1);
    EXPECT_EQ(top->noiseGen->biquad->filterMode, 2) << "its load-time bang has output [2]";
    EXPECT_FLOAT_EQ(top->noiseGen->biquad->filterQ, 0.2f);
    EXPECT_EQ(top->noiseDuckerLeft->compressor->ratio, 3.0f);
    EXPECT_EQ(top->tapeDelay->biquad->reportTimerOn, 1.0f);
}

TEST_F(QuillmoreStartupTest, TheStartUpRampOpensSpringModelA)
{
    // 48 kHz, 64-sample blocks: 0.75 blocks per millisecond.
    auto runUntil = [&](MillisecondTime ms) {
        while (patch.engine.getCurrentTime() < ms)
            patch.processBlocks(1);
    };
    runUntil(290.0);
    EXPECT_EQ(top->gen01.controls.gen01Gate, 0.0f) << "closed for the first 300 ms";
    runUntil(330.0);
    EXPECT_GT(top->gen01.controls.gen01Gate, 0.0f);
    EXPECT_LT(top->gen01.controls.gen01Gate, 1.0f);
    runUntil(520.0);
    EXPECT_EQ(top->gen01.controls.gen01Gate, 1.0f);
}
