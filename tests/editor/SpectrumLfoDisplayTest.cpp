// The spectrum view's echo-filter bell following the filter's LFO: the display phase animated on a
// hand-stepped clock, kept in step with measured filter frequencies by soft corrections and hard
// syncs, its trail, and freezing.
#include "editor/SpectrumView.h"
#include "tests/editor/EditorTestBed.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

using namespace EditorTestBed;

namespace
{
constexpr double twoPi = juce::MathConstants<double>::twoPi;
constexpr double pi = juce::MathConstants<double>::pi;

// The difference of two phases, brought into -π..π.
double phaseDifference(double a, double b)
{
    return std::remainder(a - b, twoPi);
}

double wrapped(double phase)
{
    const auto r = std::fmod(phase, twoPi);
    return r < 0.0 ? r + twoPi : r;
}

class SpectrumLfoDisplayTest : public ::testing::Test
{
protected:
    SpectrumLfoDisplayTest()
    {
        view.setSettings(SpectrumView::Settings::forEditor());
        view.setSize(450, 120);
        view.setFilterBaseHz(1000.0f);
        view.setLfoAmountPercent(50.0f); // the filter sweeps 500..1500 Hz
    }

    // The filter frequency of an LFO at that phase: sin 1 at the top of the sweep.
    static float filterHz(double lfoPhase) { return static_cast<float>(1000.0 * (1.0 + 0.5 * std::sin(lfoPhase))); }

    TestClock clock;
    SpectrumView view;
};
} // namespace

TEST_F(SpectrumLfoDisplayTest, AnimationAdvancesThePhaseByClampedTimeSteps)
{
    view.setLfoSpeedHz(1.0); // 2π per second
    struct Step
    {
        juce::uint32 advanceMs;
        double expectedSeconds;
    };
    const Step steps[] = {
        {0, 0.0167},  // the first step after start
        {16, 0.016},  // as the timer runs
        {0, 0.0001},  // no time at all: the shortest step
        {10000, 0.05} // a stall: at most 50 ms worth
    };
    for (const auto& step : steps)
    {
        clock.advance(step.advanceMs);
        const auto before = view.getPhase();
        ASSERT_TRUE(tick(view));
        EXPECT_NEAR(phaseDifference(view.getPhase(), before), step.expectedSeconds * twoPi, 1e-9) << step.advanceMs;
        EXPECT_GE(view.getPhase(), 0.0);
        EXPECT_LT(view.getPhase(), twoPi);
    }

    // Times from a clock gone wrong still give a step within the bounds.
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    struct Times
    {
        double now, last, step;
    };
    const Times times[] = {{5.0, 0.0, 0.0167}, {5.0, nan, 0.0167}, {5.0, -1.0, 0.0167}, {nan, 5.0, 0.0001},
                           {inf, 5.0, 0.05},   {-inf, 5.0, 0.0001}, {4.0, 5.0, 0.0001},  {5.0, inf, 0.0001}};
    for (const auto& t : times)
        EXPECT_EQ(SpectrumView::animationTimeStep(t.now, t.last), t.step) << t.now << " after " << t.last;

    // Speeds that are not numbers are ignored.
    view.setLfoSpeedHz(std::numeric_limits<double>::quiet_NaN());
    clock.advance(16);
    const auto before = view.getPhase();
    tick(view);
    EXPECT_NEAR(phaseDifference(view.getPhase(), before), 0.016 * twoPi, 1e-9);
}

TEST_F(SpectrumLfoDisplayTest, WithoutLfoAmountTheBellStandsAtTheSetFrequency)
{
    view.setLfoAmountPercent(0.0f);
    view.setLfoSpeedHz(3.0);
    const auto bounds = view.getLocalBounds().toFloat();
    const auto phaseBefore = view.getPhase();
    for (int i = 0; i < 20; ++i)
    {
        clock.advance(16);
        tick(view);
        view.setBellCenterHz(filterHz(i * 0.3));
        EXPECT_EQ(view.bellCenterX(bounds), view.frequencyToX(1000.0f, bounds));
    }
    // Only the animation moved the phase: a first step of 1/60 s, then 19 of 16 ms.
    const auto animated = phaseBefore + (0.0167 + 19 * 0.016) * 3.0 * twoPi;
    EXPECT_NEAR(phaseDifference(view.getPhase(), animated), 0.0, 1e-6);
    EXPECT_EQ(view.getTrailLength(), 0u) << "a bell that stands still leaves no trail";
    view.hardSyncPhase();
    EXPECT_NEAR(phaseDifference(view.getPhase(), animated), 0.0, 1e-6) << "nor does a hard sync";
}

