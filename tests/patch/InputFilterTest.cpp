// The Heads section's high-pass as the only module of a test top level in the real engine core:
// sines measured through it, its glide and its design.
#include "patch/core/FilterMode.h"
#include "patch/core/MessageTags.h"
#include "patch/heads/InputFilter.h"

#include "tests/patch/DesignedResponse.h"
#include "tests/patch/ModuleTestRoot.h"
#include "tests/patch/SineGain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

using namespace PRT;
using namespace PRT::test;

namespace
{
using InputFilter = Quillmore::PRTSubpatcher_51;

struct FilterRig
{
    FilterRig(float sampleRate, Index blockSize = 64) : rate(sampleRate)
    {
        filter = patch.install(new ModuleTestRoot<InputFilter>()).module;
        patch.prepare(sampleRate, blockSize);
    }

    // As the top level's setters hand them over.
    void setCutoff(float hz)
    {
        filter->updateTime(patch.engine.getCurrentTime());
        filter->numberTilde_obj_32.setNumberTildeInput(hz);
    }
    void setQ(float q)
    {
        filter->updateTime(patch.engine.getCurrentTime());
        filter->setQInput(q);
    }

    PatchEngine patch;
    InputFilter* filter = nullptr;
    float rate;
};

} // namespace

TEST(InputFilter, HighPassQIsClampedTo0Point1To2AndSetsTheGainAtTheCutoff)
{
    // A second-order high-pass passes its cut-off frequency at a gain of Q.
    struct Row
    {
        float q, applied;
    };
    for (const Row& row : {Row{0.05f, 0.1f}, Row{3.0f, 2.0f}, Row{0.8f, 0.8f}, Row{std::nanf(""), 0.1f},
                           Row{-INFINITY, 0.1f}, Row{INFINITY, 2.0f}})
    {
        FilterRig rig(48000);
        rig.setCutoff(1000);
        rig.setQ(row.q);
        EXPECT_EQ(rig.filter->filterQ, row.applied) << row.q;
        const SineGains gains = measureSineGains(rig.patch, 1000, rig.rate, 48000);
        EXPECT_NEAR(gains.left, row.applied, 0.02 * row.applied) << "Q " << row.q;
        EXPECT_NEAR(gains.right, row.applied, 0.02 * row.applied) << "Q " << row.q;
    }
}

TEST(InputFilter, ACutoffChangeGlidesOver10MsAndReachesTheFilterAtBlockStarts)
{
    // Blocks of 96 samples: five of them are the 10 ms time constant at 48 kHz.
    FilterRig rig(48000, 96);
    rig.setCutoff(20);
    rig.patch.processBlocks(500);
    EXPECT_NEAR(rig.filter->getSlidCutoff(), 20.0f, 1e-3f);

    rig.setCutoff(15000);
    rig.patch.processBlocks(5);
    const float covered = (rig.filter->getSlidCutoff() - 20.0f) / 14980.0f;
    EXPECT_NEAR(covered, 1.0 - std::pow(1.0 - 1.0 / 480.0, 480.0), 1e-4) << "1 − 1/e of the way in 480 samples";
    // The design lags the glide by the block: it was made at the block's first sample.
    const float firstOfLastBlock = 20.0f + 14980.0f * static_cast<float>(1.0 - std::pow(1.0 - 1.0 / 480.0, 385.0));
    EXPECT_NEAR(rig.filter->getDesignedCutoff(), firstOfLastBlock, 0.05f) << "at the block start";

    rig.patch.processBlocks(100);
    EXPECT_NEAR(rig.filter->getSlidCutoff(), 15000.0f, 0.5f);
}

