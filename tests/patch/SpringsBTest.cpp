// Spring model B as the only module of a test top level, measured on what it renders once its
// limiter has faded in and its size has glided to the factor: the stage gains in the first output
// sample, the stage times and the feedback loop in the arrivals of an impulse through delay-only
// stages, the channels' independence, a size sweep under a steady tone, and hostile input and
// settings at every supported rate.
#include "patch/space/SpringsB.h"

#include "patch/core/MessageTags.h"

#include "tests/patch/ImpulseResponse.h"
#include "tests/patch/ModuleTestRoot.h"
#include "tests/patch/StereoRender.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace PRT;
using namespace PRT::test;

using SpringsB = Quillmore::PRTSubpatcher_49;

namespace
{
constexpr float supportedRates[] = {22050.0f, 44100.0f, 48000.0f, 88200.0f, 96000.0f, 176400.0f, 192000.0f};
// Per position, the factor on c of the stage gains, and the stage times in ms at a size factor of 1.
constexpr float gainFactors[] = {0.4f, 0.45f, 0.35f, 0.25f, 0.4f};
constexpr double leftTimesMs = 8.6428 + 14.3 + 3.3 * 0.95 + 8.651 + 13.299;
constexpr double rightTimesMs = 8.6428 * 0.99 + 14.3 * 0.97 + 3.3 + 8.651 * 0.92 + 13.299 * 0.9;

const HashedText stageGainBoxes[] = {HashedText("SpringsB/number_obj-47"), HashedText("SpringsB/number_obj-21"),
                                     HashedText("SpringsB/number_obj-80"), HashedText("SpringsB/number_obj-25"),
                                     HashedText("SpringsB/number_obj-76")};

class SpringsBRig
{
public:
    SpringsBRig(float rate, Index blockSize, float decay, float size) : sampleRate(rate)
    {
        springs = patch.install(new ModuleTestRoot<SpringsB>()).module;
        patch.prepare(rate, blockSize);
        springs->setDecayInput(decay);
        springs->setSizeInput(size);
    }

    // Stages that only delay, through the boxes' own messages: an impulse then arrives as a pulse.
    void delayOnlyStages()
    {
        for (const HashedText& box : stageGainBoxes)
            patch.sendNumber(tags::valin.hash, box.hash, 0.0f, patch.engine.getCurrentTime());
    }
    void setDelayTime(float samples)
    {
        patch.sendNumber(tags::valin.hash, HashedText("SpringsB/number_obj-94").hash, samples,
                         patch.engine.getCurrentTime());
    }

    // Silence until the limiter is at full gain and the size glide has stopped.
    void settle() { renderSamples(patch, static_cast<size_t>(8.0 * sampleRate)); }

    template <typename Left, typename Right>
    StereoSignal render(double seconds, Left left, Right right)
    {
        return renderSignals(patch, static_cast<size_t>(seconds * sampleRate), left, right);
    }
    StereoSignal impulse(double seconds, bool onLeft = true, bool onRight = true)
    {
        auto pulse = [](bool on) { return [on](size_t i) { return on && i == 0 ? 1.0f : 0.0f; }; };
        return render(seconds, pulse(onLeft), pulse(onRight));
    }

