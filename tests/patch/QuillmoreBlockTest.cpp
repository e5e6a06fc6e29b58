// The top level's block through signal stand-ins with distinct gains: the Heads chain multiplies by 3
// (its last module), the Space section by 5 (the springs mixer), everything else passes or is silent,
// the start-up ramp is open and the output amplifier passes. The input changes from block to block
// and from sample to sample, so every output sample shows the path it took and how late it is.
#include "patch/core/PatchLatency.h"
#include "patch/core/QuillmoreModules.h"

#include "tests/patch/PatchEngine.h"
#include "tests/patch/SignalSpies.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace PRT;
using namespace PRT::test;

namespace
{
constexpr float headsGain = 3.0f;
constexpr float spaceGain = 5.0f;
constexpr Index blockSize = 64;

class QuillmoreBlockTest : public testing::Test
{
protected:
    void SetUp() override
    {
        signalSpyLog = &log;
        top = &patch.install(new Quillmore(&makeSignalSpy));
        patch.prepare(48000.0f, blockSize);
        set(params::TrueBypass, 0);
        set(params::Input, 125); // × 0.8 × 1.25: the scaled input is the input
        spyOf(top->fixStartupBurp).constant[0] = 1.0f;
        spyOf(top->dropouts).gain = headsGain;
        spyOf(top->dryWetSprings).gain = spaceGain;
        spyOf(top->tapeDelay).gain = 0.0f;
        spyOf(top->delToSprings).gain = 0.0f;
    }
    void TearDown() override { signalSpyLog = nullptr; }

    // Delivered at the start of the next block.
    void set(ParameterIndex index, float value)
    {
        patch.interface.setParameterValue(index, value, patch.engine.getCurrentTime());
    }

    // The left input of block b: different in every block of eight and at every sample; the right
    // input is -0.5 times it.
    static float inputAt(int block, Index i) { return static_cast<float>(block % 8 + 1) + static_cast<float>(i) / 128.0f; }
    // The left input heard at sample i of block b, `late` samples after it came in.
    static float inputLate(int block, Index i, Index late)
    {
        const Index t = static_cast<Index>(block) * blockSize + i - late;
        return inputAt(static_cast<int>(t / blockSize), t % blockSize);
    }

    // Runs one block of the changing input (or a constant one) and returns its block number.
    int runBlock(const float* constant = nullptr, Index n = blockSize)
    {
        const int b = blocks++;
        for (Index i = 0; i < n; ++i)
        {
            patch.left[i] = constant != nullptr ? *constant : inputAt(b, i);
            patch.right[i] = -0.5f * patch.left[i];
        }
        const SampleValue* inputs[] = {patch.left.data(), patch.right.data()};
        SampleValue* outputs[] = {patch.outLeft.data(), patch.outRight.data()};
        patch.engine.process(inputs, 2, outputs, 2, n, nullptr, nullptr);
        return b;
    }

    void runBlocks(int count, const float* constant = nullptr)
    {
        for (int k = 0; k < count; ++k)
            runBlock(constant);
    }

    SignalSpyLog log;
    PatchEngine patch;
    Quillmore* top = nullptr;
    int blocks = 0;
};

void expectRelativelyNear(float actual, float expected, const std::string& what, float relative = 1e-4f)
{
    EXPECT_NEAR(actual, expected, relative * std::fabs(expected) + 1e-6f) << what;
}

// Every path is one block and a sample late: the Heads chain (with its first module a sample late, as
// the warbler's tape at rest) and the copy that HeadsOn fades to.
constexpr Index pathLag = blockSize + patchSamplesLateBeyondBlock;

// One row per setting: the gain and lateness (in samples) of the section input X, the gain of the
// output (always one block and a sample late) and the gain of what the Heads chain gets next (the
// block before, as it came).
struct PathRow
{
    float order, headsOn, spaceOn;
    float sectionGain;
    Index sectionLag;
    float outputGain;
    float nextHeadsGain;
};

const PathRow pathTable[] = {
    // Order 0: the Heads (one block and a sample late) feed the Space section; the Heads get the input
    // next.
    {0, 1, 1, headsGain, pathLag, headsGain * spaceGain, 1},
    {0, 1, 0, headsGain, pathLag, headsGain, 1},
    {0, 0, 1, 1, pathLag, spaceGain, 1},
    {0, 0, 0, 1, pathLag, 1, 1},
    // Order 1: the Space section takes the input now; the Heads get its result next block.
    {1, 1, 1, 1, 0, headsGain * spaceGain, spaceGain},
    {1, 1, 0, 1, 0, headsGain, 1},
    {1, 0, 1, 1, 0, spaceGain, spaceGain},
    {1, 0, 0, 1, 0, 1, 1},
};
} // namespace

