#include "patch/core/MessageTags.h"
#include "patch/core/OutputAmp.h"

#include "tests/patch/ModuleTestRoot.h"
#include "tests/patch/StereoRender.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace PRT;
using namespace PRT::test;

using OutputAmp = Quillmore::PRTSubpatcher_39;

// The output amplifier inside the real engine core, as the only module of a test top level.
namespace
{
class OutputAmpTest : public testing::Test
{
protected:
    void start(float sampleRate, Index blockSize)
    {
        amp = patch.install(new ModuleTestRoot<OutputAmp>()).module;
        patch.prepare(sampleRate, blockSize);
        this->sampleRate = sampleRate;
    }

    StereoSignal renderSeconds(double seconds, float left, float right)
    {
        return renderSamples(patch, static_cast<size_t>(seconds * sampleRate), left, right);
    }

    // The "monitor" reports of one monitor since the last call.
    std::vector<float> reports(const HashedText& monitor, const std::vector<SentMessage>& sent)
    {
        std::vector<float> values;
        for (const SentMessage& m : sent)
            if (m.tag == tags::monitor.hash && m.objectId == monitor.hash && m.values.size() == 1)
                values.push_back(m.values[0]);
        return values;
    }

    PatchEngine patch;
    OutputAmp* amp = nullptr;
    float sampleRate = 0;
};

// The drive that makes atan(drive × x) / atan(drive) equal ratio (it rises with the drive).
double driveForRatio(double x, double ratio)
{
    double low = 1e-4, high = 100.0;
    for (int i = 0; i < 200; ++i)
    {
        const double mid = 0.5 * (low + high);
        (std::atan(mid * x) / std::atan(mid) < ratio ? low : high) = mid;
    }
    return 0.5 * (low + high);
}
} // namespace

TEST_F(OutputAmpTest, SettledGainAndSaturation)
{
    struct Case
    {
        float saturate, output, input, expected;
    };
    const double driveAt50 = 0.01 + 6.99 * std::pow(0.5, 1.5);
    const Case cases[] = {
        // Unity settings: a level of 1.25 on a practically linear curve.
        {0, 100, 0.5f, static_cast<float>(1.25 * std::atan(0.005) / std::atan(0.01))}, // ≈ 0.625
        {0, 100, 0.4f, 0.5f},   // with the top level's input scale of 0.8, unity overall
        {0, 200, -0.2f, -0.5f}, // Output doubles
        // Full saturation: drive 7, level 1.0; full scale stays full scale.
        {100, 100, 1.0f, 1.0f},
        {100, 100, 0.5f, static_cast<float>(std::atan(3.5) / std::atan(7.0))},
        {100, 200, -1.0f, -2.0f},
        // Half: drive 0.01 + 6.99 × 0.5^1.5, level 1.25 − 0.0025 × 50.
        {50, 100, 0.25f, static_cast<float>(1.125 * std::atan(driveAt50 * 0.25) / std::atan(driveAt50))},
        {0, 0, 0.9f, 0.0f}, // Output 0: silence once the level has decayed
    };
    start(48000, 64);
    for (const Case& c : cases)
    {
        amp->setSaturationInput(c.saturate);
        amp->setOutputLevelInput(c.output);
        const StereoSignal out = renderSeconds(0.5, c.input, -c.input);
        EXPECT_NEAR(out.left.back(), c.expected, 2e-5) << "Saturate " << c.saturate << ", Output " << c.output
                                                       << ", input " << c.input;
        EXPECT_NEAR(out.right.back(), -c.expected, 2e-5) << "the curve is odd";
    }
}

TEST_F(OutputAmpTest, SettledCurveFollowsTheExactArctangentOverTheWholeInputRange)
{
    // The curve at rest against atan(drive × x) / atan(drive) in double, for inputs from 1e-6 to 1e4
    // of both signs, in blocks of an odd size: within a few units in the last place. The smoothers
    // settle a few parts in a million off their targets: the drive monitor gives the drive in force,
    // full scale (the first input) the level.
    start(48000, 77);
    for (float saturate : {0.0f, 37.0f, 100.0f})
    {
        amp->setSaturationInput(saturate);
        amp->setOutputLevelInput(100);
        renderSeconds(0.5, 0.0f, 0.0f);
        const std::vector<float> drives = reports(OutputAmp::driveMonitorPath, patch.takeSent());
        ASSERT_FALSE(drives.empty());
        const double drive = drives.back();
        auto input = [](size_t i) {
            return i == 0 ? 1.0f : static_cast<float>((i % 2 ? -1.0 : 1.0) * std::pow(10.0, -6.0 + 1e-3 * i));
        };
        const StereoSignal out = renderSignals(patch, 10000, input, [&](size_t i) { return -input(i); });

        EXPECT_NEAR(drive, 0.01 + 6.99 * std::pow(saturate * 0.01, 1.5), 1e-3);
        const double level = out.left[0];
        EXPECT_NEAR(level, 1.25 - 0.0025 * saturate, 2e-5);
        for (size_t i = 1; i < 10000; ++i)
        {
            const double expected = level * std::atan(drive * input(i)) / std::atan(drive);
            ASSERT_NEAR(out.left[i], expected, 1e-6 * std::fabs(expected)) << "Saturate " << saturate << ", input " << input(i);
            ASSERT_EQ(out.right[i], -out.left[i]) << "the curve is odd";
        }
    }
}

