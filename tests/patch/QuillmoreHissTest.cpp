// The tape hiss through the real top level: generated, gated by the program, ducked under it and added
// to the output.
#include "patch/core/QuillmoreModules.h"
#include "patch/core/RandomState.h"

#include "tests/patch/PatchEngine.h"
#include "tests/patch/StereoRender.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace PRT;
using namespace PRT::test;

namespace
{
struct PatchRig
{
    PatchRig()
    {
        const ScopedFixedRandomSeed fixed(7.0f);
        top = &patch.install(new Quillmore());
        patch.prepare(48000, 128);
        set(params::TrueBypass, 0);
    }

    void set(ParameterIndex index, float value)
    {
        patch.interface.setParameterValue(index, value, patch.engine.getCurrentTime());
    }

    PatchEngine patch;
    Quillmore* top = nullptr;
};

double energy(const std::vector<float>& x)
{
    double sum = 0.0;
    for (const float v : x)
        sum += double(v) * v;
    return sum;
}
} // namespace

TEST(QuillmoreHiss, IsHeardOnlyWithTheProgramUnlessTheGateIsOff)
{
    struct Case
    {
        float amount, gateTime;
        bool heard;
    } cases[] = {{100, 1000, false}, {0, 30000, false}, {100, 30000, true}, {30, 30000, true}};
    for (const Case& c : cases)
    {
        const std::string what = "NoiseAmnt " + std::to_string(int(c.amount)) + ", NoiseGateTime " +
                                 std::to_string(int(c.gateTime));
        PatchRig rig;
        rig.set(params::NoiseAmnt, c.amount);
        rig.set(params::NoiseGateTime, c.gateTime);
        const StereoSignal out = renderSamples(rig.patch, 3 * 48000);
        if (!c.heard)
        {
            for (size_t i = 0; i < out.left.size(); ++i)
            {
                ASSERT_EQ(out.left[i], 0.0f) << what << ", sample " << i;
                ASSERT_EQ(out.right[i], 0.0f) << what << ", sample " << i;
            }
            continue;
        }
        // The last second: full level, a band-passed noise of (amount/100)² × 0.1 through the output
        // stage's gain of about 1.25, in both channels and different in each.
        const std::vector<float> left(out.left.end() - 48000, out.left.end());
        const std::vector<float> right(out.right.end() - 48000, out.right.end());
        const double rms = std::sqrt(energy(left) / 48000.0);
        const double scale = c.amount * c.amount * 1e-5 * 1.25;
        EXPECT_GT(rms, 0.2 * scale) << what;
        EXPECT_LT(rms, 0.6 * scale) << what;
        EXPECT_NEAR(std::sqrt(energy(right) / 48000.0) / rms, 1.0, 0.05) << what;
        double cross = 0.0;
        for (size_t i = 0; i < left.size(); ++i)
            cross += double(left[i]) * right[i];
        EXPECT_LT(std::fabs(cross) / energy(left), 0.03) << what << ": left and right uncorrelated";
    }
}

TEST(QuillmoreHiss, BothChannelsAreDuckedAlikeUnderTheProgram)
{
    PatchRig rig;
    rig.set(params::NoiseAmnt, 100);
    rig.set(params::NoiseDuckThresh, -30);
    rig.set(params::NoiseDuckTime, 5);
    renderSamples(rig.patch, 48000, 0.0f, 0.0f);

    Quillmore& top = *rig.top;
    double smallest = 1.0;
    int compared = 0;
    for (int block = 0; block < 400; ++block)
    {
        // A program swelling and fading, heard by the gate and the duckers through the key.
        const float level = 0.5f * (1.0f + std::sin(0.05f * static_cast<float>(block)));
        renderSignals(
            rig.patch, 128, [&](size_t i) { return level * std::sin(0.07f * static_cast<float>(block * 128 + int(i))); },
            [&](size_t i) { return -level * std::cos(0.05f * static_cast<float>(block * 128 + int(i))); });
        for (Index i = 0; i < 128; ++i)
        {
            const float inLeft = top.left.gatedHiss[i];
            const float inRight = top.right.gatedHiss[i];
            if (std::fabs(inLeft) < 1e-4f || std::fabs(inRight) < 1e-4f)
                continue;
            const double gainLeft = top.left.duckedHiss[i] / inLeft;
            const double gainRight = top.right.duckedHiss[i] / inRight;
            ASSERT_NEAR(gainLeft, gainRight, 1e-5) << "block " << block << ", sample " << i;
            smallest = std::min(smallest, gainLeft);
            ++compared;
        }
    }
    EXPECT_GT(compared, 10000);
    EXPECT_LT(smallest, 0.5) << "the program ducked the hiss";
}
