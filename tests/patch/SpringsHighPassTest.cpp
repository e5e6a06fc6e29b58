// The springs high-pass as the only module of a test top level, measured on sines it filters.
#include "patch/core/MessageTags.h"
#include "patch/space/SpringsHighPass.h"

#include "tests/patch/ModuleTestRoot.h"
#include "tests/patch/PatchEngine.h"
#include "tests/patch/SineRmsGain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace PRT;
using namespace PRT::test;

using SpringsHighPass = Quillmore::PRTSubpatcher_45;

namespace
{
class SpringsHighPassTest : public testing::Test
{
protected:
    void start(float rate, Index block = 128)
    {
        filter = patch.install(new ModuleTestRoot<SpringsHighPass>()).module;
        patch.prepare(rate, block);
        sampleRate = rate;
        patch.processBlocks(1); // the load bang: q and gain 1
    }

    // Gain of the left and right outputs for a sine of `hz` (the right input inverted), after a second
    // of settling, as the ratio of output to input RMS.
    std::pair<double, double> gainAt(double hz)
    {
        size_t clock = 0;
        const RmsGains gains = measureRmsGains(patch, hz, sampleRate, static_cast<size_t>(sampleRate * 1.0),
                                               static_cast<size_t>(sampleRate * 1.5), true, clock);
        return {gains.left, gains.right};
    }

    PatchEngine patch;
    SpringsHighPass* filter = nullptr;
    float sampleRate = 0;
};

double dB(double gain)
{
    return 20.0 * std::log10(gain);
}
} // namespace

// A second-order high-pass with q 1 at the cut-off: 0 dB there, 12 dB per octave below, flat above;
// both channels alike, at every rate and at both ends of the cut-off's range.
TEST_F(SpringsHighPassTest, IsASecondOrderHighPassAtTheCutOffAtEveryRate)
{
    for (float rate : {22050.0f, 44100.0f, 48000.0f, 88200.0f, 96000.0f, 176400.0f, 192000.0f})
        for (float cutoff : {30.0f, 1500.0f})
        {
            start(rate);
            filter->numberTilde_obj_32.setNumberTildeInput(cutoff);
            const std::string where = std::to_string(int(rate)) + " Hz, cut-off " + std::to_string(int(cutoff));
            const auto atCutoff = gainAt(cutoff);
            EXPECT_NEAR(dB(atCutoff.first), 0.0, 0.3) << where;
            EXPECT_NEAR(atCutoff.first, atCutoff.second, 1e-6) << where;
            EXPECT_NEAR(dB(gainAt(cutoff / 4).first), -24.0, 1.0) << where << ": two octaves below";
            EXPECT_NEAR(dB(gainAt(cutoff * 8).first), 0.0, 0.2) << where << ": three octaves above";
        }
}

TEST_F(SpringsHighPassTest, ACutOffChangeActsAtTheNextBlock)
{
    start(48000.0f);
    filter->numberTilde_obj_32.setNumberTildeInput(1500.0f);
    EXPECT_LT(dB(gainAt(200.0).first), -30.0);
    filter->numberTilde_obj_32.setNumberTildeInput(30.0f);
    EXPECT_NEAR(dB(gainAt(200.0).first), 0.0, 0.3);
}

// Set values below the range, NaN included, design at 1 Hz: the filter passes everything (within
// what single-precision coefficients so close to z = 1 allow).
TEST_F(SpringsHighPassTest, CutOffsBelowOneHertzDesignAtOneHertz)
{
    start(44100.0f);
    for (float cutoff : {NAN, -INFINITY, -100.0f, 0.0f})
    {
        filter->numberTilde_obj_32.setNumberTildeInput(cutoff);
        const auto gain = gainAt(40.0);
        EXPECT_NEAR(dB(gain.first), 0.0, 0.6) << cutoff;
        EXPECT_NEAR(dB(gain.second), 0.0, 0.6) << cutoff;
    }
}

// The gain's signal object switched to its unconnected input by "mode" 2 reads 0 and silences the
// output; "mode" 1 brings its set value back.
TEST_F(SpringsHighPassTest, ModeTwoReadsTheUnconnectedInput)
{
    start(44100.0f);
    filter->numberTilde_obj_32.setNumberTildeInput(1500.0f);
    patch.sendNumber(tags::mode.hash, filter->numberTilde_obj_18.getId(), 2.0f, patch.engine.getCurrentTime());
    EXPECT_LT(gainAt(12000.0).first, 1e-6) << "a gain of 0";
    patch.sendNumber(tags::mode.hash, filter->numberTilde_obj_18.getId(), 1.0f, patch.engine.getCurrentTime());
    EXPECT_NEAR(dB(gainAt(12000.0).first), 0.0, 0.2) << "back to its set value 1";
}
