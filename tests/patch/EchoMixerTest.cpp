// The echo mixer and the echo-to-springs send, each run on its own ports with constant section-input
// (X) and echo (E) signals and measured; the send's gain also through the real top level's setters.
#include "patch/core/MessageTags.h"
#include "patch/core/QuillmoreModules.h"

#include "tests/patch/ModuleTestRoot.h"
#include "tests/patch/PatchEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace PRT;
using namespace PRT::test;

using DryWetDelay = Quillmore::PRTSubpatcher_47;
using DelToSprings = Quillmore::PRTSubpatcher_52;

namespace
{
constexpr Index blockSize = 64;

// The outputs of one block of a module fed constant inputs.
struct Ports
{
    std::vector<std::vector<float>> out;
    bool finite = true;

    Ports(GeneratedPatcher& module, const std::vector<float>& constants, Index outputs, int blocks = 1)
        : out(outputs, std::vector<float>(blockSize))
    {
        std::vector<std::vector<float>> in;
        for (float c : constants)
            in.emplace_back(blockSize, c);
        std::vector<const SampleValue*> ins;
        for (auto& x : in)
            ins.push_back(x.data());
        std::vector<SampleValue*> outs;
        for (auto& y : out)
            outs.push_back(y.data());
        for (int b = 0; b < blocks; ++b)
        {
            module.process(ins.data(), static_cast<Index>(ins.size()), outs.data(), outputs, blockSize);
            for (auto& y : out)
                for (float v : y)
                    finite = finite && std::isfinite(v);
        }
    }
    float last(int port) const { return out[static_cast<size_t>(port)].back(); }
};

class EchoMixerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        mixer = patch.install(new ModuleTestRoot<DryWetDelay>()).module;
        patch.prepare(48000.0f, blockSize);
        patch.processBlocks(1);
    }

    // Mix and mode as the top level writes them.
    void set(float echoMix, float mode)
    {
        mixer->updateTime(patch.engine.getCurrentTime());
        mixer->setMixInput(echoMix);
        mixer->number_obj_38.setNumberValue(mode);
    }
    // The dry and the wet gain once settled (half a second), read as W for X = 1, E = 0 and X = 0, E = 1.
    std::pair<float, float> settledGains()
    {
        Ports(*mixer, {0, 0, 0, 0}, 3, 400);
        const Ports dryOnly(*mixer, {1, -1, 0, 0}, 3);
        const Ports wetOnly(*mixer, {0, 0, 1, -1}, 3);
        EXPECT_EQ(dryOnly.last(1), -dryOnly.last(0));
        EXPECT_EQ(wetOnly.last(1), -wetOnly.last(0));
        return {dryOnly.last(0), wetOnly.last(0)};
    }

    PatchEngine patch;
    DryWetDelay* mixer = nullptr;
};
} // namespace

// Wet/dry: dry 1 − m³, wet m; send/return: dry 1 whatever the mix.
TEST_F(EchoMixerTest, MixesUnderBothLaws)
{
    const struct
    {
        float mix, mode, dry, wet;
    } rows[] = {{50, 0, 0.875f, 0.5f}, {0, 0, 1.0f, 0.0f},  {100, 0, 0.0f, 1.0f}, {20, 0, 0.992f, 0.2f},
                {50, 1, 1.0f, 0.5f},   {100, 1, 1.0f, 1.0f}, {0, 1, 1.0f, 0.0f}};
    for (const auto& row : rows)
    {
        set(row.mix, row.mode);
        const auto gains = settledGains();
        const std::string where = "mix " + std::to_string(row.mix) + ", mode " + std::to_string(row.mode);
        EXPECT_NEAR(gains.first, row.dry, 1e-4) << where;
        EXPECT_NEAR(gains.second, row.wet, 1e-4) << where;
    }
}

// A new mix moves both gains by 1 % of the distance per sample: no step, 63 % of the way after 100
// samples (dry read with X = 1 and no echo, wet with E = 1 and no input).
TEST_F(EchoMixerTest, GainsGlideToANewMixWithoutAStep)
{
    for (bool readDry : {true, false})
    {
        set(0, 0);
        settledGains();
        set(100, 0); // dry 1 → 0, wet 0 → 1
        std::vector<float> w;
        for (int b = 0; b < 2; ++b)
        {
            const Ports block(*mixer, readDry ? std::vector<float>{1, 1, 0, 0} : std::vector<float>{0, 0, 1, 1}, 3);
            w.insert(w.end(), block.out[0].begin(), block.out[0].end());
        }
        const float from = readDry ? 1.0f : 0.0f;
        const float to = 1.0f - from;
        EXPECT_NEAR(w[0], from + (to - from) * 0.01f, 1e-5) << readDry;
        for (size_t i = 1; i < w.size(); ++i)
            EXPECT_LE(std::fabs(w[i] - w[i - 1]), 0.01f) << readDry << " at " << i;
        EXPECT_NEAR((w[99] - from) / (to - from), 1.0f - std::pow(0.99f, 100.0f), 1e-4) << readDry;
    }
}

