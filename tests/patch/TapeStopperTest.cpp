// The tape stopper as the only module of a test top level in the real engine core (its level, its
// delay time, its chains' times and its lines), and inside the whole patch (a stop and a start seen
// as the delay time its lines read with).
#include "patch/core/MessageTags.h"
#include "patch/core/QuillmoreModules.h"
#include "patch/heads/TapeStopper.h"

#include "tests/patch/ModuleTestRoot.h"
#include "tests/patch/StereoRender.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace PRT;
using namespace PRT::test;

namespace
{
using TapeStopper = Quillmore::PRTSubpatcher_53;
constexpr Index block = 64;

struct StopperRig
{
    explicit StopperRig(float sampleRate = 48000.0f) : rate(sampleRate)
    {
        stopper = patch.install(new ModuleTestRoot<TapeStopper>()).module;
        patch.prepare(sampleRate, block);
    }

    // As the top level's setters hand them over.
    void setTapeStop(float value)
    {
        stopper->updateTime(patch.engine.getCurrentTime());
        stopper->toggle_obj_136.setToggleValue(value);
    }
    void setInertia(float inertia)
    {
        stopper->updateTime(patch.engine.getCurrentTime());
        stopper->setInertiaInput(inertia);
    }

    size_t samples(double ms) const { return static_cast<size_t>(ms * 0.001 * rate); }
    // The left output for a steady input of 0.5.
    std::vector<float> render(double ms) { return renderSamples(patch, samples(ms), 0.5f, 0.5f).left; }

    PatchEngine patch;
    TapeStopper* stopper = nullptr;
    float rate;
};

float peak(const std::vector<float>& x, size_t begin, size_t end)
{
    float p = 0.0f;
    for (size_t i = begin; i < std::min(end, x.size()); ++i)
        p = std::max(p, std::fabs(x[i]));
    return p;
}
} // namespace

TEST(TapeStopper, AFreshModuleIsSilentUntilTapeStopIsFirstSet)
{
    StopperRig rig;
    EXPECT_EQ(peak(rig.render(1000), 0, SIZE_MAX), 0.0f);
    EXPECT_EQ(rig.stopper->getHissTarget(), 1.0f) << "the load-time bang opens the hiss";

    // The first value (0) starts the tape: silent until the level ramp opens at 180 ms, then the
    // level follows the ramp's 30 ms rise with its slow smoother.
    rig.setTapeStop(0);
    const std::vector<float> out = rig.render(1000);
    EXPECT_EQ(peak(out, 0, rig.samples(180)), 0.0f);
    EXPECT_GT(peak(out, rig.samples(180), rig.samples(181) + block), 0.0f);
    EXPECT_NEAR(out.back(), 0.5f, 0.005f) << "open";
}

TEST(TapeStopper, AStartOfARunningTapeIsSilentFrom60To180MsAndOpensOver30Ms)
{
    StopperRig rig;
    rig.setInertia(1500);
    rig.setTapeStop(0);
    rig.render(3000);
    rig.setTapeStop(0);
    const std::vector<float> out = rig.render(1000);
    EXPECT_LT(peak(out, rig.samples(61), rig.samples(180)), 1e-6f) << "silent";
    EXPECT_GT(peak(out, rig.samples(180), rig.samples(215)), 0.0f) << "opening";
    // The level ramp is fully open at 210 ms; its smoother (2000 samples) follows.
    const float at300 = std::fabs(out[rig.samples(300)]);
    const float at600 = std::fabs(out[rig.samples(600)]);
    EXPECT_GT(at300, 0.3f);
    EXPECT_GT(at600, at300);
}

