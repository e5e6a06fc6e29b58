#include "patch/core/QuillmoreModules.h"

#include "tests/patch/PatchEngine.h"
#include "tests/patch/SignalSpies.h"
#include "tests/runtime/CountingPlatform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace PRT;
using namespace PRT::test;

namespace
{
class QuillmorePrepareTest : public testing::Test
{
protected:
    void SetUp() override
    {
        signalSpyLog = &log;
        top = &patch.install(new Quillmore(&makeSignalSpy));
    }
    void TearDown() override { signalSpyLog = nullptr; }

    void prepare(float rate, Index size, bool force = false)
    {
        log.prepares.clear();
        patch.engine.prepareToProcess(rate, size, force);
    }

    SpringModelA::DelayLine& line(int k) { return top->gen01.delayLines[static_cast<size_t>(k)]; }

    // A mark in the first and the last memory and in the tanks' state, to see what a prepare empties.
    void markMemories()
    {
        top->gen01.state.I = 0.75f; // as after some sound
        line(0).view->getData()[7] = 0.5;
        line(13).view->getData()[60000] = -0.25;
        line(0).readPosition = line(0).writePosition = 499; // within the line
        line(13).readPosition = line(13).writePosition = 50000; // beyond its 44100 samples
        top->gen01.dcBlockerLeft.next(0.125f);
    }
    bool memoriesMarked() { return line(0).view->getData()[7] == 0.5 && line(13).view->getData()[60000] == -0.25; }

    std::vector<std::string> childPrepares(const std::string& arguments)
    {
        std::vector<std::string> expected;
        for (const char* name : {"OutputAmp", "NoiseGen", "NoiseDucker[1]", "NoiseGate", "SpringUtilities",
                                 "NoiseDucker", "SpringsHighPass", "DryWetSprings", "DryWetDelay", "TapeDelayOG",
                                 "SpringsB", "Dropouts", "InputFilter", "DelToSprings", "TapeStopper", "Warbler",
                                 "Echo", "FixStartupBurp"})
            expected.push_back(std::string(name) + ":" + arguments);
        return expected;
    }

    SignalSpyLog log;
    PatchEngine patch;
    Quillmore* top = nullptr;
};
} // namespace

TEST_F(QuillmorePrepareTest, FirstPrepareSetsEverythingUp)
{
    markMemories();
    prepare(44100.0f, 128);

    EXPECT_EQ(top->getBlockSize(), 128u);
    EXPECT_EQ(top->getSampleRate(), 44100.0f);
    for (const SignalBuffer* buffer : {&top->keyFeedback, &top->left.headsFeedback, &top->right.headsFeedback,
                                       &top->left.scaledInput, &top->right.mixed})
    {
        ASSERT_NE(buffer->get(), nullptr);
        for (size_t i = 0; i < 128; ++i)
            ASSERT_EQ((*buffer)[i], 0.0f);
    }
    EXPECT_EQ(top->numberTilde_obj_170.getReportInterval(), 4410);
    EXPECT_EQ(top->numberTilde_obj_24.getReportInterval(), 4410);

    for (int k = 0; k < SpringModelA::numDelayLines; ++k)
    {
        const size_t storage = k < 4 ? 512 : 65536;
        EXPECT_EQ(line(k).view->getSize(), storage) << k;
        EXPECT_EQ(top->getDataRef(k)->getSizeInBytes(), storage * sizeof(float)) << k;
        EXPECT_EQ(line(k).wrapMask, storage - 1) << k;
        EXPECT_EQ(line(k).maximumDelay, k < 4 ? 500 : 44100) << k;
    }
    EXPECT_FALSE(memoriesMarked()) << "emptied";
    EXPECT_EQ(line(0).readPosition, 499) << "a position within its line stays";
    EXPECT_EQ(line(13).readPosition, 0) << "one beyond it goes back to the start";
    EXPECT_EQ(line(13).writePosition, 0);
    EXPECT_EQ(top->gen01.dcBlockerLeft.previousOutput(), 0.0f);
    EXPECT_EQ(top->gen01.state.I, 0.75f) << "the tanks' state is not the prepare's";

    EXPECT_EQ(log.prepares, childPrepares("44100:128:0")) << "every module, in member order";
}

TEST_F(QuillmorePrepareTest, OnlyAChangeOrAForcedPrepareSetsUpAgain)
{
    prepare(44100.0f, 128);
    struct Row
    {
        float rate;
        Index size;
        bool force;
        bool setsUp;
        int64_t reportInterval;
    } rows[] = {
        {44100.0f, 128, false, false, 4410},
        {44100.0f, 128, true, true, 4410},
        {96000.0f, 128, false, true, 9600},
        {96000.0f, 64, false, true, 9600},
        {96000.0f, 256, false, true, 9600},
        {96000.0f, 256, false, false, 9600},
    };
    for (const Row& row : rows)
    {
        const std::string arguments = std::to_string(static_cast<int>(row.rate)) + ":" + std::to_string(row.size) +
                                      ":" + (row.force ? "1" : "0");
        markMemories();
        prepare(row.rate, row.size, row.force);
        EXPECT_EQ(memoriesMarked(), !row.setsUp) << arguments;
        EXPECT_EQ(top->numberTilde_obj_170.getReportInterval(), row.reportInterval) << arguments;
        EXPECT_EQ(top->getSampleRate(), row.rate);
        EXPECT_FLOAT_EQ(top->getInvSampleRate(), 1.0f / row.rate);
        EXPECT_EQ(log.prepares, childPrepares(arguments)) << "the modules get the caller's arguments";
    }
}

TEST_F(QuillmorePrepareTest, SignalBuffersOnlyGrow)
{
    prepare(48000.0f, 128);
    top->left.headsFeedback[5] = 0.75f;
    top->left.headsFeedback[100] = 0.5f;
    // The recorder lets go of the message lists it kept, as a handler does: a list taken from the
    // engine's pool while all of them are held is allocated.
    patch.takeSent();

    CountingPlatform platform;
    prepare(48000.0f, 64);
    prepare(44100.0f, 64);
    EXPECT_EQ(platform.reallocations, 0) << "smaller blocks keep the buffers";
    EXPECT_EQ(platform.allocations, 0) << "the spring memories keep their storage";
    EXPECT_EQ(top->left.headsFeedback[5], 0.75f);

    prepare(44100.0f, 256);
    EXPECT_GT(platform.reallocations, 40) << "every signal of the top level and the modules grows";
    EXPECT_EQ(top->left.headsFeedback[5], 0.75f) << "what the buffer held stays";
    EXPECT_EQ(top->left.headsFeedback[100], 0.0f) << "zeroed from the last prepared size on";
    EXPECT_EQ(top->left.headsFeedback[255], 0.0f);
}