// The analyser gets wet × (E left + E right); with no echo mix it gets nothing.
TEST_F(EchoMixerTest, FeedsTheAnalyserTheWeightedEchoSummedToMono)
{
    set(50, 0);
    settledGains();
    const Ports ports(*mixer, {0.3f, 0.3f, 0.25f, 0.5f}, 3);
    EXPECT_NEAR(ports.last(2), 0.5f * (0.25f + 0.5f), 1e-5);
    set(0, 0);
    settledGains();
    const Ports silent(*mixer, {0.3f, 0.3f, 0.25f, 0.5f}, 3);
    EXPECT_NEAR(silent.last(2), 0.0f, 1e-6);
}

// Until the top level writes SendRetMode the mode is send/return (dry at 1); the dry gain's signal
// object switched to ramp mode puts its held value (0) in the gain's place, and back.
TEST_F(EchoMixerTest, ModeBeforeTheFirstWriteAndTheDryObjectInRampMode)
{
    mixer->setMixInput(100);
    EXPECT_NEAR(settledGains().first, 1.0f, 1e-4);
    const auto dryId = mixer->numberTilde_obj_25.getId();
    patch.sendNumber(tags::mode.hash, dryId, 1.0f, patch.engine.getCurrentTime());
    patch.processBlocks(1);
    EXPECT_EQ(settledGains().first, 0.0f);
    patch.sendNumber(tags::mode.hash, dryId, 2.0f, patch.engine.getCurrentTime());
    patch.processBlocks(1);
    EXPECT_NEAR(settledGains().first, 1.0f, 1e-4);
}

// The dry gain's monitor reports go to slider_obj-48, on 0..128.
TEST_F(EchoMixerTest, TheDryGainIsShownOnItsSlider)
{
    set(50, 0);
    for (int k = 0; k < 200; ++k)
    {
        Ports(*mixer, {0, 0, 0, 0}, 3);
        patch.processBlocks(1); // delivers the report's clock
    }
    EXPECT_NEAR(mixer->slider_obj_48.getPosition(), 0.875f * 128.0f, 0.5f);
}

// A "valin" of NaN or infinity on the mix slider leaves the gains where they are, finite.
TEST_F(EchoMixerTest, HostileSliderValuesLeaveTheGainsFinite)
{
    set(50, 0);
    settledGains();
    for (float hostile : {NAN, INFINITY, -INFINITY})
    {
        patch.sendNumber(tags::valin.hash, mixer->slider_obj_1.getId(), hostile, patch.engine.getCurrentTime());
        patch.processBlocks(1);
        const Ports ports(*mixer, {1, 1, 1, 1}, 3, 50);
        EXPECT_TRUE(ports.finite) << hostile;
    }
}

// The send: gain target g × 0.01 reached by the one-pole; out = g × E per channel, and their sum.
TEST(EchoToSpringsSendTest, ScalesTheEchoByItsGlidedGain)
{
    PatchEngine patch;
    DelToSprings* send = patch.install(new ModuleTestRoot<DelToSprings>()).module;
    patch.prepare(44100.0f, blockSize);
    patch.processBlocks(1);
    send->setGainInput(25.0f);
    const Ports first(*send, {1.0f, -0.5f}, 3, 1);
    EXPECT_NEAR(first.out[0][0], 0.25f * 0.01f, 1e-6) << "no step";
    const Ports settled(*send, {1.0f, -0.5f}, 3, 300);
    EXPECT_NEAR(settled.last(0), 0.25f, 1e-5);
    EXPECT_NEAR(settled.last(1), -0.125f, 1e-5);
    EXPECT_NEAR(settled.last(2), 0.125f, 1e-5);
    send->setGainInput(NAN);
    EXPECT_TRUE(Ports(*send, {1.0f, 1.0f}, 3, 10).finite);
}

// Through the top level's setters: EchoMix × EchoToSpring reaches the springs in send/return mode,
// nothing in wet/dry mode.
TEST(EchoToSpringsSendTest, CarriesMixTimesSendOnlyInSendReturnMode)
{
    const struct
    {
        float mix, toSpring, mode, expected;
    } rows[] = {{50, 40, 1, 0.2f}, {100, 100, 1, 1.0f}, {80, 25, 1, 0.2f}, {50, 40, 0, 0.0f}, {100, 100, 0, 0.0f}};
    for (const auto& row : rows)
    {
        PatchEngine patch;
        Quillmore& top = patch.install(new Quillmore());
        patch.prepare(48000.0f, blockSize);
        patch.interface.setParameterValue(params::SendRetMode, row.mode, 0);
        patch.interface.setParameterValue(params::EchoMix, row.mix, 0);
        patch.interface.setParameterValue(params::EchoToSpring, row.toSpring, 0);
        patch.processBlocks(1);
        const Ports sent(*top.delToSprings, {1.0f, 1.0f}, 3, 300);
        EXPECT_NEAR(sent.last(0), row.expected, 1e-5) << row.mix << " × " << row.toSpring << ", mode " << row.mode;
    }
}