TEST_F(SpectrumLfoDisplayTest, CorrectionsRemoveSixteenPercentOfTheErrorAtMostThirtyTimesASecond)
{
    // The filter held at the top of its sweep: v = 1 and no slope aim the phase at π/2.
    view.setLfoSpeedHz(0.5);
    int corrections = 0;
    double phase = view.getPhase();
    for (int i = 0; i < 300; ++i)
    {
        clock.advance(16);
        view.setBellCenterHz(1500.0f);
        const auto now = view.getPhase();
        if (now != phase)
        {
            ++corrections;
            EXPECT_EQ(i % 3, 0) << "one window per 1/30 s: every third 16 ms tick";
            if (i > 0)
                EXPECT_NEAR(phaseDifference(pi / 2, now), 0.84 * phaseDifference(pi / 2, phase), 1e-9);
        }
        phase = now;
    }
    EXPECT_LE(std::abs(phaseDifference(view.getPhase(), pi / 2)), 0.03) << "settled within the dead band";
    EXPECT_GT(std::abs(phaseDifference(view.getPhase(), pi / 2)), 0.03 * 0.84) << "and no closer";
    EXPECT_GT(corrections, 10);
    EXPECT_LT(corrections, 40);

    // Measurements that are not numbers are not measurements.
    const auto settled = view.getPhase();
    clock.advance(100);
    view.setBellCenterHz(std::numeric_limits<float>::quiet_NaN());
    view.setBellCenterHz(std::numeric_limits<float>::infinity()); // the top of any sweep, clamped
    EXPECT_EQ(view.getPhase(), settled);
}

TEST_F(SpectrumLfoDisplayTest, BellFollowsAMovingLfoWithoutJumps)
{
    // A slow LFO measured every 16 ms, the view animating between the measurements.
    const double speedHz = 0.05, lfoOmega = twoPi * speedHz;
    view.setLfoSpeedHz(speedHz);
    const auto bounds = view.getLocalBounds().toFloat();
    double time = 0.0, lfoPhase = 2.0;
    int corrections = 0;
    for (int i = 0; i < 800; ++i)
    {
        clock.advance(16);
        time += 0.016;
        const auto beforeAnimation = view.getPhase();
        ASSERT_TRUE(tick(view));
        if (i > 0)
            EXPECT_NEAR(phaseDifference(view.getPhase(), beforeAnimation), 0.016 * lfoOmega, 1e-9);

        const auto beforeMeasurement = view.getPhase();
        const auto bellBefore = view.bellCenterX(bounds);
        view.setBellCenterHz(filterHz(lfoPhase + lfoOmega * time));
        const auto jump = phaseDifference(view.getPhase(), beforeMeasurement);
        if (jump != 0.0)
        {
            ++corrections;
            EXPECT_LE(std::abs(jump), 0.16 * pi + 1e-9);
        }
        if (i > 200)
        {
            // Settled: the correction steps are small, and so are the bell's moves.
            EXPECT_LT(std::abs(jump), 0.05) << i;
            EXPECT_LT(std::abs(view.bellCenterX(bounds) - bellBefore), 2.0f) << i;
            // The phase tracks the LFO's (the display adds its fixed offset on top).
            EXPECT_LT(std::abs(phaseDifference(view.getPhase(), lfoPhase + lfoOmega * time)), 0.3) << i;
        }
    }
    EXPECT_LE(corrections, static_cast<int>(std::ceil(time * 30.0)));
    EXPECT_GT(view.getTrailLength(), 0u);
    writeSnapshot(render(view), "spectrum-bell-following");
}

TEST_F(SpectrumLfoDisplayTest, FirstMeasurementPostsOneHardSync)
{
    view.setLfoSpeedHz(0.02); // slow enough that a stray animation step moves nothing measurable
    // One measurement at the bottom of the sweep: with no second one to take a slope from, the hard sync
    // keeps the sign of the phase's cosine.
    view.setBellCenterHz(500.0f);
    const auto corrected = view.getPhase();
    deliverPostedMessages();
    const auto expected = wrapped(std::atan2(-1.0, std::cos(corrected)) - SpectrumView::phaseOffset);
    // (A stray animation step, should the framework's timer have come due, moves 0.002 rad at most.)
    EXPECT_NEAR(view.getPhase(), expected, 3e-3);
    EXPECT_GT(std::abs(phaseDifference(view.getPhase(), corrected)), 0.1);
    // The display phase now shows the measured angle: at the bottom, on the way up.
    EXPECT_LT(std::sin(SpectrumView::phaseOffset + view.getPhase()), -0.5);
    EXPECT_GT(std::cos(SpectrumView::phaseOffset + view.getPhase()), 0.0);

    // No second hard sync follows later measurements ...
    view.hardSyncPhase();
    const auto synced = view.getPhase();
    clock.advance(16);
    view.setBellCenterHz(500.0f); // within the correction window: no correction either
    deliverPostedMessages();
    EXPECT_NEAR(view.getPhase(), synced, 3e-3) << "a second hard sync would take the slope 0: 3π/2";

    // ... until a clear.
    view.clear();
    clock.advance(16);
    view.setBellCenterHz(1500.0f);
    deliverPostedMessages();
    // Two measurements 16 ms apart, from the bottom to the top: rising as steeply as the clamp allows.
    EXPECT_NEAR(view.getPhase(), wrapped(std::atan2(1.0, 1.0) - SpectrumView::phaseOffset), 3e-3);

    // A hard sync posted for a view that is gone is dropped.
    auto doomed = std::make_unique<SpectrumView>();
    doomed->setLfoAmountPercent(50.0f);
    doomed->setBellCenterHz(700.0f);
    doomed.reset();
    EXPECT_NO_FATAL_FAILURE(deliverPostedMessages());
}