TEST_F(OutputAmpTest, TheSameSamplesAtEveryBlockSizeWhileTheAmountAndTheLevelGlide)
{
    // Settings that change every 1001 samples (mid-glide) while a varying signal plays: the
    // stretches of equal drive and the level's fill at rest must give what blocks of one sample give.
    auto render = [](Index blockSize) {
        PatchEngine engine;
        OutputAmp* module = engine.install(new ModuleTestRoot<OutputAmp>()).module;
        engine.prepare(48000, blockSize);
        StereoSignal all;
        const std::pair<float, float> steps[] = {{0, 100}, {80, 100}, {80, 30}, {5, 200}, {5, 200}};
        for (const auto& [saturate, output] : steps)
        {
            module->setSaturationInput(saturate);
            module->setOutputLevelInput(output);
            const size_t start = all.left.size();
            const StereoSignal out = renderSignals(
                engine, 1001, [start](size_t i) { return static_cast<float>(std::sin(0.01 * static_cast<double>(start + i))); },
                [start](size_t i) { return static_cast<float>(0.3 * std::cos(0.003 * static_cast<double>(start + i))); });
            all.left.insert(all.left.end(), out.left.begin(), out.left.end());
            all.right.insert(all.right.end(), out.right.begin(), out.right.end());
        }
        return all;
    };
    const StereoSignal reference = render(1);
    ASSERT_EQ(reference.left.size(), 5u * 1001u);
    for (Index blockSize : {7u, 77u, 1001u}) // 1001 = 7 × 11 × 13
    {
        const StereoSignal out = render(blockSize);
        EXPECT_EQ(out.left, reference.left) << "blocks of " << blockSize;
        EXPECT_EQ(out.right, reference.right) << "blocks of " << blockSize;
    }
}

TEST_F(OutputAmpTest, TwoHundredSamplesAfterAStepTheDriveFollowsThePowerOfTheSmoothedAmount)
{
    // At every rate: the smoothing is per sample. Left at full scale shows the level, right/left the
    // drive (atan(drive × 0.25) / atan(drive)).
    const std::pair<float, Index> settings[] = {{44100, 64}, {48000, 128}, {96000, 256}};
    for (const auto& [rate, blockSize] : settings)
    {
        PatchEngine fresh;
        OutputAmp* module = fresh.install(new ModuleTestRoot<OutputAmp>()).module;
        fresh.prepare(rate, blockSize);
        module->setOutputLevelInput(100);
        renderSamples(fresh, 20000, 1.0f, 0.25f);

        module->setSaturationInput(100);
        const StereoSignal out = renderSamples(fresh, 200, 1.0f, 0.25f);
        const double drive = driveForRatio(0.25, out.right[199] / out.left[199]);
        const double smoothed = 100.0 * std::pow((drive - 0.01) / 6.99, 2.0 / 3.0);
        EXPECT_NEAR(drive, 3.531, 0.002) << rate << " Hz";
        EXPECT_NEAR(smoothed, 63.30, 0.02) << rate << " Hz";
        EXPECT_LT(drive, 0.01 + 6.99 * 0.633) << "far below the drive of the smoothed value taken linearly";
    }
}

TEST_F(OutputAmpTest, MonitorsReportTheDriveAndTheLevel)
{
    // At 1990 Hz the report interval is one block of 199 samples: every block reports the first
    // sample of its drive and level when they changed.
    start(1990, 199);
    amp->setOutputLevelInput(100);
    renderSamples(patch, 199 * 3);
    std::vector<SentMessage> sent = patch.takeSent();
    EXPECT_EQ(reports(OutputAmp::driveMonitorPath, sent), std::vector<float>{0.01f});
    EXPECT_EQ(reports(OutputAmp::levelMonitorPath, sent), std::vector<float>{1.25f}) << "unchanged values: one report";

    amp->setSaturationInput(100);
    renderSamples(patch, 199 * 2);
    sent = patch.takeSent();
    const std::vector<float> drive = reports(OutputAmp::driveMonitorPath, sent);
    const std::vector<float> level = reports(OutputAmp::levelMonitorPath, sent);
    ASSERT_EQ(drive.size(), 2u);
    ASSERT_EQ(level.size(), 2u);
    // The second block starts 200 samples after the step.
    EXPECT_NEAR(drive[1], 3.531, 0.002);
    EXPECT_NEAR((1.25 - level[1]) / 0.0025, 63.30, 0.02) << "the level carries the smoothed amount";

    renderSamples(patch, 199 * 30);
    sent = patch.takeSent();
    ASSERT_FALSE(reports(OutputAmp::driveMonitorPath, sent).empty());
    EXPECT_NEAR(reports(OutputAmp::driveMonitorPath, sent).back(), 7.0f, 1e-3) << "drive 7 at Saturate 100";
    EXPECT_NEAR(reports(OutputAmp::levelMonitorPath, sent).back(), 1.0f, 1e-5) << "level 1 at Output 100";
}