TEST(InputFilter, TheGlideFollowsTheSampleRate)
{
    struct Row
    {
        float rate, length;
    };
    for (const Row& row : {Row{44100, 441}, Row{48000, 480}, Row{96000, 960}})
    {
        FilterRig rig(row.rate);
        EXPECT_FLOAT_EQ(rig.filter->getSlideLength(), row.length) << row.rate;
    }
    FilterRig rig(44100);
    rig.patch.engine.prepareToProcess(44100, 128, false);
    EXPECT_FLOAT_EQ(rig.filter->getSlideLength(), 441.0f) << "same rate, other block size";
    rig.patch.engine.prepareToProcess(96000, 128, false);
    EXPECT_FLOAT_EQ(rig.filter->getSlideLength(), 960.0f);
}

TEST(InputFilter, TheDesignIsTheHighPassAtTheSettledCutoffClampedToHalfTheRate)
{
    struct Row
    {
        float rate, cutoff, designed;
    };
    for (const Row& row : {Row{48000, 20, 20}, Row{48000, 15000, 15000}, Row{24000, 15000, 12000}, Row{44100, 0, 1}})
    {
        FilterRig rig(row.rate);
        if (row.cutoff > 0)
            rig.setCutoff(row.cutoff);
        rig.patch.processBlocks(static_cast<int>(row.rate / 64)); // 1 s
        // The glide stops within a few hundred float steps of its target.
        EXPECT_NEAR(rig.filter->getSlidCutoff(), row.cutoff, 0.5f);
        const float settled = std::clamp(rig.filter->getSlidCutoff(), 1.0f, row.rate / 2);
        EXPECT_NEAR(settled, row.designed, 0.5f);
        EXPECT_EQ(rig.filter->getDesignedCutoff(), settled) << row.rate << " Hz";
        EXPECT_EQ(rig.filter->getDesignedQ(), 1.0f) << row.rate << " Hz";
    }
}

// Settled, the filter is the designer's high-pass at the cut-off and q: sines from 10 Hz to 20 kHz,
// at the ends of both ranges and at 44.1 and 192 kHz, come out within 0.05 dB of its response
// wherever that is above -60 dB.
TEST(InputFilter, SteadilyItIsTheDesignersHighPass)
{
    struct Row
    {
        float cutoff, q;
    };
    for (const float rate : {44100.0f, 192000.0f})
        for (const Row& row : {Row{20, 0.1f}, Row{20, 2}, Row{1000, 0.8f}, Row{15000, 0.1f}, Row{15000, 2}})
        {
            FilterRig rig(rate);
            rig.setCutoff(row.cutoff);
            rig.setQ(row.q);
            rig.patch.processBlocks(static_cast<int>(rate / 64)); // 1 s: the glide settles
            expectDesignedResponse(rig.patch, rate, row.cutoff, row.q, dsp::HighPassWithGain,
                                   {10.0, 20.0, 100.0, 1000.0, 4000.0, 15000.0, 20000.0},
                                   std::to_string(rate) + " Hz rate, cut-off " + std::to_string(row.cutoff) + " q "
                                       + std::to_string(row.q));
        }
}

TEST(InputFilter, TheGainBoxScalesTheOutput)
{
    FilterRig rig(48000);
    rig.setCutoff(100);
    const MillisecondTime now = rig.patch.engine.getCurrentTime();
    const MessageTag box = hashString("InputFilter/message_obj-1");
    rig.patch.sendList(tags::listin.hash, box, {0.5f}, now);
    rig.patch.sendBang(tags::listin.hash, box, now);
    SineGains gains = measureSineGains(rig.patch, 5000, rig.rate, 24000);
    EXPECT_NEAR(gains.left, 0.5, 0.01);
    EXPECT_NEAR(gains.right, 0.5, 0.01);

    rig.patch.sendList(tags::listin.hash, box, {}, rig.patch.engine.getCurrentTime());
    rig.patch.sendBang(tags::listin.hash, box, rig.patch.engine.getCurrentTime());
    gains = measureSineGains(rig.patch, 5000, rig.rate, 24000);
    EXPECT_LT(gains.left, 1e-20) << "an empty box gives gain 0: silence";
}
