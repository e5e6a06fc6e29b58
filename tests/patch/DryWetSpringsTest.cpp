// The springs mixer as the only module of a test top level, fed constant echo-mixer (W), spring
// model A and spring model B signals, measured once its one-poles have settled.
#include "patch/space/DryWetSprings.h"

#include "tests/patch/ModuleTestRoot.h"
#include "tests/patch/PatchEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace PRT;
using namespace PRT::test;

using DryWetSprings = Quillmore::PRTSubpatcher_46;

namespace
{
class DryWetSpringsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        mixer = patch.install(new ModuleTestRoot<DryWetSprings>()).module;
        patch.prepare(48000.0f, blockSize);
        patch.processBlocks(1);
    }

    struct Out
    {
        float left, right;
    };
    // Runs the mixer for `seconds` on constant inputs and returns its last output pair.
    Out run(float w, float a, float b, double seconds = 0.5)
    {
        std::vector<float> wL(blockSize, w), wR(blockSize, -w), aL(blockSize, a), aR(blockSize, -a), bL(blockSize, b),
            bR(blockSize, -b), outL(blockSize), outR(blockSize);
        const SampleValue* inputs[] = {wL.data(), wR.data(), aL.data(), aR.data(), bL.data(), bR.data()};
        SampleValue* outputs[] = {outL.data(), outR.data()};
        for (int k = 0; k < static_cast<int>(seconds * 48000.0 / blockSize); ++k)
        {
            mixer->process(inputs, 6, outputs, 2, blockSize);
            for (Index i = 0; i < blockSize; ++i)
                finite = finite && std::isfinite(outL[i]) && std::isfinite(outR[i]);
        }
        return {outL[blockSize - 1], outR[blockSize - 1]};
    }

    static constexpr Index blockSize = 64;
    PatchEngine patch;
    DryWetSprings* mixer = nullptr;
    bool finite = true;
};
} // namespace

// Springs are ab × B + (1 − ab²) × A; in wet/dry mode the dry part is 1 − m³, in send/return mode 1.
TEST_F(DryWetSpringsTest, BlendsTheModelsAndMixesThemUnderBothLaws)
{
    const struct
    {
        float springAB, mix, mode, expectedW, expectedA, expectedB;
    } cases[] = {
        {0, 1, 0, 0, 1, 0},           {100, 1, 0, 0, 0, 1},          {50, 1, 0, 0, 0.75f, 0.5f},
        {50, 0.5f, 0, 0.875f, 0.375f, 0.25f}, {50, 0.5f, 1, 1, 0.375f, 0.25f}, {50, 1, 1, 1, 0.75f, 0.5f},
        {0, 0, 1, 1, 0, 0},
    };
    for (const auto& c : cases)
    {
        mixer->setBlendInput(c.springAB);
        mixer->setSpringMix(c.mix);
        mixer->number_obj_53.setNumberValue(c.mode);
        const float w = 0.25f, a = 0.5f, b = -1.0f;
        const Out out = run(w, a, b, 1.0);
        const float expected = c.expectedW * w + c.expectedA * a + c.expectedB * b;
        EXPECT_NEAR(out.left, expected, 1e-4f) << c.springAB << " " << c.mix << " " << c.mode;
        EXPECT_NEAR(out.right, -expected, 1e-4f) << c.springAB << " " << c.mix << " " << c.mode;
    }
}

TEST_F(DryWetSpringsTest, SpringMixZeroLeavesTheEchoMixerOutputDry)
{
    mixer->setBlendInput(50);
    mixer->number_obj_53.setNumberValue(0);
    const Out withSprings = run(0.3f, 0.9f, -0.7f, 1.0);
    const Out without = run(0.3f, 0.0f, 0.0f, 0.1);
    EXPECT_EQ(withSprings.left, without.left) << "no trace of either spring";
    EXPECT_NEAR(withSprings.left, 0.3f, 1e-5f);
    EXPECT_NEAR(withSprings.right, -0.3f, 1e-5f);
}

TEST_F(DryWetSpringsTest, StartsInSendReturnModeAndSilentSprings)
{
    // Nothing written yet: the springs' mix is 0 and the mode operand 1, so the dry part rises to 1.
    const Out out = run(0.5f, 1.0f, 1.0f, 1.0);
    EXPECT_NEAR(out.left, 0.5f, 1e-5f);
    EXPECT_EQ(mixer->mixMode, 1.0f);
}

TEST_F(DryWetSpringsTest, MonitorsShowTheWeightsOnTheirDisplaySliders)
{
    mixer->setBlendInput(50);
    mixer->setSpringMix(1.0f);
    mixer->number_obj_53.setNumberValue(0);
    patch.processBlocks(static_cast<int>(48000 / blockSize)); // through the engine: the reports' clocks
    EXPECT_NEAR(mixer->slider_obj_40.getPosition(), 0.75f * 128, 0.5f) << "A weight";
    EXPECT_NEAR(mixer->slider_obj_41.getPosition(), 0.5f * 128, 0.5f) << "A/B position";
    EXPECT_NEAR(mixer->slider_obj_72.getPosition(), 128, 0.5f) << "mix";
    EXPECT_NEAR(mixer->slider_obj_48.getPosition(), 0, 0.5f) << "dry gain";
}

TEST_F(DryWetSpringsTest, NonFiniteSettingsNeverStickInTheOnePoles)
{
    for (float hostile : {NAN, INFINITY, -INFINITY})
    {
        mixer->setBlendInput(hostile);
        mixer->setSpringMix(hostile);
        mixer->number_obj_53.setNumberValue(hostile);
        run(0.25f, 0.5f, 0.5f, 0.1);
        mixer->setBlendInput(0);
        mixer->setSpringMix(1.0f);
        mixer->number_obj_53.setNumberValue(0);
        const Out out = run(0.25f, 0.5f, -1.0f, 1.0);
        EXPECT_NEAR(out.left, 0.5f, 1e-4f) << hostile << ": model A alone again";
    }
    EXPECT_TRUE(finite) << "the output after the hostile values";
}