TEST_F(QuillmoreBlockTest, EachSettingTakesItsPathOneBlockAndASampleLate)
{
    spyOf(top->warbler).oneSampleLate = true;
    // The switches' weights settle a hair off 0 and 1 (1.4e-6 off): a hair of the Heads' result of
    // blocks before reaches the section input in Order 1, up to 2e-4 of the output where the input
    // steps down from 8.5 to 1.5.
    constexpr float outputTolerance = 3e-4f;
    for (const PathRow& row : pathTable)
    {
        const std::string name = "Order " + std::to_string(int(row.order)) + ", HeadsOn " +
                                 std::to_string(int(row.headsOn)) + ", SpaceOn " + std::to_string(int(row.spaceOn));
        set(params::Order, row.order);
        set(params::HeadsOn, row.headsOn);
        set(params::SpaceOn, row.spaceOn);
        runBlocks(30); // the crossfades settle

        for (int k = 0; k < 3; ++k)
        {
            const int b = runBlock();
            const std::vector<float>& x = spyOf(top->dryWetDelay).seen[0];
            const std::vector<float>& headsInput = spyOf(top->warbler).seen[0];
            for (Index i = 0; i < blockSize; ++i)
            {
                const std::string at = name + ", block " + std::to_string(b) + ", sample " + std::to_string(i);
                expectRelativelyNear(patch.outLeft[i], row.outputGain * inputLate(b, i, pathLag), at + ": left output",
                                     outputTolerance);
                expectRelativelyNear(patch.outRight[i], -0.5f * row.outputGain * inputLate(b, i, pathLag),
                                     at + ": right output", outputTolerance);
                expectRelativelyNear(x[i], row.sectionGain * inputLate(b, i, row.sectionLag), at + ": section input");
                expectRelativelyNear(headsInput[i], row.nextHeadsGain * inputAt(b - 1, i), at + ": Heads input");
            }
        }
    }
}

TEST_F(QuillmoreBlockTest, SwitchesGlideAlongTheirOnePoleCurves)
{
    // From Heads into Space at full gain; each row flips one switch and moves the output from 15 to
    // `to`, the remaining distance shrinking by 1 - c per sample.
    struct Row
    {
        ParameterIndex parameter;
        float value;
        float to;
        float c;
    } rows[] = {
        {params::SpaceOn, 0, headsGain, 0.02f},
        {params::HeadsOn, 0, spaceGain, 0.02f},
        {params::TrueBypass, 1, 1, 0.001f},
    };
    const float one = 1.0f;
    for (const Row& row : rows)
    {
        set(params::Order, 0);
        set(params::HeadsOn, 1);
        set(params::SpaceOn, 1);
        set(params::TrueBypass, 0);
        runBlocks(400, &one); // the bypass weight takes longest to settle
        expectRelativelyNear(patch.outLeft[blockSize - 1], headsGain * spaceGain, "settled");

        set(row.parameter, row.value);
        float previous = headsGain * spaceGain;
        double remaining = 1.0;
        for (int k = 0; k < 3; ++k)
        {
            runBlock(&one);
            for (Index i = 0; i < blockSize; ++i)
            {
                remaining *= 1.0 - row.c;
                const float expected =
                    row.to + (headsGain * spaceGain - row.to) * static_cast<float>(remaining);
                EXPECT_NEAR(patch.outLeft[i], expected, 2e-4f) << quillmoreParameters[row.parameter].id << " " << i;
                EXPECT_LT(patch.outLeft[i], previous) << "no step, no overshoot";
                previous = patch.outLeft[i];
            }
        }
    }
}