TEST(TapeStopper, TheStartThrowsTheTapeBackAbout26615SamplesThenRaisesItAlongAQuarterSine)
{
    for (float rate : {44100.0f, 48000.0f, 96000.0f})
    {
        StopperRig rig(rate);
        rig.setInertia(3000); // y1 = 875 ms
        rig.setTapeStop(0);
        rig.render(3000);
        // (The glide's last step to 0 rounds to a denormal without flush-to-zero.)
        EXPECT_LT(rig.stopper->getDelayTime(), 1e-30f) << "a running tape reads right behind the write point";
        rig.setTapeStop(0);
        rig.render(80);
        EXPECT_LT(rig.stopper->getDelayTime(), 1e-30f) << "until the start clock at 80 ms";
        // Thrown to 144000 × (sin(0.72 × 1.570796) − 0.72) within 5 ms; 15 ms later the glide of 185
        // samples has about caught up with it, while the quarter sine adds some 30 samples a ms.
        rig.render(20);
        const float thrown = 144000.0f * static_cast<float>(std::sin(0.72 * 1.570796) - 0.72);
        EXPECT_NEAR(thrown, 26615.0f, 1.0f);
        EXPECT_NEAR(rig.stopper->getDelayTime(), thrown, 700.0f) << rate;
        // At y1 the curve peaks at (1 − 0.72) × 144000 samples, at every rate.
        rig.render(900);
        EXPECT_NEAR(rig.stopper->getDelayTime(), 40320.0f, 5.0f) << rate;
    }
}

TEST(TapeStopper, TapeStopInertiaSetsTheChainsTimesAndAppliesWhenItArrives)
{
    struct Row
    {
        float inertia, stopCrossfade, hold, threshold, y1, crossfadeBack, crossfadeBackDelay;
    };
    // The crossfade-back clock's delay is 2 × inertia × f(inertia), f falling from 0.333 at 500 to
    // 0.13 at 3000: the value that arrives, whatever came before.
    for (const Row& row : {Row{500, 25, 750, 1000 * 0.000012f, 310, 66, 333},
                           Row{3000, 150, 4500, 0.6f, 875, 396, 780},
                           Row{1500, 75, 2250, 3000 * (0.000012f + 0.000088f * 0.4f), 536, 198, 3000 * 0.2518f}})
    {
        for (float before : {500.0f, 3000.0f})
        {
            StopperRig rig;
            rig.setInertia(before);
            rig.setInertia(row.inertia);
            const TapeStopper& s = *rig.stopper;
            EXPECT_FLOAT_EQ(s.getStopList()[3], 2 * row.inertia) << row.inertia;
            EXPECT_FLOAT_EQ(s.getStopCrossfadeList()[3], row.stopCrossfade) << row.inertia;
            EXPECT_FLOAT_EQ(s.getStopLevelList()[3], row.hold) << row.inertia;
            EXPECT_NEAR(s.getStopThreshold(), row.threshold, 1e-6f) << row.inertia;
            EXPECT_FLOAT_EQ(s.getStartList()[3], row.y1) << row.inertia;
            EXPECT_FLOAT_EQ(s.getStartList()[5], 2 * row.y1) << row.inertia;
            EXPECT_FLOAT_EQ(s.getCrossfadeBackList()[3], row.crossfadeBack) << row.inertia;
            EXPECT_NEAR(s.getCrossfadeBackDelay(), row.crossfadeBackDelay, 0.01f)
                << row.inertia << " after " << before;
        }
    }
}

TEST(TapeStopper, AStopSlowsTheTapeClosesTheLevelAndTheHissAndAStartOpensThem)
{
    StopperRig rig;
    rig.setInertia(500); // M = 1000 ms
    rig.setTapeStop(0);
    rig.render(3000);
    EXPECT_NEAR(rig.stopper->getHissLevel(), 1.0f, 1e-3f);

    rig.setTapeStop(1);
    // The delay time follows 3 × sr × (t/M)³ (with a lag of 185 samples): 1/8 of it at M/2.
    rig.render(500);
    EXPECT_NEAR(rig.stopper->getDelayTime(), 3 * 48000 / 8.0f, 3 * 48000 / 8.0f * 0.15f);
    // The gate closes once (t/M)³ reaches 0.012 (t = 229 ms): silent well before M.
    const std::vector<float> stopped = rig.render(2000);
    EXPECT_LT(peak(stopped, rig.samples(400), SIZE_MAX), 1e-4f);
    EXPECT_LT(rig.stopper->getHissLevel(), 1e-3f) << "the hiss closed after the level fell";
    EXPECT_EQ(rig.stopper->getHissTarget(), 0.0f);

    rig.setTapeStop(0);
    rig.render(100);
    EXPECT_EQ(rig.stopper->getHissTarget(), 1.0f) << "the start clock opens the hiss at 80 ms";
    const std::vector<float> started = rig.render(3000);
    EXPECT_NEAR(started.back(), 0.5f, 0.01f) << "running again, at the direct signal";
    EXPECT_NEAR(rig.stopper->getHissLevel(), 1.0f, 1e-3f);
}