    PatchEngine patch;
    SpringsB* springs = nullptr;
    float sampleRate;
};

struct Arrival
{
    double sum;    // the pulse's area (its linear interpolations keep it)
    double centre; // its centroid, in samples from the start
};

// The pulse within `halfWidth` samples of `around`.
Arrival arrivalNear(const std::vector<float>& signal, double around, int halfWidth = 12)
{
    double sum = 0.0, moment = 0.0;
    for (auto i = static_cast<long>(around) - halfWidth; i <= static_cast<long>(around) + halfWidth; ++i)
    {
        sum += signal[static_cast<size_t>(i)];
        moment += static_cast<double>(i) * signal[static_cast<size_t>(i)];
    }
    return {sum, moment / sum};
}

// The chain's output before its DC blocker (y = x − x1 + 0.9997 y1, undone), so that a pulse through
// stages that only delay keeps its area.
std::vector<float> beforeDcBlocker(const std::vector<float>& blocked)
{
    std::vector<float> chain(blocked.size());
    double x1 = 0.0, y1 = 0.0;
    for (size_t i = 0; i < blocked.size(); ++i)
    {
        const double x = blocked[i] - 0.9997 * y1 + x1;
        chain[i] = static_cast<float>(x);
        x1 = x;
        y1 = blocked[i];
    }
    return chain;
}

double largestStep(const std::vector<float>& signal, size_t from)
{
    double largest = 0.0;
    for (size_t i = from + 1; i < signal.size(); ++i)
        largest = std::max(largest, std::fabs(static_cast<double>(signal[i]) - signal[i - 1]));
    return largest;
}
} // namespace

// The stage gains are c × (0.4, 0.45, 0.35, 0.25, 0.4), c from 1.05 to 1.35 with SpringDecay: what an
// impulse meets first is every stage's −g in turn.
TEST(SpringsBTest, StageGainsFollowDecayAndShapeTheFirstSampleOfBothChannels)
{
    for (float decay : {0.0f, 50.0f, 100.0f})
    {
        SpringsBRig rig(48000.0f, 128, decay, 8.0f);
        const float c = 1.05f + 0.3f * decay / 100.0f;
        double first = -1.0;
        for (size_t k = 0; k < 5; ++k)
        {
            EXPECT_NEAR(rig.springs->stageGains[k], c * gainFactors[k], 1e-6f) << decay << ", position " << k + 1;
            first *= c * gainFactors[k];
        }
        rig.settle();
        const StereoSignal out = rig.impulse(0.01);
        EXPECT_NEAR(out.left[0], first, 1e-6) << decay;
        EXPECT_NEAR(out.right[0], first, 1e-6) << decay;
    }
}

// SpringSize 4..12 gives the size factor 1.25..2.25 on every stage time: an impulse through stages
// that only delay arrives after the sum of the five times, in ms at any rate, also after a prepare
// at a new rate.
TEST(SpringsBTest, SizeScalesEveryStageTime)
{
    const struct
    {
        float size, factor, firstRate, rate;
    } cases[] = {{4, 1.25f, 48000, 48000}, {6, 1.5f, 48000, 48000}, {8, 1.75f, 48000, 48000},
                 {12, 2.25f, 48000, 48000}, {12, 2.25f, 44100, 96000}, {4, 1.25f, 192000, 22050}};
    for (const auto& c : cases)
    {
        SpringsBRig rig(c.firstRate, 128, 0.0f, c.size);
        rig.delayOnlyStages();
        if (c.rate != c.firstRate)
        {
            rig.settle();
            rig.patch.prepare(c.rate, 128);
            rig.sampleRate = c.rate;
        }
        rig.settle();
        const StereoSignal blocked = rig.impulse(0.25);
        const StereoSignal out{beforeDcBlocker(blocked.left), beforeDcBlocker(blocked.right)};
        const double perMs = c.rate / 1000.0;
        const Arrival left = arrivalNear(out.left, c.factor * leftTimesMs * perMs);
        const Arrival right = arrivalNear(out.right, c.factor * rightTimesMs * perMs);
        const std::string label = std::to_string(c.size) + " at " + std::to_string(c.rate);
        EXPECT_NEAR(left.sum, 1.0, 1e-4) << label;
        EXPECT_NEAR(right.sum, 1.0, 1e-4) << label;
        EXPECT_NEAR(left.centre / (leftTimesMs * perMs), c.factor, 1e-3) << label;
        EXPECT_NEAR(right.centre / (rightTimesMs * perMs), c.factor, 1e-3) << label;
    }
}