TEST_F(QuillmoreBlockTest, SendModeChoosesWhatFeedsTheEchoAndTheSprings)
{
    // The echo passes its feed, the echo-to-springs send takes a quarter of the echo, the echo mixer
    // passes the section input: insert mode feeds the springs the mixer's output plus the send.
    spyOf(top->tapeDelay).gain = 1.0f;
    spyOf(top->delToSprings).gain = 0.25f;
    set(params::Order, 1); // the section input is the scaled input itself
    set(params::EchoSend, 50);
    set(params::SpringSend, 30);
    struct Row
    {
        float mode, echoFeed, springFeed;
    } rows[] = {{0, 1.0f, 1.0f + 0.25f}, {1, 0.5f, 0.3f + 0.125f}, {0, 1.0f, 1.25f}};
    const float one = 1.0f;
    for (const Row& row : rows)
    {
        set(params::SendRetMode, row.mode);
        runBlocks(40, &one);
        const std::string mode = "SendRetMode " + std::to_string(int(row.mode));
        if (row.mode == 1)
        {
            // Both send weights report through their monitors, the first time after 100 ms.
            EXPECT_NEAR(top->numberTilde_obj_170.getLastReportedValue(), 0.5f, 1e-3f) << "echo send weight";
            EXPECT_NEAR(top->numberTilde_obj_24.getLastReportedValue(), 0.3f, 1e-3f) << "spring send weight";
        }
        for (int port : {0, 1})
        {
            const float input = port == 0 ? 1.0f : -0.5f;
            expectRelativelyNear(spyOf(top->tapeDelay).seen[port].back(), row.echoFeed * input, mode + ": echo feed");
            expectRelativelyNear(spyOf(top->springsHighPass).seen[port].back(), row.springFeed * input,
                                 mode + ": spring feed");
        }
    }
}

TEST_F(QuillmoreBlockTest, HissJoinsWhileTheHeadsAreOnAndStaysOutOfTheKey)
{
    spyOf(top->noiseGen).constant = {0.01f, 0.02f};
    spyOf(top->tapeStopper).constant[2] = 0.5f; // the stopper's hiss level
    struct Row
    {
        float headsOn, input, outLeft, outRight, key;
    } rows[] = {
        {1, 0, 0.005f, 0.01f, 0},
        {0, 0, 0, 0, 0},
        // Heads into Space: 15 per unit of input on the left, -7.5 on the right.
        {1, 1, 15.005f, -7.49f, 7.5f},
        {0, 1, 5, -2.5f, 2.5f},
    };
    for (const Row& row : rows)
    {
        set(params::HeadsOn, row.headsOn);
        runBlocks(20, &row.input);
        runBlock(&row.input);
        const std::string at = "HeadsOn " + std::to_string(int(row.headsOn)) + ", input " + std::to_string(row.input);
        expectRelativelyNear(patch.outLeft[10], row.outLeft, at + ": left");
        expectRelativelyNear(patch.outRight[10], row.outRight, at + ": right");
        // The key the gate and the duckers got: the previous block's left plus right before the hiss.
        expectRelativelyNear(spyOf(top->noiseGate).seen[2][10], row.key, at + ": gate key");
        expectRelativelyNear(spyOf(top->noiseDuckerLeft).seen[1][10], row.key, at + ": left ducker key");
        expectRelativelyNear(spyOf(top->noiseDuckerRight).seen[1][10], row.key, at + ": right ducker key");
    }
}

TEST_F(QuillmoreBlockTest, AnOverflowingSpaceSectionIsSilentAndWhatFeedsBackStaysBounded)
{
    // The Space section overflows to +inf on the left and -inf on the right (its input is 3 × 4 and
    // 3 × -2, or 4 and -2). Blocks of 63 samples, so that every position of a four-sample group and
    // the tail are seen.
    spyOf(top->dryWetSprings).gain = 1.0e38f;
    const float input = 4.0f;
    constexpr Index n = 63;
    // Order glides: at 1 its weight is a hair below 1, so that a hair of the Space section is in
    // what is heard and in the key.
    const struct
    {
        float order;
        float heardLeft; // a non-finite mix is silent
        float key;       // inf − inf is NaN, held at 0; +inf held at the limit
        float fedLeft;   // what the Heads got: the input, or the Space section held at the limit
        float fedRight;
    } rows[] = {
        {0, 0.0f, 0.0f, input, -0.5f * input},
        {1, 0.0f, 1.0e4f, 1.0e4f, -1.0e4f},
    };
    for (const auto& row : rows)
    {
        set(params::Order, row.order);
        for (int k = 0; k < 30; ++k)
            runBlock(&input, n);
        const std::string at = "Order " + std::to_string(int(row.order));
        const auto& fed = spyOf(top->warbler).seen;
        const auto& key = spyOf(top->noiseGate).seen[2];
        for (Index i = 0; i < n; ++i)
        {
            expectRelativelyNear(patch.outLeft[i], row.heardLeft, at + ": left at " + std::to_string(i));
            EXPECT_TRUE(std::isfinite(patch.outRight[i])) << at << ": right at " << i;
            // Here the Heads' feed alternates between the input and silence from block to block, and
            // the copy that HeadsOn fades to is a sample late: the key's first sample carries the
            // block before's last and is only held bounded.
            if (i > 0)
                expectRelativelyNear(key[i], row.key, at + ": key at " + std::to_string(i));
            EXPECT_LE(std::fabs(key[i]), 1.0e4f) << at << ": key at " << i;
            expectRelativelyNear(fed[0][i], row.fedLeft, at + ": Heads fed left at " + std::to_string(i));
            expectRelativelyNear(fed[1][i], row.fedRight, at + ": Heads fed right at " + std::to_string(i));
        }
    }
}