TEST(TapeStopper, TwoStartsLessThan80MsApartBothFire)
{
    StopperRig rig;
    rig.setTapeStop(0);
    rig.render(2000);
    rig.patch.takeSent();
    rig.setTapeStop(0);
    rig.render(40);
    rig.setTapeStop(0);
    rig.render(200);
    int startClocks = 0;
    for (const SentMessage& m : rig.patch.takeSent())
        startClocks += m.tag == tags::listout.hash && m.objectId == rig.stopper->message_obj_166.getId();
    EXPECT_EQ(startClocks, 2);
}

TEST(TapeStopper, TheLinesHoldTwoSecondsAndARateChangeClearsAndResizesThem)
{
    struct Row
    {
        float rate;
        int64_t maximum;
        size_t capacity;
    };
    for (const Row& row : {Row{44100, 88200, 131072}, Row{48000, 96000, 131072}, Row{96000, 192000, 262144}})
    {
        StopperRig rig(row.rate);
        for (const TapeDelayLine* line : {&rig.stopper->leftLine(), &rig.stopper->rightLine()})
        {
            EXPECT_EQ(line->maximumDelay(), row.maximum) << row.rate;
            EXPECT_EQ(line->capacity(), row.capacity) << row.rate;
        }
        // The stop curve asks for 3 × sr, which the lines read at their two seconds.
        EXPECT_EQ(rig.stopper->getStopDelayScale(), 3 * row.rate);
    }

    StopperRig rig(48000);
    rig.setTapeStop(0);
    rig.render(500);
    auto recorded = [&](const OwnedFloatDataRef& ref) {
        double sum = 0.0;
        for (size_t i = 0; i < ref.getFrameCount(); ++i)
            sum += std::fabs(ref.getSamples()[i]);
        return sum;
    };
    EXPECT_GT(recorded(rig.stopper->delaytilde_05_del_bufferobj), 0.0);
    rig.patch.prepare(96000, block);
    EXPECT_EQ(rig.stopper->leftLine().capacity(), 262144u);
    EXPECT_EQ(rig.stopper->delaytilde_05_del_bufferobj.getFrameCount(), 262144u);
    EXPECT_EQ(recorded(rig.stopper->delaytilde_05_del_bufferobj), 0.0);
    EXPECT_EQ(recorded(rig.stopper->delaytilde_06_del_bufferobj), 0.0);
}

