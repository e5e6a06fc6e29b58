// The real patch through the runtime's core object, as the plug-in drives it: the host's defaults
// pushed in, blocks of the engine block size the processor picks.
#include "patch/core/PatchLatency.h"
#include "patch/core/QuillmoreParameters.h"
#include "runtime/CoreObject.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

using namespace PRT;

namespace
{
// Where the host's defaults differ from the patch's own initial values.
const std::pair<ParameterIndex, float> hostDefaults[] = {
    {params::EchoFdbck, 80},   {params::EchoFilterLFOSpeed, 0.019f}, {params::EchoTime, 250},
    {params::NoiseDuckTime, 100}, {params::SpringSize, 8},           {params::SpringAB, 50},
    {params::EchoSyncDiv, 7},  {params::hostTempo, 120},             {params::Order, 1},
    {params::TrueBypass, 0}};

// Everything turned up.
const std::pair<ParameterIndex, float> hotSettings[] = {
    {params::Input, 200},      {params::Output, 200},       {params::Saturate, 100},    {params::EchoFdbck, 120},
    {params::EchoMix, 100},    {params::SpringMix, 100},    {params::SpringDecay, 100}, {params::NoiseAmnt, 100},
    {params::Wow, 100},        {params::MstrWarble, 100},   {params::Flutter, 100},     {params::Degrade, 100},
    {params::SendRetMode, 1},  {params::EchoSend, 100},     {params::SpringSend, 100},  {params::EchoToSpring, 100},
    {params::EchoTime, 1},     {params::HighPass, 15000},   {params::HighPassQ, 2},     {params::Order, 0}};

// A stereo test signal: a sine on the left, noise on the right, both at half scale.
struct TestSignal
{
    uint32_t seed = 12345;
    double phase = 0;

    void fill(std::vector<float>& left, std::vector<float>& right, float sampleRate)
    {
        for (size_t i = 0; i < left.size(); ++i)
        {
            left[i] = 0.5f * static_cast<float>(std::sin(phase));
            phase += 6.283185307179586 * 440.0 / sampleRate;
            seed = seed * 1664525u + 1013904223u;
            right[i] = 0.5f * (static_cast<float>(seed >> 8) / 8388608.0f - 1.0f);
        }
    }
};

class CoreRender
{
public:
    CoreRender(float rate, Index block) : sampleRate(rate), blockSize(block), left(block), right(block), outLeft(block), outRight(block)
    {
        for (const auto& [index, value] : hostDefaults)
            core.setParameterValue(index, value, 0.0);
        core.prepareToProcess(sampleRate, blockSize);
    }

    void set(ParameterIndex index, float value) { core.setParameterValue(index, value, 0.0); }

    void block()
    {
        signal.fill(left, right, sampleRate);
        const SampleValue* inputs[] = {left.data(), right.data()};
        SampleValue* outputs[] = {outLeft.data(), outRight.data()};
        core.process(inputs, 2, outputs, 2, blockSize);
        rendered += blockSize;
    }

    const float sampleRate;
    const Index blockSize;
    CoreObject core;
    TestSignal signal;
    std::vector<float> left, right, outLeft, outRight;
    size_t rendered = 0;
};

struct RateCase
{
    float sampleRate;
    Index blockSize;
};

void PrintTo(const RateCase& c, std::ostream* out)
{
    *out << c.sampleRate << " Hz, blocks of " << c.blockSize;
}

class QuillmoreRenderTest : public testing::TestWithParam<RateCase>
{
};
} // namespace

TEST_P(QuillmoreRenderTest, TenSecondsStayFiniteInEverySetting)
{
    const RateCase c = GetParam();
    for (bool hot : {false, true})
    {
        CoreRender render(c.sampleRate, c.blockSize);
        if (hot)
            for (const auto& [index, value] : hotSettings)
                render.set(index, value);
        const auto total = static_cast<size_t>(10.0f * c.sampleRate);
        const auto flipEvery = static_cast<size_t>(2.0f * c.sampleRate);
        double energy = 0.0;
        size_t flips = 0;
        while (render.rendered < total)
        {
            // Every two seconds the order and the sections change, and the bypass on the way.
            if (render.rendered / flipEvery > flips)
            {
                ++flips;
                render.set(params::Order, static_cast<float>(flips % 2));
                render.set(params::HeadsOn, static_cast<float>(flips / 2 % 2 == 0));
                render.set(params::SpaceOn, static_cast<float>(flips % 3 != 1));
                render.set(params::TrueBypass, static_cast<float>(flips == 3));
            }
            render.block();
            for (Index i = 0; i < c.blockSize; ++i)
            {
                ASSERT_TRUE(std::isfinite(render.outLeft[i]) && std::isfinite(render.outRight[i]))
                    << (hot ? "hot" : "defaults") << ", sample " << render.rendered - c.blockSize + i;
                energy += double(render.outLeft[i]) * render.outLeft[i] + double(render.outRight[i]) * render.outRight[i];
            }
        }
        EXPECT_GT(energy / static_cast<double>(total), 0.01) << (hot ? "hot" : "defaults") << ": audio came through";
    }
}

