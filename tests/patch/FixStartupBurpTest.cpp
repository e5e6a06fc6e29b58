#include "patch/core/FixStartupBurp.h"
#include "patch/core/MessageTags.h"

#include "tests/patch/ModuleTestRoot.h"
#include "tests/patch/StereoRender.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace PRT;
using namespace PRT::test;

using FixStartupBurp = Quillmore::PRTSubpatcher_56;

// The start-up ramp module inside the real engine core, as the only module of a test top level.
// Output 1 of the module arrives on the left channel, output 2 (the noise burst) on the right.
namespace
{
class FixStartupBurpTest : public testing::Test
{
protected:
    // A fresh engine; the module is installed after blocksBefore blocks of the empty engine, so that
    // it starts at a time T that is not 0 unless blocksBefore is 0.
    void start(float rate, Index blockSize, int blocksBefore = 0)
    {
        patch = std::make_unique<PatchEngine>();
        sampleRate = rate;
        patch->prepare(rate, blockSize);
        renderSamples(*patch, static_cast<size_t>(blocksBefore) * blockSize);
        startTime = patch->engine.getCurrentTime();
        root = &patch->install(new ModuleTestRoot<FixStartupBurp>());
        module = root->module;
        patch->prepare(rate, blockSize);
    }

    StereoSignal renderMs(double ms) { return renderSamples(*patch, sampleAt(ms)); }
    size_t sampleAt(double ms) const { return static_cast<size_t>(std::lround(ms * sampleRate / 1000.0)); }
    MillisecondTime now() const { return patch->engine.getCurrentTime(); }

    std::unique_ptr<PatchEngine> patch;
    ModuleTestRoot<FixStartupBurp>* root = nullptr;
    FixStartupBurp* module = nullptr;
    float sampleRate = 0;
    MillisecondTime startTime = 0;
};
} // namespace

TEST_F(FixStartupBurpTest, SilentFor300MsThenStepsOfATenthEvery20MsToFullLevelAt500Ms)
{
    struct Setting
    {
        float rate;
        Index blockSize;
        int blocksBefore;
    };
    const Setting settings[] = {{44100, 64, 0}, {44100, 64, 7}, {44100, 256, 3}, {48000, 64, 0}, {48000, 256, 0}};
    for (const Setting& s : settings)
    {
        start(s.rate, s.blockSize, s.blocksBefore);
        const std::vector<float> ramp = renderMs(600).left;
        const std::string setting = std::to_string(static_cast<int>(s.rate)) + " Hz, blocks of " +
                                    std::to_string(s.blockSize) + ", T = " + std::to_string(startTime) + " ms";

        // Step k (1..10) of 0.1 on the sample of T + 300 + 20k ms; silence before the first.
        size_t firstWrong = ramp.size();
        float expected = 0.0f;
        for (size_t i = 0; i < ramp.size() && firstWrong == ramp.size(); ++i)
        {
            for (int k = 1; k <= 10; ++k)
                if (i == sampleAt(300.0 + 20.0 * k))
                    expected = 0.1f * static_cast<float>(k);
            const bool exact = expected == 0.0f || expected == 1.0f;
            if (exact ? ramp[i] != expected : std::fabs(ramp[i] - expected) > 1e-6f)
                firstWrong = i;
        }
        EXPECT_EQ(firstWrong, ramp.size()) << setting << ": sample " << firstWrong << " is "
                                           << (firstWrong < ramp.size() ? ramp[firstWrong] : 0.0f);
    }
}

TEST_F(FixStartupBurpTest, TheNoiseBurstHasAmplitude03From5To20Ms)
{
    start(48000, 128);
    const std::vector<float> burst = renderMs(100).right;
    float peak = 0.0f;
    int distinct = 0;
    for (size_t i = 0; i < burst.size(); ++i)
    {
        const bool inside = i >= sampleAt(5) && i < sampleAt(20);
        if (!inside)
        {
            ASSERT_EQ(burst[i], 0.0f) << "sample " << i;
            continue;
        }
        ASSERT_LE(std::fabs(burst[i]), 0.3f) << "sample " << i;
        peak = std::max(peak, std::fabs(burst[i]));
        distinct += burst[i] != burst[i - 1] ? 1 : 0;
    }
    EXPECT_GT(peak, 0.25f);
    EXPECT_GT(distinct, 600) << "white noise, not a constant";
}

TEST_F(FixStartupBurpTest, EachRampValueDrivesTheSixthSpringControlAtItsOwnTime)
{
    start(44100, 64, 7);
    std::vector<std::pair<MillisecondTime, float>> written;
    module->onRampValue = [&](float value) { written.emplace_back(root->getTime(), value); };
    renderMs(600);

    // 0 at T, then every 20 ms: 0 up to 300 ms, 0.1 .. 1 from 320 to 500 ms.
    ASSERT_EQ(written.size(), 26u);
    for (size_t k = 0; k < written.size(); ++k)
    {
        const double ms = 20.0 * static_cast<double>(k);
        EXPECT_DOUBLE_EQ(written[k].first, startTime + ms) << "the top level's time is the step's own";
        EXPECT_NEAR(written[k].second, ms <= 300 ? 0.0 : (ms - 300.0) / 200.0, 1e-6) << ms << " ms";
    }
}