// The chain's output returns to its input through the feedback delay (number_obj-94's samples on the
// right, 0.976 times as many on the left, at least one and at most 600) and one engine block, scaled
// by the feedback gain: 0.33 at SpringDecay 0, 0.33 + 0.63 √(decay/100) above.
TEST(SpringsBTest, FeedbackReturnsAfterTheDelayAndOneBlockScaledByDecay)
{
    const struct
    {
        float decay;
        Index block;
        float delayTime;
        double feedback, leftDelay, rightDelay;
    } cases[] = {
        {0, 128, 0, 0.33, 1, 1},       {25, 64, 0, 0.645, 1, 1},        {100, 256, 0, 0.96, 1, 1},
        {100, 128, 100, 0.96, 97.6, 100}, {100, 128, 1000, 0.96, 600, 600}, {100, 64, -5, 0.96, 1, 1},
    };
    for (const auto& c : cases)
    {
        const std::string label = std::to_string(c.decay) + " " + std::to_string(c.block) + " " + std::to_string(c.delayTime);
        SpringsBRig rig(48000.0f, c.block, c.decay, 4.0f);
        rig.delayOnlyStages();
        rig.setDelayTime(c.delayTime);
        rig.settle();
        const StereoSignal blocked = rig.impulse(0.5);
        const StereoSignal out{beforeDcBlocker(blocked.left), beforeDcBlocker(blocked.right)};
        const struct
        {
            const std::vector<float>& signal;
            double chain, delay;
        } channels[] = {{out.left, 1.25 * leftTimesMs * 48.0, c.leftDelay},
                        {out.right, 1.25 * rightTimesMs * 48.0, c.rightDelay}};
        for (const auto& channel : channels)
        {
            // The chain's own length is where the impulse first arrives (the size glide ends a hair
            // short of its factor).
            const Arrival first = arrivalNear(channel.signal, channel.chain);
            const double loop = first.centre + c.block + channel.delay;
            const Arrival second = arrivalNear(channel.signal, first.centre + loop);
            const Arrival third = arrivalNear(channel.signal, second.centre + loop);
            EXPECT_NEAR(second.sum / first.sum, c.feedback, 1e-4) << label;
            EXPECT_NEAR(third.sum / second.sum, c.feedback, 1e-4) << label;
            EXPECT_NEAR(second.centre - first.centre, loop, 0.05) << label;
        }
    }
}

// Nothing crosses between the channels, whatever rings and however the size moves.
TEST(SpringsBTest, AnImpulseOnOneChannelLeavesTheOtherExactlyZero)
{
    for (bool onLeft : {true, false})
    {
        SpringsBRig rig(44100.0f, 64, 100.0f, 12.0f);
        rig.settle();
        StereoSignal out = rig.impulse(0.5, onLeft, !onLeft);
        rig.springs->setSizeInput(4.0f);
        const StereoSignal tail = rig.impulse(1.5, false, false);
        out.left.insert(out.left.end(), tail.left.begin(), tail.left.end());
        out.right.insert(out.right.end(), tail.right.begin(), tail.right.end());
        const std::vector<float>& silent = onLeft ? out.right : out.left;
        const std::vector<float>& ringing = onLeft ? out.left : out.right;
        EXPECT_EQ(peakMagnitude(silent), 0.0) << (onLeft ? "left impulse" : "right impulse");
        EXPECT_GT(peakMagnitude(std::vector<float>(ringing.end() - 4410, ringing.end())), 1e-4) << "still ringing";
    }
}