TEST(TapeStopperInThePatch, AStopGlidesThePlaybackDownToSilenceAndAStartBringsItBackUp)
{
    PatchEngine patch;
    Quillmore& top = patch.install(new Quillmore());
    patch.prepare(48000.0f, 128);
    auto set = [&](ParameterIndex index, float value) {
        top.setParameterValue(index, value, patch.engine.getCurrentTime());
    };
    set(params::TapeStopInertia, 1000); // M = 2000 ms
    auto sine = [](size_t i) { return static_cast<float>(0.5 * std::sin(0.05 * static_cast<double>(i))); };
    renderSignals(patch, 48000 * 4, sine, sine);

    // Block by block: the delay time T the lines read with, and the playback speed 1 − dT/dt.
    struct Step
    {
        float delay, speed, level;
    };
    auto run = [&](size_t blocks) {
        std::vector<Step> steps;
        float previous = top.tapeStopper->getDelayTime();
        for (size_t b = 0; b < blocks; ++b)
        {
            renderSignals(patch, 128, sine, sine);
            const float delay = top.tapeStopper->getDelayTime();
            // The stopper's own output, ahead of the filters and the Space.
            float level = 0.0f;
            for (Index i = 0; i < 128; ++i)
                level = std::max(level, std::fabs(top.left.stopped[i]));
            steps.push_back({delay, 1.0f - (delay - previous) / 128.0f, level});
            previous = delay;
        }
        return steps;
    };

    set(params::TapeStop, 1);
    const std::vector<Step> stop = run(375 * 3);
    // The tape slows: the speed falls from 1 and keeps falling while it is heard.
    EXPECT_GT(stop[10].speed, 0.99f);
    size_t heard = 0;
    while (heard < stop.size() && stop[heard].level > 1e-3f)
        ++heard;
    ASSERT_LT(heard, stop.size()) << "the stop ends in silence";
    for (size_t b = 20; b + 2 < heard; ++b)
        EXPECT_LE(stop[b + 1].speed, stop[b].speed + 1e-3f) << "block " << b;
    EXPECT_LT(stop[heard - 1].speed, 0.7f) << "audibly slower before it falls silent";

    set(params::TapeStop, 0);
    const std::vector<Step> start = run(375 * 3);
    // After the start clock the stop curve is gone and the thrown tape climbs back to speed along the
    // quarter sine while the level opens.
    const size_t thrown = 100 * 48000 / 1000 / 128;
    EXPECT_NEAR(start[thrown + 4].delay, 26615.0f, 2000.0f);
    size_t climbing = thrown + 5;
    EXPECT_LT(start[climbing].speed, 1.0f);
    EXPECT_GT(start[climbing + 60].speed, start[climbing].speed - 1e-3f);
    EXPECT_NEAR(start.back().level, 0.4f, 0.01f) << "the tape plays again (the input is 0.5 × 0.8)";
    EXPECT_LT(start.back().delay, 1e-30f) << "back at the direct signal";
}

TEST(TapeStopperInThePatch, ItsLoadTimeBangAndTheWarblersEachRunTheOthersStartUpSteps)
{
    PatchEngine patch;
    Quillmore& top = patch.install(new Quillmore());
    patch.prepare(44100.0f, 128);
    patch.processBlocks(1);
    EXPECT_EQ(top.tapeStopper->getHissTarget(), 1.0f);
    EXPECT_EQ(top.tapeStopper->getStopDelayScale(), 3 * 44100.0f);
    EXPECT_EQ(top.warbler->lastSampleRateSent(), 44100.0f);

    // The stopper's load-time bang again (its "startupbang"): it re-sends the warbler's sample rate.
    top.warbler->sendMessageBoxList(1.0f);
    patch.sendBang(tags::startupbang.hash, hashString("TapeStopper/loadbang_obj-190"), patch.engine.getCurrentTime());
    patch.processBlocks(1);
    EXPECT_EQ(top.warbler->lastSampleRateSent(), 44100.0f);

    // The warbler's: it opens the stopper's hiss.
    top.tapeStopper->updateTime(patch.engine.getCurrentTime());
    top.tapeStopper->message_obj_21.output();
    ASSERT_EQ(top.tapeStopper->getHissTarget(), 0.0f);
    patch.sendBang(tags::startupbang.hash, hashString("Warbler/loadbang_obj-190"), patch.engine.getCurrentTime());
    patch.processBlocks(1);
    EXPECT_EQ(top.tapeStopper->getHissTarget(), 1.0f);
}

TEST(TapeStopper, HostileValuesLeaveTheOutputFinite)
{
    const float hostile[] = {std::nanf(""), INFINITY, -INFINITY, 3e38f, -3e38f};
    for (const float value : hostile)
    {
        StopperRig rig;
        rig.setInertia(value);
        rig.setTapeStop(value); // any value but 0 stops, a NaN included
        std::vector<float> out = rig.render(1500);
        rig.setTapeStop(0);
        const std::vector<float> more = rig.render(3000);
        out.insert(out.end(), more.begin(), more.end());
        for (size_t i = 0; i < out.size(); ++i)
            ASSERT_TRUE(std::isfinite(out[i])) << value << ", sample " << i;
        EXPECT_LE(peak(out, 0, SIZE_MAX), 0.5f) << value;
        EXPECT_TRUE(std::isfinite(rig.stopper->getDelayTime())) << value;
        EXPECT_GE(rig.stopper->getCrossfadeBackDelay(), 0.0f) << value;
    }
}