TEST_F(SpectrumLfoDisplayTest, ScheduledHardSyncRunsOnlyWhenNotRenewed)
{
    view.setLfoSpeedHz(0.02);
    // Two measurements at the top of the sweep: a hard sync aims the display phase at π/2.
    view.setBellCenterHz(1500.0f);
    clock.advance(16);
    view.setBellCenterHz(1500.0f);
    deliverPostedMessages();
    const auto synced = wrapped(pi / 2 - SpectrumView::phaseOffset);
    EXPECT_NEAR(view.getPhase(), synced, 3e-3);
    view.setLfoSpeedHz(1.0);
    clock.advance(1000);
    tick(view);
    ASSERT_GT(std::abs(phaseDifference(view.getPhase(), synced)), 0.05);

    auto& debouncer = view.getHardSyncDebouncer();
    view.scheduleHardSyncToMeter(120);
    EXPECT_TRUE(debouncer.isArmed());
    EXPECT_EQ(debouncer.getTimerInterval(), 120);
    view.scheduleHardSyncToMeter(120); // renewed: still one pending
    EXPECT_TRUE(tick(debouncer));
    EXPECT_FALSE(debouncer.isArmed());
    EXPECT_FALSE(tick(debouncer)) << "one shot";
    EXPECT_NEAR(view.getPhase(), synced, 1e-12) << "snapped back to the measurements";

    // Freezing drops an armed one; destroying the view never runs it.
    view.scheduleHardSyncToMeter(120);
    view.freeze(true);
    EXPECT_FALSE(debouncer.isArmed());
    EXPECT_FALSE(tick(debouncer));

    int runs = 0;
    {
        SpectrumView other;
        other.getHardSyncDebouncer().arm([&runs] { ++runs; }, 120);
    }
    EXPECT_EQ(runs, 0);
}

TEST_F(SpectrumLfoDisplayTest, FrozenTheBellStaysPut)
{
    view.setLfoSpeedHz(1.0);
    for (int i = 0; i < 10; ++i)
    {
        clock.advance(16);
        tick(view);
        view.setBellCenterHz(filterHz(i * 0.1));
    }
    deliverPostedMessages(); // the first measurement's hard sync
    const auto bounds = view.getLocalBounds().toFloat();
    view.freeze(true);
    EXPECT_TRUE(view.isFrozen());
    const auto phase = view.getPhase();
    const auto bell = view.bellCenterX(bounds);
    writeSnapshot(render(view), "spectrum-frozen");

    for (int i = 0; i < 10; ++i)
    {
        clock.advance(16);
        EXPECT_FALSE(tick(view)) << "no animation";
        view.setBellCenterHz(filterHz(2.0 + i));
    }
    EXPECT_EQ(view.bellCenterX(bounds), bell);
    EXPECT_EQ(view.getPhase(), phase);
    deliverPostedMessages();
    EXPECT_EQ(view.getPhase(), phase) << "the measurements were ignored, none posted a hard sync";

    // Thawed, the animation goes on with a first step of 1/60 s.
    view.freeze(false);
    clock.advance(500);
    ASSERT_TRUE(tick(view));
    EXPECT_NEAR(phaseDifference(view.getPhase(), phase), 0.0167 * twoPi, 1e-9);
}

TEST_F(SpectrumLfoDisplayTest, TrailKeepsTheOutlinesOfTheLastMomentsWhileTheBellMoves)
{
    view.setFilterQ(2.0f);
    const auto animate = [this](int steps) {
        for (int i = 0; i < steps; ++i)
        {
            clock.advance(16);
            tick(view);
        }
    };

    // A bell that creeps (well under 0.15 px a step) records an outline only every few steps.
    view.setLfoSpeedHz(0.02);
    animate(60);
    EXPECT_GT(view.getTrailLength(), 0u);
    EXPECT_LT(view.getTrailLength(), 30u);

    // A fast one records one per step, and outlines older than 1.2 s drop out as new ones come.
    view.setLfoSpeedHz(2.0);
    animate(250);
    EXPECT_GE(view.getTrailLength(), 60u);
    EXPECT_LE(view.getTrailLength(), 76u) << "1.2 s of 16 ms steps, both ends included";
    writeSnapshot(render(view), "spectrum-bell-trail");

    // With no LFO amount the bell stands still: nothing new, and nothing dropped until something is.
    const auto length = view.getTrailLength();
    view.setLfoAmountPercent(0.0f);
    animate(200);
    EXPECT_EQ(view.getTrailLength(), length);
    view.clear();
    EXPECT_EQ(view.getTrailLength(), 0u);
}