TEST_F(QuillmoreBlockTest, ModulesRunInTheirBlockOrderEvenForAnEmptyBlock)
{
    runBlocks(30);
    log.blocks.clear();
    const int before = blocks;
    runBlock(nullptr, 0);
    const std::vector<std::string> expected = {
        "NoiseGen:0",    "SpringUtilities:0", "FixStartupBurp:0", "NoiseGate:0",   "NoiseDucker[1]:0",
        "NoiseDucker:0", "Warbler:0",         "TapeStopper:0",    "InputFilter:0", "Dropouts:0",
        "TapeDelayOG:0", "DryWetDelay:0",     "Echo:0",           "DelToSprings:0", "SpringsHighPass:0",
        "SpringsB:0",    "DryWetSprings:0",   "OutputAmp:0"};
    EXPECT_EQ(log.blocks, expected);

    // The empty block changed nothing in the graph: the next block is one block late on the block
    // before the empty one.
    const int b = runBlock();
    for (Index i = 0; i < blockSize; ++i)
        expectRelativelyNear(patch.outLeft[i], headsGain * spaceGain * inputAt(before - 1, i), "after the empty block");
    EXPECT_EQ(b, before + 1);
}

TEST_F(QuillmoreBlockTest, AnEmptyBlockStillEndsTheBlockForMusicalTime)
{
    runBlocks(1);
    top->processTempoEvent(patch.engine.getCurrentTime(), 90.0f);
    ASSERT_EQ(top->getBeatAnchors().size(), 4u);
    runBlock(nullptr, 0);
    EXPECT_EQ(top->getBeatAnchors().size(), 2u) << "only the last anchor is kept";
    EXPECT_EQ(top->getLastTempo(), 90.0f);
}

TEST(QuillmoreBlock, InPlaceBuffersGiveTheSameOutput)
{
    // The real modules, heard after the start-up ramp, with the bypass half way so that both the dry
    // and the wet path count.
    PatchEngine separate;
    PatchEngine inPlace;
    for (PatchEngine* patch : {&separate, &inPlace})
    {
        patch->install(new Quillmore());
        patch->prepare(44100.0f, 128);
        patch->interface.setParameterValue(params::TrueBypass, 0.0f, 0.0);
        patch->interface.setParameterValue(params::Saturate, 60.0f, 0.0);
    }
    std::vector<float> left(128), right(128);
    for (int block = 0; block < 220; ++block)
    {
        if (block == 200)
            for (PatchEngine* patch : {&separate, &inPlace})
                patch->interface.setParameterValue(params::TrueBypass, 1.0f, patch->engine.getCurrentTime());
        for (Index i = 0; i < 128; ++i)
        {
            separate.left[i] = left[i] = std::sin(0.05f * static_cast<float>(block * 128 + static_cast<int>(i)));
            separate.right[i] = right[i] = 0.3f * std::cos(0.011f * static_cast<float>(block * 128 + static_cast<int>(i)));
        }
        const SampleValue* inputs[] = {separate.left.data(), separate.right.data()};
        SampleValue* outputs[] = {separate.outLeft.data(), separate.outRight.data()};
        separate.engine.process(inputs, 2, outputs, 2, 128, nullptr, nullptr);
        SampleValue* shared[] = {left.data(), right.data()};
        inPlace.engine.process(shared, 2, shared, 2, 128, nullptr, nullptr);
        ASSERT_EQ(left, separate.outLeft) << "block " << block;
        ASSERT_EQ(right, separate.outRight) << "block " << block;
    }
    EXPECT_GT(std::fabs(left[100]), 0.01f) << "audio was heard";
}