TEST_F(OutputAmpTest, TheFirstReportComesOnceTheReportPeriodHasRunDown)
{
    start(48000, 64); // a period of 4800 samples: the 75th block
    patch.takeSent();
    renderSamples(patch, 64 * 74);
    EXPECT_TRUE(reports(OutputAmp::driveMonitorPath, patch.takeSent()).empty());
    renderSamples(patch, 64);
    EXPECT_EQ(reports(OutputAmp::driveMonitorPath, patch.takeSent()), std::vector<float>{0.01f});
}

TEST_F(OutputAmpTest, SetUpMessagesAndTags)
{
    start(48000, 64);
    int setups = 0;
    for (const SentMessage& m : patch.takeSent())
        if (m.tag == tags::setup.hash &&
            (m.objectId == OutputAmp::levelMonitorPath.hash || m.objectId == OutputAmp::driveMonitorPath.hash))
            ++setups;
    EXPECT_EQ(setups, 2);
    EXPECT_EQ(amp->driveMonitor.getOutputMode(), SignalMonitor::FollowInput);
    EXPECT_EQ(amp->levelMonitor.getOutputMode(), SignalMonitor::FollowInput);

    // "mode" and "sig" reach the monitors through the engine.
    patch.sendNumber(tags::mode.hash, OutputAmp::driveMonitorPath.hash, 1, patch.engine.getCurrentTime());
    patch.sendList(tags::sig.hash, OutputAmp::levelMonitorPath.hash, {3, 4}, patch.engine.getCurrentTime());
    renderSamples(patch, 64);
    EXPECT_EQ(amp->driveMonitor.getOutputMode(), SignalMonitor::RampToSetValue);
    EXPECT_EQ(amp->levelMonitor.getSetValue(), 3.0f);

    for (const char* text : {"setup", "assign", "mode", "sig", "monitor", "OutputAmp/number~_obj-137",
                             "OutputAmp/number~_obj-148"})
        EXPECT_STREQ(amp->resolveTag(hashString(text)), text);
    EXPECT_EQ(amp->resolveTag(hashString("bangin")), nullptr);
}

TEST_F(OutputAmpTest, MissingPortsReadZerosAndWriteToTheDummy)
{
    start(48000, 64);
    amp->setOutputLevelInput(100);
    std::vector<float> left(64, 0.4f), outLeft(64, 9.0f);
    const SampleValue* inputs[] = {left.data()};
    for (int block = 0; block < 100; ++block)
    {
        SampleValue* outputs[] = {outLeft.data(), nullptr};
        amp->process(inputs, 1, outputs, 2, 64);
    }
    EXPECT_NEAR(outLeft[63], 0.5f, 1e-4);

    std::vector<float> outRight(64, 9.0f);
    SampleValue* outputs[] = {outLeft.data(), outRight.data()};
    amp->process(inputs, 1, outputs, 2, 64);
    EXPECT_EQ(outRight[0], 0.0f) << "a missing right input reads zeros";
}

// A NaN that reaches the stage's inputs once must not stay in its smoothers: once the inputs are
// numbers again, so is the output, at the settled level.
TEST_F(OutputAmpTest, SmoothersThatTurnedNonFiniteStartAgainFromTheirTargets)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct
    {
        const char* name;
        float saturate, output;
    } poisons[] = {{"Saturate", nan, 100}, {"Output", 0, nan}, {"both", nan, nan}};
    for (const auto& poison : poisons)
    {
        PatchEngine fresh;
        OutputAmp* module = fresh.install(new ModuleTestRoot<OutputAmp>()).module;
        fresh.prepare(48000, 64);
        module->setSaturationInput(poison.saturate);
        module->setOutputLevelInput(poison.output);
        renderSamples(fresh, 480, 0.4f, -0.4f);

        module->setSaturationInput(0);
        module->setOutputLevelInput(100);
        const StereoSignal out = renderSamples(fresh, 24000, 0.4f, -0.4f);
        EXPECT_NEAR(out.left.back(), 0.5f, 2e-5) << poison.name;
        EXPECT_NEAR(out.right.back(), -0.5f, 2e-5) << poison.name;
    }
}