TEST_F(FixStartupBurpTest, StartUpMessagesAndARestartOnStartupbang)
{
    start(44100, 64);
    auto sentWith = [](const std::vector<SentMessage>& sent, const HashedText& tag, const HashedText& object) {
        std::vector<SentMessage> found;
        for (const SentMessage& m : sent)
            if (m.tag == tag.hash && m.objectId == object.hash)
                found.push_back(m);
        return found;
    };
    std::vector<SentMessage> sent = patch->takeSent();
    ASSERT_EQ(sentWith(sent, tags::listout, FixStartupBurp::rampContentPath).size(), 1u);
    EXPECT_EQ(sentWith(sent, tags::listout, FixStartupBurp::rampContentPath)[0].values,
              (std::vector<float>{0, 0, 0, 300, 1, 200}));
    ASSERT_EQ(sentWith(sent, tags::listout, FixStartupBurp::burstContentPath).size(), 1u);
    EXPECT_EQ(sentWith(sent, tags::listout, FixStartupBurp::burstContentPath)[0].values,
              (std::vector<float>{0, 0, 0.3f, 5, 0.3f, 10, 0, 5}));

    renderMs(600);
    EXPECT_EQ(sentWith(patch->takeSent(), tags::bangout, FixStartupBurp::buttonPath).size(), 1u)
        << "the load bang pressed the button once";

    // Again from the lines' current values: 0 at once, the same fade 300 ms later.
    patch->sendBang(tags::startupbang.hash, FixStartupBurp::loadBangPath.hash, now());
    std::vector<float> ramp = renderMs(600).left;
    EXPECT_EQ(ramp[0], 0.0f);
    EXPECT_EQ(ramp[sampleAt(320) - 1], 0.0f);
    EXPECT_NEAR(ramp[sampleAt(320)], 0.1f, 1e-6);
    EXPECT_EQ(ramp[sampleAt(500)], 1.0f);
    EXPECT_EQ(sentWith(patch->takeSent(), tags::bangout, FixStartupBurp::buttonPath).size(), 1u);

    for (const char* text : {"bangin", "bangout", "listin", "listout", "startupbang", "FixStartupBurp/loadbang_obj-130",
                             "FixStartupBurp/button_obj-112", "FixStartupBurp/message_obj-115",
                             "FixStartupBurp/message_obj-4"})
        EXPECT_STREQ(module->resolveTag(hashString(text)), text);
    EXPECT_EQ(module->resolveTag(hashString("setup")), nullptr);

    // So does a bang on the button.
    patch->sendBang(tags::bangin.hash, FixStartupBurp::buttonPath.hash, now());
    ramp = renderMs(400).left;
    EXPECT_EQ(ramp[0], 0.0f);
    EXPECT_NEAR(ramp[sampleAt(340)], 0.2f, 1e-6);
}

TEST_F(FixStartupBurpTest, ListVariantsOfTheRampInput)
{
    struct Send
    {
        double atMs;
        std::vector<float> values;
        enum Kind
        {
            ListThenBang, // new content, then the box outputs it to the ramp
            NumberThenBang,
            ListOnly // new content only
        } kind = ListThenBang;
    };
    struct Check
    {
        double atMs;
        float value;
    };
    struct Case
    {
        const char* name;
        std::vector<Send> sends;
        std::vector<Check> checks;
    };
    // Each case starts with the ramp at 1, after the start-up fade. Check times lie just before or
    // just after a step.
    const Case cases[] = {
        {"one value jumps at once", {{0, {0.5f}}}, {{0.01, 0.5f}, {150, 0.5f}}},
        {"a ramp of no time jumps at once", {{0, {0.25f, 0}}}, {{0.01, 0.25f}, {150, 0.25f}}},
        {"a number jumps at once", {{0, {0.3f}, Send::NumberThenBang}}, {{0.01, 0.3f}, {150, 0.3f}}},
        {"a ramp moves in 20 ms steps",
         {{0, {0, 100}}},
         {{19.9, 1}, {20.1, 0.8f}, {39.9, 0.8f}, {40.1, 0.6f}, {99.9, 0.2f}, {100.1, 0}, {150, 0}}},
        {"a third value sets the grain for this and later ramps",
         {{0, {0, 100, 50}}, {200, {1, 100}}},
         {{49.9, 1}, {50.1, 0.5f}, {99.9, 0.5f}, {100.1, 0}, {249.9, 0}, {250.1, 0.5f}, {300.1, 1}}},
        {"a segment shorter than the grain is one step at its end", {{0, {0, 5}}}, {{4.9, 1}, {5.1, 0}}},
        {"pairs are ramped in turn and an odd last value is dropped",
         {{0, {0, 40, 1, 40, 0.5f}}},
         {{20.1, 0.5f}, {40.1, 0}, {60.1, 0.5f}, {80.1, 1}, {200, 1}}},
        {"a new list starts from the value reached",
         {{0, {0, 100}}, {30, {1, 40}}},
         {{20.1, 0.8f}, {49.9, 0.8f}, {50.1, 0.85f}, {69.9, 0.85f}, {70.1, 1}, {150, 1}}},
        {"an empty list changes nothing", {{0, {}}}, {{150, 1}}},
        {"new content alone does not trigger", {{0, {0}, Send::ListOnly}}, {{150, 1}}},
    };

    for (const Case& c : cases)
    {
        start(44100, 64);
        renderMs(600);
        const MillisecondTime t0 = now();
        for (const Send& send : c.sends)
        {
            const MillisecondTime at = t0 + send.atMs;
            if (send.kind == Send::NumberThenBang)
                patch->sendNumber(tags::listin.hash, FixStartupBurp::rampContentPath.hash, send.values[0], at);
            else
                patch->sendList(tags::listin.hash, FixStartupBurp::rampContentPath.hash, send.values, at);
            if (send.kind != Send::ListOnly)
                patch->sendBang(tags::listin.hash, FixStartupBurp::rampContentPath.hash, at);
        }
        const std::vector<float> ramp = renderMs(400).left;
        for (const Check& check : c.checks)
            EXPECT_NEAR(ramp[static_cast<size_t>(check.atMs * sampleRate / 1000.0)], check.value, 1e-6)
                << c.name << ", at " << check.atMs << " ms";
    }
}
