// The echo filter inside the real tape echo: its smoothed centre frequency, its band-pass measured
// on sines through the echo's output, and its reports to EchoFiltMeter through the real top level.
#include "patch/core/QuillmoreModules.h"

#include "tests/patch/DesignedResponse.h"
#include "tests/patch/ModuleTestRoot.h"
#include "tests/patch/PatchEngine.h"
#include "tests/patch/SineRmsGain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using namespace PRT;
using namespace PRT::test;

using TapeDelay = Quillmore::PRTSubpatcher_48;

namespace
{
struct FilterRig
{
    FilterRig(float rate, Index block) : sampleRate(rate)
    {
        echo = patch.install(new ModuleTestRoot<TapeDelay>()).module;
        patch.prepare(rate, block);
        patch.processBlocks(1);
    }
    void setFilter(float hz, float q)
    {
        echo->biquad->numberTilde_obj_32.setNumberTildeInput(hz);
        echo->biquad->numberTilde_obj_30.setNumberTildeInput(q);
    }
    // RMS of the echo output over the last half of `seconds` of a sine of `hz` at amplitude 0.5,
    // relative to the input's RMS.
    double gainAt(double hz, double seconds = 1.0)
    {
        const auto total = static_cast<size_t>(seconds * sampleRate);
        return measureRmsGains(patch, hz, sampleRate, total / 2, total, false, sample).left;
    }

    PatchEngine patch;
    TapeDelay* echo = nullptr;
    float sampleRate;
    size_t sample = 0;
};

// The band-pass's magnitude at f for centre f0 and q.
double bandPass(double f, double f0, double q)
{
    const double detune = f / f0 - f0 / f;
    return 1.0 / std::sqrt(1.0 + q * q * detune * detune);
}
} // namespace

// A step of the set frequency from 600 to 6000 Hz: 63 % of it after about 500 samples.
TEST(EchoFilterTest, TheCentreGlidesToANewFrequency)
{
    FilterRig rig(48000.0f, 4);
    rig.setFilter(600.0f, 0.5f);
    rig.patch.processBlocks(48000 / 4);
    ASSERT_NEAR(rig.echo->biquad->freqSmoothed, 600.0f, 0.05f);
    rig.setFilter(6000.0f, 0.5f);
    int samples = 0;
    while (rig.echo->biquad->freqSmoothed < 600.0f + 0.632f * 5400.0f)
    {
        rig.patch.processBlocks(1);
        samples += 4;
    }
    EXPECT_NEAR(samples, 500, 4);
}

// A sine at the centre passes at the band-pass's 0 dB peak (times the echo's input gain of 0.9); an
// octave above and below it is attenuated as the q says.
TEST(EchoFilterTest, PassesTheCentreAndAttenuatesAnOctaveAwayByTheQ)
{
    for (float q : {0.25f, 1.0f, 2.0f})
    {
        FilterRig rig(48000.0f, 64);
        rig.echo->updateTime(rig.patch.engine.getCurrentTime());
        rig.echo->setSyncOnInput(0);
        rig.echo->number_obj_48.setNumberValue(10.0f);
        rig.setFilter(1000.0f, q);
        rig.patch.processBlocks(48000 * 7 / 64); // the limiter's fade-in
        for (double hz : {1000.0, 2000.0, 500.0})
        {
            const std::string where = "q " + std::to_string(q) + ", " + std::to_string(hz) + " Hz";
            const double expected = 0.9 * bandPass(hz, 1000.0, q);
            EXPECT_NEAR(20.0 * std::log10(rig.gainAt(hz) / expected), 0.0, 0.15) << where;
        }
    }
}

// The filter by itself, settled (its LFO input still): the designer's band-pass at the set centre and
// q. Sines from 10 Hz to 20 kHz, at the ends of both ranges and at 44.1 and 192 kHz, come out within
// 0.05 dB of its response wherever that is above -60 dB.
TEST(EchoFilterTest, SteadilyItIsTheDesignersBandPass)
{
    using EchoFilter = TapeDelay::PRTSubpatcher_33;
    struct Row
    {
        float hz, q;
    };
    for (const float rate : {44100.0f, 192000.0f})
        for (const Row& row : {Row{20, 0.01f}, Row{20, 2}, Row{600, 0.25f}, Row{9000, 0.01f}, Row{9000, 2}})
        {
            PatchEngine patch;
            EchoFilter* filter = patch.install(new ModuleTestRoot<EchoFilter>()).module;
            patch.prepare(rate, 64);
            filter->numberTilde_obj_32.setNumberTildeInput(row.hz);
            filter->numberTilde_obj_30.setNumberTildeInput(row.q);
            patch.processBlocks(static_cast<int>(rate / 64)); // 1 s: the centre has glided there
            expectDesignedResponse(patch, rate, row.hz, row.q, dsp::BandPass,
                                   {10.0, 20.0, 100.0, 600.0, 4000.0, 9000.0, 20000.0},
                                   std::to_string(rate) + " Hz rate, centre " + std::to_string(row.hz) + " q "
                                       + std::to_string(row.q));
        }
}

// Through the real top level: the first report is 809.3333; with no LFO EchoFiltMeter settles at the
// set frequency; with the LFO it sweeps within S × (1 ± amount) at the LFO's speed.
TEST(EchoFilterTest, ReportsTheSweptFrequencyToTheMeter)
{
    PatchEngine patch;
    Quillmore& top = patch.install(new Quillmore());
    patch.prepare(48000.0f, 128);
    patch.interface.setParameterValue(params::EchoFilterFreq, 1000.0f, 0);
    patch.interface.setParameterValue(params::EchoFilterLFOAmount, 0.0f, 0);
    patch.processBlocks(1);
    EXPECT_FLOAT_EQ(top.getParameterValue(params::EchoFiltMeter), 809.3333f);
    patch.processBlocks(48000 / 128);
    EXPECT_NEAR(top.getParameterValue(params::EchoFiltMeter), 1000.0f, 0.5f);

    patch.interface.setParameterValue(params::EchoFilterLFOAmount, 40.0f, patch.engine.getCurrentTime());
    patch.interface.setParameterValue(params::EchoFilterLFOSpeed, 0.5f, patch.engine.getCurrentTime());
    float lowest = 1e9f, highest = 0.0f;
    std::vector<int> upwardCrossings; // blocks
    float previous = 1000.0f;
    for (int b = 0; b < 8 * 48000 / 128; ++b)
    {
        patch.processBlocks(1);
        const float reported = top.getParameterValue(params::EchoFiltMeter);
        lowest = std::min(lowest, reported);
        highest = std::max(highest, reported);
        if (previous < 1000.0f && reported >= 1000.0f && b > 50) // past the settling of the first reports
            upwardCrossings.push_back(b);
        previous = reported;
    }
    EXPECT_GE(lowest, 600.0f - 1.0f);
    EXPECT_LE(highest, 1400.0f + 1.0f);
    EXPECT_LT(lowest, 620.0f);
    EXPECT_GT(highest, 1380.0f);
    ASSERT_GE(upwardCrossings.size(), 3u);
    const double period = (upwardCrossings.back() - upwardCrossings.front()) * 128.0 / 48000.0
                          / static_cast<double>(upwardCrossings.size() - 1);
    EXPECT_NEAR(period, 2.0, 0.1) << "0.5 Hz";
}