INSTANTIATE_TEST_SUITE_P(EngineBlockSizes, QuillmoreRenderTest,
                         testing::Values(RateCase{44100.0f, 64}, RateCase{48000.0f, 128}, RateCase{96000.0f, 256},
                                         RateCase{192000.0f, 256}),
                         [](const testing::TestParamInfo<RateCase>& info) {
                             return std::to_string(static_cast<int>(info.param.sampleRate)) + "Hz_" +
                                    std::to_string(info.param.blockSize);
                         });

// With the Heads off (their filters would colour it) the wet path is the one-engine-block-old copy
// that the Heads chain works on, a sample late as the chain's output is. The bypass path is as late.
constexpr size_t lag = 128 + patchSamplesLateBeyondBlock;

TEST(QuillmoreDefaultRender, IsTheInputOneEngineBlockAndASampleLateAtUnityGainAfterTheStartUpRampWithTheHeadsOff)
{
    CoreRender render(48000.0f, 128);
    render.set(params::HeadsOn, 0);
    std::vector<float> inputLeft, inputRight;
    const size_t rampClosed = 14400; // 300 ms
    const size_t settled = 28800;    // 600 ms: the ramp open and the output level glided in
    float largestError = 0.0f;
    while (render.rendered < 48000)
    {
        render.block();
        inputLeft.insert(inputLeft.end(), render.left.begin(), render.left.end());
        inputRight.insert(inputRight.end(), render.right.begin(), render.right.end());
        const size_t start = render.rendered - 128;
        for (Index i = 0; i < 128; ++i)
        {
            if (start + i < rampClosed)
            {
                ASSERT_EQ(render.outLeft[i], 0.0f) << start + i;
                ASSERT_EQ(render.outRight[i], 0.0f) << start + i;
            }
            else if (start + i >= settled)
            {
                largestError = std::max(largestError, std::fabs(render.outLeft[i] - inputLeft[start + i - lag]));
                largestError = std::max(largestError, std::fabs(render.outRight[i] - inputRight[start + i - lag]));
            }
        }
    }
    EXPECT_LT(largestError, 1e-4f);
}

TEST(QuillmoreDefaultRender, BypassPassesTheInputOneEngineBlockAndASampleLateAndGlidesBack)
{
    // With the input gain at half, the wet path (the Heads off) is the input at half gain and the bypass
    // path the input itself, both equally late: the bypass glides from one gain to the other, in time.
    constexpr float wetGain = 0.5f;
    CoreRender render(48000.0f, 128);
    render.set(params::HeadsOn, 0);
    render.set(params::Input, 100.0f * wetGain);
    std::vector<float> inputLeft;
    auto run = [&](size_t samples, auto&& check) {
        for (size_t end = render.rendered + samples; render.rendered < end;)
        {
            render.block();
            inputLeft.insert(inputLeft.end(), render.left.begin(), render.left.end());
            const size_t start = render.rendered - 128;
            for (Index i = 0; i < 128; ++i)
                check(render.outLeft[i], inputLeft[start + i - lag]);
        }
    };
    auto ignore = [](float, float) {};
    run(28800, ignore); // past the start-up ramp
    float largestError = 0.0f;
    run(4800, [&](float out, float in) { largestError = std::max(largestError, std::fabs(out - wetGain * in)); });
    EXPECT_LT(largestError, 1e-4f) << "the wet path";

    render.set(params::TrueBypass, 1);
    run(48000, ignore);
    // Held on, the bypass weight stops just short of 1: the wet path stays some 90 dB down.
    largestError = 0.0f;
    run(4800, [&](float out, float in) { largestError = std::max(largestError, std::fabs(out - in)); });
    EXPECT_LT(largestError, 1e-4f) << "the input, one block and a sample late";

    render.set(params::TrueBypass, 0);
    // The dry share falls by 0.1 % per sample: to about a third after 1000 samples.
    double dryShare = 0.99997;
    largestError = 0.0f;
    run(2048, [&](float out, float in) {
        dryShare *= 0.999;
        const float expected = static_cast<float>((dryShare + (1.0 - dryShare) * wetGain) * in);
        largestError = std::max(largestError, std::fabs(out - expected));
    });
    EXPECT_LT(largestError, 1e-4f) << "a glide, not a step";
    run(24000, ignore);
    largestError = 0.0f;
    run(4800, [&](float out, float in) { largestError = std::max(largestError, std::fabs(out - wetGain * in)); });
    EXPECT_LT(largestError, 1e-4f) << "back to the wet path, one block and a sample late";
}
