// The noise duckers: the left ducker's compressor inside the real engine core, as the only module of
// a test top level, its left input the audio (a hiss of 1, so that its output is the gain) and its
// right input the key; then both duckers inside the real top level.
#include "patch/core/MessageTags.h"
#include "patch/core/QuillmoreModules.h"

#include "tests/patch/ModuleTestRoot.h"
#include "tests/patch/StereoRender.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

using namespace PRT;
using namespace PRT::test;

using Compressor = Quillmore::PRTSubpatcher_41::PRTSubpatcher_30;

namespace
{
struct DuckerRig
{
    // Started as the top level starts it (set-up and the load clock that sets the ratio 3 at
    // installation), then NoiseDuckTime and NoiseDuckThresh as the first block's parameter bangs hand
    // them over.
    DuckerRig(float sampleRate, float duckTime, float threshold, Index blockSize = 64)
    {
        compressor = patch.install(new ModuleTestRoot<Compressor>()).module;
        patch.prepare(sampleRate, blockSize);
        compressor->setTimeInput(duckTime);
        compressor->flonum.setNumberValue(threshold);
        rate = sampleRate;
    }

    // The gain for a constant key.
    std::vector<float> render(size_t samples, float key) { return renderSamples(patch, samples, 1.0f, key).left; }

    PatchEngine patch;
    Compressor* compressor = nullptr;
    float rate = 0;
};

float decibels(float dB)
{
    return std::pow(10.0f, dB / 20.0f);
}

// The first sample from which the gain stays exactly at its final value.
size_t arrival(const std::vector<float>& gain)
{
    size_t i = gain.size();
    while (i > 0 && gain[i - 1] == gain.back())
        --i;
    return i;
}
} // namespace

TEST(NoiseDucker, ARatioOfThreeAboveTheThreshold)
{
    struct Case
    {
        float threshold, keyDb;
        float gain;
    } cases[] = {
        {-20, -10, 0.4642f},  // 10 dB over: 10^(−10 × (2/3) / 20)
        {-5, 0, 0.6813f},
        {0, 6, 0.6310f},
        {-40, -50, 1.0f},     // below: unchanged
        {-100, -97, 1.0f},    // −100 acts as −96
        {-100, -95, 0.9261f}, // 1 dB over −96
    };
    for (const Case& c : cases)
    {
        DuckerRig rig(48000, 100, c.threshold);
        const std::vector<float> gain = rig.render(48000, decibels(c.keyDb));
        EXPECT_NEAR(gain.back(), c.gain, 2e-4f) << "threshold " << c.threshold << ", key " << c.keyDb << " dB";
        const std::vector<float> negative = rig.render(4800, -decibels(c.keyDb));
        EXPECT_NEAR(negative.back(), c.gain, 2e-4f) << "the level is the key's RMS, whatever its sign";
    }
}

TEST(NoiseDucker, AttackAndReleaseFollowNoiseDuckTime)
{
    // A key of 0 dB against a threshold of −40 dB: its RMS crosses the threshold at once and takes
    // 1000 samples to fill the window, after which the target holds and the gain ramps linearly to it
    // over the attack; when the key stops, the level falls below the threshold 999 samples later and
    // the gain ramps back to 1 over the release.
    struct Case
    {
        float rate, duckTime;
        double attackMs, releaseMs;
    } cases[] = {
        {48000, 5, 66, 5}, {48000, 100, 180, 100}, {48000, 1000, 1260, 1000}, {96000, 150, 240, 150},
    };
    for (const Case& c : cases)
    {
        const std::string what = std::to_string(int(c.rate)) + " Hz, NoiseDuckTime " + std::to_string(int(c.duckTime));
        DuckerRig rig(c.rate, c.duckTime, -40);
        rig.render(static_cast<size_t>(c.rate * 1.1), 0.0f);
        const auto attack = static_cast<size_t>(c.attackMs * 0.001 * c.rate);
        const auto release = static_cast<size_t>(c.releaseMs * 0.001 * c.rate);

        const std::vector<float> down = rig.render(attack + 4000, 1.0f);
        EXPECT_NEAR(down.back(), std::pow(10.0, -40.0 * (2.0 / 3.0) / 20.0), 1e-5) << what;
        EXPECT_NEAR(static_cast<double>(arrival(down)), 999.0 + attack, 1.0) << what << ": attack";

        const std::vector<float> up = rig.render(release + 4000, 0.0f);
        EXPECT_EQ(up.back(), 1.0f) << what;
        EXPECT_NEAR(static_cast<double>(arrival(up)), 999.0 + release, 1.0) << what << ": release";
    }
}

