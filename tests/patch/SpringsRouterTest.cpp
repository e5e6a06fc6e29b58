// The spring settings router through the real patch: SpringDecay, SpringSize and SpringMix set as
// the host sets them, read back where the router writes them (spring model A's controls in the top
// level, the springs mixer's mix target).
#include "patch/core/MessageTags.h"
#include "patch/core/QuillmoreModules.h"

#include "tests/patch/PatchEngine.h"

#include <gtest/gtest.h>

#include <string>

using namespace PRT;
using namespace PRT::test;

namespace
{
class SpringsRouterTest : public testing::Test
{
protected:
    void start(float rate)
    {
        top = &patch.install(new Quillmore());
        patch.prepare(rate, 128);
        patch.processBlocks(1); // the initial parameter values
    }
    void set(ParameterIndex index, float value)
    {
        patch.interface.setParameterValue(index, value, patch.engine.getCurrentTime());
        patch.processBlocks(1);
    }
    const SpringModelA::Controls& controls() { return top->gen01.controls; }

    PatchEngine patch;
    Quillmore* top = nullptr;
};
} // namespace

TEST_F(SpringsRouterTest, DecayAndSizeBecomeSpringModelAControls)
{
    start(48000.0f);
    const struct
    {
        float decay, diffusion, decayControl, damping;
    } decays[] = {{0, 0.3f, 0.5f, 0.8f}, {100, 0.72f, 0.9f, 0.45f}, {50, 0.51f, 0.7f, 0.625f}, {-20, 0.3f, 0.5f, 0.8f},
                  {250, 0.72f, 0.9f, 0.45f}};
    for (const auto& row : decays)
    {
        set(params::SpringDecay, row.decay);
        EXPECT_FLOAT_EQ(controls().gen01Diffusion, row.diffusion) << row.decay;
        EXPECT_FLOAT_EQ(controls().gen01Decay, row.decayControl) << row.decay;
        EXPECT_FLOAT_EQ(controls().gen01Damping, row.damping) << row.decay;
    }
    const struct
    {
        float size, spread, seconds;
    } sizes[] = {{4, 11, 0.049f}, {12, 23, 0.095f}, {8, 17, 0.072f}, {0, 11, 0.049f}, {30, 23, 0.095f}};
    for (const auto& row : sizes)
    {
        set(params::SpringSize, row.size);
        EXPECT_FLOAT_EQ(controls().gen01Spread, row.spread) << row.size;
        EXPECT_NEAR(controls().gen01Length, row.seconds * 48000.0f, 0.01f) << row.size;
    }
}

TEST_F(SpringsRouterTest, DecayWritesTheControlsInOrderEachEchoedByItsNumber)
{
    start(48000.0f);
    patch.takeSent();
    set(params::SpringDecay, 100);
    std::vector<std::string> echoed;
    for (const SentMessage& m : patch.takeSent())
        if (m.tag == tags::valout.hash && top->resolveTag(m.objectId) != nullptr)
            echoed.push_back(top->resolveTag(m.objectId));
    const std::vector<std::string> router = {"SpringUtilities/number_obj-57", "SpringUtilities/number_obj-4",
                                             "SpringUtilities/number_obj-10"};
    std::vector<std::string> routerEchoes;
    for (const std::string& path : echoed)
        if (path.rfind("SpringUtilities/", 0) == 0)
            routerEchoes.push_back(path);
    EXPECT_EQ(routerEchoes, router);
}

// The tanks keep their length in seconds when the host changes the rate, without a new SpringSize.
TEST_F(SpringsRouterTest, TheTankLengthFollowsANewSampleRate)
{
    start(48000.0f);
    set(params::SpringSize, 12);
    EXPECT_NEAR(controls().gen01Length, 0.095f * 48000.0f, 0.01f);
    for (float rate : {96000.0f, 22050.0f, 192000.0f})
    {
        patch.prepare(rate, 128);
        EXPECT_NEAR(controls().gen01Length, 0.095f * rate, 0.02f) << rate;
    }
}

TEST_F(SpringsRouterTest, MixReachesTheSpringsMixerAsAFactor)
{
    start(44100.0f);
    for (float mix : {0.0f, 37.0f, 100.0f, 130.0f, -5.0f})
    {
        set(params::SpringMix, mix);
        const float expected = (mix < 0 ? 0 : mix > 100 ? 100 : mix) * 0.01f;
        EXPECT_FLOAT_EQ(top->dryWetSprings->mixTarget, expected) << mix;
    }
}