// Under a steady low tone the output changes little from sample to sample. A size that jumps between
// its ends while the tone rings glides the stage times: the tail bends in pitch, and its pitch shift
// compounds with every pass through the loop (steps of up to about 16 times the steady ones here),
// but it never jumps. Stage times that stepped with the size would jump by several hundred times.
TEST(SpringsBTest, ASizeSweepWhileRingingGivesNoClick)
{
    SpringsBRig rig(48000.0f, 128, 100.0f, 4.0f);
    rig.settle();
    auto tone = [](size_t i) { return 0.05f * std::sin(6.2831853f * 100.0f * static_cast<float>(i) / 48000.0f); };
    const StereoSignal steady = rig.render(2.0, tone, tone);
    const double steadyStep = largestStep(steady.left, 48000);
    const double level = peakMagnitude(std::vector<float>(steady.left.begin() + 48000, steady.left.end()));

    double sweptStep = 0.0;
    for (float size : {12.0f, 4.0f, 12.0f, 7.0f, 4.0f, 12.0f})
    {
        rig.springs->setSizeInput(size);
        const StereoSignal swept = rig.render(0.1, tone, tone);
        sweptStep = std::max({sweptStep, largestStep(swept.left, 0), largestStep(swept.right, 0)});
    }
    EXPECT_LT(sweptStep, 30.0 * steadyStep) << "steady step " << steadyStep;
    EXPECT_LT(sweptStep, 0.5 * level) << "level " << level;
}

// Loud noise at the ends of every range and every supported rate stays finite and within the
// limiter's ceiling, and still sounds.
TEST(SpringsBTest, StaysFiniteAndLimitedAtTheEndsOfEveryRangeAndRate)
{
    for (float rate : supportedRates)
        for (float decay : {0.0f, 100.0f})
            for (float size : {4.0f, 12.0f})
            {
                SpringsBRig rig(rate, 128, decay, size);
                uint32_t noise = 1;
                auto loud = [&noise](size_t) {
                    noise = noise * 1664525u + 1013904223u;
                    return 4.0f * (static_cast<float>(noise >> 8) / 8388608.0f - 1.0f);
                };
                const StereoSignal out = rig.render(2.0, loud, loud);
                const std::string label = std::to_string(rate) + " " + std::to_string(decay) + " " + std::to_string(size);
                EXPECT_TRUE(allFinite(out.left) && allFinite(out.right)) << label;
                EXPECT_LE(peakMagnitude(out.left), 1.0) << label;
                EXPECT_LE(peakMagnitude(out.right), 1.0) << label;
                EXPECT_GT(peakMagnitude(out.left), 1e-3) << label;
            }
}

// NaN, infinities and huge values in the input or the settings never leave the model silenced or
// not finite: once they are gone, an impulse rings again.
TEST(SpringsBTest, HostileInputAndSettingsNeverStick)
{
    SpringsBRig rig(96000.0f, 128, 50.0f, 8.0f);
    rig.settle();
    for (float hostile : {NAN, INFINITY, -INFINITY, 3e38f, -3e38f})
    {
        rig.springs->setDecayInput(hostile);
        rig.springs->setSizeInput(hostile);
        rig.setDelayTime(hostile);
        rig.patch.sendNumber(tags::valin.hash, HashedText("SpringsB/slider_obj-96").hash, hostile, 0.0);
        rig.patch.sendNumber(tags::valin.hash, HashedText("SpringsB/slider_obj-88").hash, hostile, 0.0);
        const StereoSignal during = rig.render(0.05, [hostile](size_t i) { return i % 7 == 0 ? hostile : 0.5f; },
                                               [](size_t) { return 0.25f; });
        EXPECT_TRUE(allFinite(during.left) && allFinite(during.right)) << hostile;

        rig.springs->setDecayInput(50.0f);
        rig.springs->setSizeInput(8.0f);
        rig.setDelayTime(0.0f);
        rig.settle();
        const StereoSignal after = rig.impulse(1.0);
        EXPECT_TRUE(allFinite(after.left) && allFinite(after.right)) << hostile;
        EXPECT_GT(peakMagnitude(after.left), 1e-3) << hostile;
        EXPECT_GT(peakMagnitude(after.right), 1e-3) << hostile;
        EXPECT_LE(peakMagnitude(after.left), 1.0) << hostile;
    }
}