TEST(NoiseDucker, APrepareRestartsTheLevelWithTheNextKeySample)
{
    DuckerRig rig(48000, 100, -40);
    rig.render(48000, 1.0f);
    rig.patch.prepare(96000, 64);
    const std::vector<float> up = rig.render(30000, 0.0f);
    EXPECT_EQ(up.back(), 1.0f);
    EXPECT_NEAR(static_cast<double>(arrival(up)), 9600.0, 1.0) << "the release starts at the first silent sample";
}

TEST(NoiseDucker, NoRatioAndNoKeyMakeTheGainUnfinite)
{
    // Ratios sent from outside (below 1 taken as 1), and the ratio of 0 that the compressor holds
    // until its load-time bang: silent, loud and silent again, the gain stays a finite number in
    // [0, 1] and the silence after the key does not duck.
    const float ratios[] = {0.0f, 1.0f, 1e30f, std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN()};
    for (const float ratio : ratios)
    {
        DuckerRig rig(48000, 5, -96);
        rig.render(64, 0.0f);
        if (ratio == 0.0f)
            rig.compressor->ratio = 0.0f;
        else
            rig.patch.sendNumber(tags::valin.hash, hashString("NoiseDucker[1]/compressor/flonum[1]"), ratio,
                                 rig.patch.engine.getCurrentTime());
        for (const float key : {0.0f, 1.0f, 1e-6f, 0.0f})
            for (const float gain : rig.render(4800, key))
                ASSERT_TRUE(gain >= 0.0f && gain <= 1.0f) << "ratio " << ratio << ", key " << key << ": " << gain;
        EXPECT_EQ(rig.render(64, 0.0f).back(), 1.0f) << "ratio " << ratio;
    }
}

TEST(NoiseDucker, HostileKeysStayFiniteAndTheSilenceAfterThemDoesNotDuck)
{
    DuckerRig rig(48000, 5, -96);
    rig.render(4800, 0.1f);
    const float hostile[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity(), 1e30f, 1e-40f};
    for (const float key : hostile)
        for (const float gain : rig.render(64, key))
            ASSERT_TRUE(gain >= 0.0f && gain <= 1.0f) << key << ": " << gain;
    EXPECT_EQ(rig.render(4800, 0.0f).back(), 1.0f);
}

TEST(NoiseDucker, AnHourOfSignalThenSilenceDoesNotDuck)
{
    // The most sensitive threshold and the shortest release. An hour of loud noise in the key at
    // 48 kHz, rendered as fast as it goes; then silence, and not the least reduction of the hiss; then
    // a key just over the threshold, ducked as a fresh compressor would duck it (a residue of the
    // hour in the level, of either sign, would swamp it).
    DuckerRig rig(48000, 5, -96, 256);
    PatchEngine& patch = rig.patch;
    std::fill(patch.left.begin(), patch.left.end(), 1.0f);
    const SampleValue* inputs[] = {patch.left.data(), patch.right.data()};
    SampleValue* outputs[] = {patch.outLeft.data(), patch.outRight.data()};
    uint32_t seed = 12345;
    const int64_t hour = 3600LL * 48000 / 256;
    for (int64_t block = 0; block < hour; ++block)
    {
        for (float& key : patch.right)
        {
            seed = seed * 1664525u + 1013904223u;
            key = static_cast<float>(seed >> 8) * (2.0f / 16777216.0f) - 1.0f;
        }
        patch.engine.process(inputs, 2, outputs, 2, 256, nullptr, nullptr);
    }
    EXPECT_LT(patch.outLeft.back(), 0.02f) << "the noise was ducked";

    const std::vector<float> silence = rig.render(4800, 0.0f);
    EXPECT_EQ(silence.back(), 1.0f);
    const std::vector<float> quiet = rig.render(48000, decibels(-90));
    EXPECT_NEAR(quiet.back(), std::pow(10.0, -6.0 * (2.0 / 3.0) / 20.0), 2e-4);
}
