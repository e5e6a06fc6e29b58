// The tape echo as the only module of a test top level, driven through its entry points and measured
// on its output: where echoes of an impulse land, how loud they are, which time the sync and the
// sample rate give. For the timing tests the echo filter is replaced by a transparent one, so that an
// echo is one sample (up to the interpolation of a time that is not quite whole).
#include "patch/core/MessageTags.h"
#include "patch/space/TapeDelay.h"
#include "runtime/TagHash.h"

#include "tests/patch/ModuleTestRoot.h"
#include "tests/patch/PatchEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

using namespace PRT;
using namespace PRT::test;

using TapeDelay = Quillmore::PRTSubpatcher_48;
using EchoFilter = TapeDelay::PRTSubpatcher_33;
using FeedbackAmp = TapeDelay::PRTSubpatcher_32;

namespace
{
class TransparentFilter final : public EchoFilter
{
protected:
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override
    {
        copySignal(inputs[0], outputs[0], n);
        copySignal(inputs[1], outputs[1], n);
    }
};

class TapeDelayWithoutFilter final : public TapeDelay
{
protected:
    void createChildren() override
    {
        feedbackAmp = createChild<FeedbackAmp>();
        biquad = createChild<TransparentFilter>();
    }
};

template <typename Module>
class EchoRig
{
public:
    EchoRig(float rate, Index block) : sampleRate(rate), blockSize(block)
    {
        echo = patch.install(new ModuleTestRoot<Module>()).module;
        patch.prepare(rate, block);
    }

    MillisecondTime now() { return patch.engine.getCurrentTime(); }
    TapeDelay& at()
    {
        echo->updateTime(now());
        return *echo;
    }
    void freeTime(float ms)
    {
        at().setSyncOnInput(0);
        at().number_obj_48.setNumberValue(ms);
    }
    void feedback(float percent)
    {
        at();
        echo->feedbackAmp->updateTime(now());
        echo->feedbackAmp->number_obj_69.setNumberValue(percent);
    }

    // Runs `samples` of input (zeros past its end) and returns both outputs.
    std::pair<std::vector<float>, std::vector<float>> run(size_t samples, const std::vector<float>& inL = {},
                                                          const std::vector<float>& inR = {})
    {
        std::pair<std::vector<float>, std::vector<float>> out;
        for (size_t done = 0; done < samples; done += blockSize)
        {
            for (Index i = 0; i < blockSize; ++i)
            {
                patch.left[i] = done + i < inL.size() ? inL[done + i] : 0.0f;
                patch.right[i] = done + i < inR.size() ? inR[done + i] : 0.0f;
            }
            const SampleValue* inputs[] = {patch.left.data(), patch.right.data()};
            SampleValue* outputs[] = {patch.outLeft.data(), patch.outRight.data()};
            patch.engine.process(inputs, 2, outputs, 2, blockSize, nullptr, nullptr);
            out.first.insert(out.first.end(), patch.outLeft.begin(), patch.outLeft.end());
            out.second.insert(out.second.end(), patch.outRight.begin(), patch.outRight.end());
        }
        return out;
    }
    void runSilence(double seconds) { run(static_cast<size_t>(seconds * sampleRate)); }

    PatchEngine patch;
    Module* echo = nullptr;
    float sampleRate;
    Index blockSize;
};

std::vector<float> impulse(float height = 1.0f)
{
    return {height};
}

// Samples whose magnitude exceeds the threshold, by index.
std::vector<size_t> peaksAbove(const std::vector<float>& x, float threshold)
{
    std::vector<size_t> at;
    for (size_t i = 0; i < x.size(); ++i)
        if (std::fabs(x[i]) > threshold)
            at.push_back(i);
    return at;
}
} // namespace

// 250 ms at 48 kHz in blocks of 64: the first echo 11999 samples after the impulse, at 0.9 and alone
// while no EchoFdbck has arrived; with feedback every repeat follows 11999 + 64 samples later.
TEST(TapeEchoTest, EchoesLandOneSampleEarlyAndRepeatOneBlockLate)
{
    EchoRig<TapeDelayWithoutFilter> rig(48000.0f, 64);
    rig.freeTime(250.0f);
    rig.runSilence(7.0); // the limiter's fade-in
    const auto single = rig.run(60000, impulse(), impulse());
    const std::vector<size_t> echoes = peaksAbove(single.first, 0.01f);
    ASSERT_EQ(echoes.size(), 1u) << "one echo, no repeats";
    EXPECT_EQ(echoes[0], 11999u);
    EXPECT_NEAR(single.first[11999], 0.9f, 0.002f);
    EXPECT_EQ(single.first, single.second) << "no offset: both lines alike";
    float elsewhere = 0.0f;
    for (size_t i = 0; i < single.first.size(); ++i)
        if (i + 2 < 11999 || i > 11999 + 2)
            elsewhere = std::max(elsewhere, std::fabs(single.first[i]));
    EXPECT_EQ(elsewhere, 0.0f);

    rig.feedback(100.0f);
    rig.runSilence(0.1);
    const auto repeats = rig.run(60000, impulse(0.5f));
    const std::vector<size_t> peaks = peaksAbove(repeats.first, 0.05f);
    ASSERT_EQ(peaks.size(), 4u);
    float expected = 0.45f;
    for (size_t k = 0; k < peaks.size(); ++k)
    {
        EXPECT_EQ(peaks[k], 11999u + k * 12063u) << k;
        EXPECT_NEAR(repeats.first[peaks[k]], expected, 0.003f) << k;
        expected = std::atan(expected); // the amplifier at gain 1
    }
}

// Stereo offset −1: the right line's time is a quarter of the left's; +1 gives 1.75 times, within
// the five seconds of the lines.
TEST(TapeEchoTest, TheStereoOffsetScalesTheRightTime)
{
    const struct
    {
        float offset;
        size_t right;
    } rows[] = {{-1.0f, 2999}, {0.5f, 12000 + 1125 - 1}, {1.0f, 21000 - 1}};
    for (const auto& row : rows)
    {
        EchoRig<TapeDelayWithoutFilter> rig(48000.0f, 64);
        rig.freeTime(250.0f);
        rig.at().number_obj_132.setNumberValue(row.offset);
        rig.runSilence(7.0);
        const auto out = rig.run(30000, {}, impulse());
        const std::vector<size_t> peaks = peaksAbove(out.second, 0.1f);
        ASSERT_EQ(peaks.size(), 1u) << row.offset;
        EXPECT_EQ(peaks[0], row.right) << row.offset;
        EXPECT_EQ(peaksAbove(out.first, 0.0f).size(), 0u) << "nothing on the left";
    }
}

// The time of each sync setting, read from the display of T in samples (message_obj-54) and heard.
TEST(TapeEchoTest, SyncedTimesFollowTheTempoAndTheDivision)
{
    const struct
    {
        float tempo, division, samples;
    } rows[] = {{120, 7, 12000}, {0, 0, 180000}, {90, 10, 32000}, {120, 15, 96000}, {60, 2, 8000}};
    for (const auto& row : rows)
    {
        EchoRig<TapeDelayWithoutFilter> rig(48000.0f, 64);
        rig.at().setHostTempoInput(row.tempo);
        rig.at().number_obj_101.setNumberValue(row.division);
        rig.at().setSyncOnInput(1);
        rig.run(64 * 8);
        const std::string where = std::to_string(row.tempo) + " BPM, division " + std::to_string(row.division);
        EXPECT_NEAR(rig.echo->message_obj_54.getContent()[0], row.samples, row.samples * 1e-6f) << where;
    }

    EchoRig<TapeDelayWithoutFilter> rig(48000.0f, 64);
    rig.at().setHostTempoInput(120);
    rig.at().number_obj_101.setNumberValue(7); // "1/8"
    rig.at().setSyncOnInput(1);
    rig.runSilence(7.0);
    const auto out = rig.run(13000, impulse());
    const std::vector<size_t> peaks = peaksAbove(out.first, 0.1f);
    ASSERT_EQ(peaks.size(), 1u);
    EXPECT_EQ(peaks[0], 11999u) << "12000 samples";
}

// A sync switch changes nothing for 5 ms, then the newly selected mode's time applies; a tempo or a
// free time that arrives for the mode not selected changes nothing.
TEST(TapeEchoTest, ASyncSwitchActsFiveMillisecondsLater)
{
    EchoRig<TapeDelayWithoutFilter> rig(48000.0f, 64);
    rig.freeTime(100.0f);
    rig.at().setHostTempoInput(120);
    rig.at().number_obj_101.setNumberValue(7);
    rig.run(64 * 8);
    const float free = 4800.0f;
    ASSERT_FLOAT_EQ(rig.echo->message_obj_54.getContent()[0], free);

    const MillisecondTime switched = rig.now();
    rig.at().setSyncOnInput(1);
    while (rig.now() + 1000.0 * 64 / 48000.0 <= switched + 5.0)
    {
        rig.run(64);
        EXPECT_FLOAT_EQ(rig.echo->message_obj_54.getContent()[0], free) << rig.now() - switched << " ms";
    }
    rig.run(64);
    EXPECT_FLOAT_EQ(rig.echo->message_obj_54.getContent()[0], 12000.0f);

    rig.at().number_obj_48.setNumberValue(300.0f);
    rig.run(64 * 4);
    EXPECT_FLOAT_EQ(rig.echo->message_obj_54.getContent()[0], 12000.0f) << "the free time waits";
    rig.at().setSyncOnInput(0);
    rig.run(64 * 5);
    EXPECT_FLOAT_EQ(rig.echo->message_obj_54.getContent()[0], 14400.0f) << "and is released by the switch";
    rig.at().setHostTempoInput(60);
    rig.run(64);
    EXPECT_FLOAT_EQ(rig.echo->number_obj_103.getValue(), 500.0f) << "the synced time is shown";
    EXPECT_FLOAT_EQ(rig.echo->message_obj_54.getContent()[0], 14400.0f) << "but not used";
}

// After a new sample rate the time keeps its milliseconds, free or synced.
TEST(TapeEchoTest, ANewSampleRateKeepsTheTimeInMilliseconds)
{
    for (bool synced : {false, true})
    {
        EchoRig<TapeDelayWithoutFilter> rig(48000.0f, 64);
        rig.freeTime(250.0f);
        rig.at().setHostTempoInput(120);
        rig.at().number_obj_101.setNumberValue(10); // "1/4": 500 ms
        if (synced)
            rig.at().setSyncOnInput(1);
        rig.run(64 * 8);
        rig.patch.prepare(96000.0f, 64);
        rig.sampleRate = 96000.0f;
        rig.run(64 * 8);
        EXPECT_FLOAT_EQ(rig.echo->message_obj_54.getContent()[0], synced ? 48000.0f : 24000.0f) << synced;
    }
}

// Within 200 ms of the load clock a new time applies at once; afterwards it glides with a time
// constant that reaches 0.7 × sr samples within the next 500 ms.
TEST(TapeEchoTest, TheGlideTimeRampsUpAfterStartUp)
{
    EchoRig<TapeDelayWithoutFilter> rig(44100.0f, 128);
    rig.freeTime(100.0f);
    rig.run(128);
    EXPECT_FLOAT_EQ(rig.echo->glidedTime, 4410.0f) << "at once";
    rig.runSilence(0.15);
    EXPECT_EQ(rig.echo->glideTime, 0.0f);
    rig.runSilence(0.6);
    EXPECT_FLOAT_EQ(rig.echo->glideTime, 0.7f * 44100.0f);
    EXPECT_FLOAT_EQ(rig.echo->offsetGlideTime, 0.25f * 0.7f * 44100.0f);
    rig.freeTime(200.0f);
    rig.run(30870);
    // One glide time later a one-pole has covered 1 − 1/e of the way.
    EXPECT_NEAR((rig.echo->glidedTime - 4410.0f) / 4410.0f, 1.0f - std::exp(-1.0f), 0.01f);
}

// The feedback amplifier on its own ports: gain (EchoFdbck / 100)^0.7, reached 63 % after 100 samples,
// outputs within G × π/2 whatever comes in.
TEST(TapeEchoTest, TheFeedbackAmplifierSaturatesAndGlidesToItsGain)
{
    EchoRig<TapeDelay> rig(44100.0f, 100);
    FeedbackAmp& amp = *rig.echo->feedbackAmp;
    std::vector<float> small(100, 0.001f), huge(100, 1.0e6f), out(100), outR(100);
    const SampleValue* in[] = {small.data(), small.data()};
    SampleValue* outs[] = {out.data(), outR.data()};
    amp.process(in, 2, outs, 2, 100);
    EXPECT_EQ(out[99], 0.0f) << "no EchoFdbck yet";

    amp.number_obj_69.setNumberValue(100.0f);
    amp.process(in, 2, outs, 2, 100);
    EXPECT_NEAR(out[99] / std::atan(0.001f), 1.0f - std::pow(0.99f, 100.0f), 1e-4) << "63 % after 100 samples";
    for (int k = 0; k < 20; ++k)
        amp.process(in, 2, outs, 2, 100);
    EXPECT_NEAR(out[99], std::atan(0.001f), 1e-8) << "gain 1";

    amp.number_obj_69.setNumberValue(120.0f);
    const float ceiling = std::pow(1.2f, 0.7f) * 1.5707964f;
    const SampleValue* loud[] = {huge.data(), huge.data()};
    for (int k = 0; k < 20; ++k)
        amp.process(loud, 2, outs, 2, 100);
    EXPECT_LE(out[99], ceiling);
    EXPECT_NEAR(out[99], ceiling, 1e-4);
    EXPECT_NEAR(amp.gainTarget, std::pow(1.2f, 0.7f), 1e-6);
    amp.number_obj_69.setNumberValue(1.0f);
    EXPECT_NEAR(amp.gainTarget, std::pow(0.01f, 0.7f), 1e-7);
    amp.number_obj_69.setNumberValue(NAN);
    EXPECT_TRUE(std::isfinite(amp.gainTarget));
}

// The limiter on the echo: silent when built, full gain after about 6.53 s at any rate, a prepare in
// between does not restart the fade.
TEST(TapeEchoTest, TheEchoFadesInOnceAfterConstruction)
{
    for (float rate : {44100.0f, 48000.0f, 96000.0f})
    {
        EchoRig<TapeDelay> rig(rate, 128);
        rig.runSilence(3.0);
        rig.patch.prepare(rate, 256);
        rig.blockSize = 256;
        const float reached = rig.echo->limiter.gain();
        EXPECT_GT(reached, 0.01f);
        size_t samples = static_cast<size_t>(3.0 * rate) / 128 * 128;
        while (rig.echo->limiter.gain() < 1.0f && samples < 10 * rate)
        {
            rig.run(256);
            samples += 256;
        }
        EXPECT_NEAR(samples / rate, 6.53, 0.02) << rate;
    }
}

// The longest and the shortest times stay inside the lines (an address-sanitizer build checks the
// reads): 5 s with the right line at 1.75 × at 192 kHz, 1 ms with the right line at a quarter at
// 22.05 kHz, and a time of 0 from a division past the table.
TEST(TapeEchoTest, TheLongestAndShortestTimesReadInsideTheLines)
{
    {
        EchoRig<TapeDelayWithoutFilter> rig(192000.0f, 256);
        rig.freeTime(5000.0f);
        rig.at().number_obj_132.setNumberValue(1.0f);
        rig.runSilence(7.0);
        const auto out = rig.run(static_cast<size_t>(5.1 * 192000), impulse(), impulse());
        EXPECT_EQ(peaksAbove(out.first, 0.1f), std::vector<size_t>{959999});
        EXPECT_EQ(peaksAbove(out.second, 0.1f), std::vector<size_t>{959999}) << "clamped at 5 s too";
    }
    {
        EchoRig<TapeDelayWithoutFilter> rig(22050.0f, 64);
        rig.freeTime(1.0f);
        rig.at().number_obj_132.setNumberValue(-1.0f);
        rig.runSilence(7.0);
        const auto out = rig.run(64, impulse(), impulse());
        EXPECT_EQ(peaksAbove(out.first, 0.1f), std::vector<size_t>{21}) << "22.05 samples";
        EXPECT_EQ(peaksAbove(out.second, 0.1f).size(), 2u) << "5.5 samples: between two";
        rig.at().number_obj_101.setNumberValue(18.0f);
        rig.at().setSyncOnInput(1);
        rig.run(22050);
        EXPECT_EQ(rig.echo->message_obj_54.getContent()[0], 0.0f);
        std::vector<float> noise(22050);
        std::minstd_rand random(5);
        for (float& x : noise)
            x = std::uniform_real_distribution<float>(-1.0f, 1.0f)(random);
        const auto zero = rig.run(22050, noise, noise);
        for (float y : zero.first)
            ASSERT_TRUE(std::isfinite(y));
    }
}

// 120 % feedback on loud noise for a minute: finite, never above the limiter's ceiling.
TEST(TapeEchoTest, FullFeedbackStaysFiniteAndLimited)
{
    EchoRig<TapeDelay> rig(48000.0f, 128);
    rig.freeTime(80.0f);
    rig.feedback(120.0f);
    rig.at().setLfoAmountInput(100.0f);
    rig.at().number_obj_68.setNumberValue(3.0f);
    rig.echo->biquad->numberTilde_obj_32.setNumberTildeInput(1000.0f);
    rig.echo->biquad->numberTilde_obj_30.setNumberTildeInput(2.0f);
    std::minstd_rand random(7);
    std::uniform_real_distribution<float> uniform(-4.0f, 4.0f);
    std::vector<float> burst(48000);
    for (float& x : burst)
        x = uniform(random);
    float loudest = 0.0f;
    bool finite = true;
    for (int second = 0; second < 60; ++second)
    {
        const auto out = second % 10 == 0 ? rig.run(48000, burst, burst) : rig.run(48000);
        for (size_t i = 0; i < out.first.size(); ++i)
        {
            finite = finite && std::isfinite(out.first[i]) && std::isfinite(out.second[i]);
            loudest = std::max({loudest, std::fabs(out.first[i]), std::fabs(out.second[i])});
        }
    }
    EXPECT_TRUE(finite);
    EXPECT_LE(loudest, 1.0f);
    EXPECT_GT(loudest, 0.5f) << "it did ring";
}

// A new time takes effect from the sample offset of its event inside the block: the re-send 5 ms
// after a sync switch lands 240 samples after it, and one sample later (each sample reads at the
// time of the one before) the lines read at the new time. A ramp input shows the delay of every
// output sample.
TEST(TapeEchoTest, ANewTimeActsFromItsSampleInsideTheBlock)
{
    EchoRig<TapeDelayWithoutFilter> rig(48000.0f, 64);
    rig.freeTime(2.0f); // 96 samples
    rig.at().setHostTempoInput(937.5f);
    rig.at().number_obj_101.setNumberValue(0.0f); // "1/64": 4 ms, 192 samples
    rig.runSilence(7.0);
    // The glide time goes back to 0 for 200 ms when the sample-rate chain runs again.
    rig.patch.sendBang(tags::startupbang.hash, rig.echo->loadbang_obj_90.getId(), rig.now());
    rig.run(64);
    ASSERT_EQ(rig.echo->glideTime, 0.0f);

    auto ramp = [](size_t j) { return static_cast<float>(j % 1000) / 1000.0f; };
    std::vector<float> input(3000);
    for (size_t j = 0; j < input.size(); ++j)
        input[j] = ramp(j);
    rig.run(64 * 5, input, input); // the lines full of the ramp at its start
    const size_t switchedAt = 64 * 5;
    rig.at().setSyncOnInput(1);
    std::vector<float> rest(input.begin() + switchedAt, input.end());
    const auto out = rig.run(rest.size() - rest.size() % 64, rest, rest);
    // Output sample i (counted from the input's start) at delay d is 0.9 × ramp(i − d + 1).
    auto delayAt = [&](size_t i) -> int {
        for (int d : {96, 192})
            if (std::fabs(out.first[i - switchedAt] - 0.9f * ramp(i - static_cast<size_t>(d) + 1)) < 1e-4f)
                return d;
        return -1;
    };
    for (size_t i = switchedAt; i < switchedAt + 600; ++i)
        ASSERT_EQ(delayAt(i), i <= switchedAt + 240 ? 96 : 192) << "sample " << i - switchedAt << " after the switch";
}

// Every tag the echo, its amplifier and its filter use resolves to its text, in the echo's
// resolution; the messages its objects take reach them.
TEST(TapeEchoTest, ResolvesItsTagsAndTakesItsMessages)
{
    EchoRig<TapeDelay> rig(48000.0f, 64);
    const char* tags[] = {
        "assign", "mode", "setup", "valin", "format", "sig", "listout", "monitor", "listin", "bangin", "bangout",
        "valout", "startupbang", "TapeDelayOG/number_obj-14", "TapeDelayOG/number_obj-48",
        "TapeDelayOG/number_obj-68", "TapeDelayOG/number_obj-101", "TapeDelayOG/number_obj-103",
        "TapeDelayOG/number_obj-132", "TapeDelayOG/message_obj-27", "TapeDelayOG/message_obj-30",
        "TapeDelayOG/message_obj-42", "TapeDelayOG/message_obj-54", "TapeDelayOG/message_obj-56",
        "TapeDelayOG/message_obj-67", "TapeDelayOG/toggle_obj-113", "TapeDelayOG/loadbang_obj-90",
        "TapeDelayOG/button_obj-40", "TapeDelayOG/button_obj-45", "TapeDelayOG/button_obj-76",
        "TapeDelayOG/button_obj-108", "TapeDelayOG/button_obj-115", "TapeDelayOG/number~_obj-5",
        "TapeDelayOG/number~_obj-161",
        // The feedback amplifier's own.
        "TapeDelayOG/FeedbackAmp/number_obj-69", "TapeDelayOG/FeedbackAmp/slider_obj-7",
        "TapeDelayOG/FeedbackAmp/number~_obj-35",
        // The echo filter's own.
        "TapeDelayOG/Biquad/number~_obj-30", "TapeDelayOG/Biquad/number~_obj-32", "TapeDelayOG/Biquad/number~_obj-21",
        "TapeDelayOG/Biquad/number~_obj-15", "TapeDelayOG/Biquad/message_obj-24", "TapeDelayOG/Biquad/message_obj-17",
        "TapeDelayOG/Biquad/loadbang_obj-18", "TapeDelayOG/Biquad/scope~_obj-16", "TapeDelayOG/Biquad/scope~_obj-14"};
    for (const char* tag : tags)
        EXPECT_STREQ(rig.echo->resolveTag(hashString(tag)), tag);
    EXPECT_EQ(rig.echo->resolveTag(hashString("TapeDelayOG/number_obj-999")), nullptr);

    // "valin" on the sync toggle sets the gates without a re-send; a bang on the free time's box
    // releases it through the open gate.
    rig.freeTime(100.0f);
    rig.run(64 * 5);
    rig.patch.sendNumber(tags::valin.hash, rig.echo->toggle_obj_113.getId(), 1.0f, rig.now());
    rig.run(64 * 5);
    EXPECT_EQ(rig.echo->syncGate, 1.0f);
    EXPECT_FLOAT_EQ(rig.echo->message_obj_54.getContent()[0], 4800.0f) << "no re-send";
    rig.patch.sendNumber(tags::valin.hash, rig.echo->toggle_obj_113.getId(), 0.0f, rig.now());
    rig.patch.sendList(tags::listin.hash, rig.echo->message_obj_42.getId(), {50.0f}, rig.now());
    rig.run(64);
    EXPECT_FLOAT_EQ(rig.echo->message_obj_54.getContent()[0], 4800.0f) << "content alone does not release";
    rig.patch.sendBang(tags::listin.hash, rig.echo->message_obj_42.getId(), rig.now());
    rig.run(64);
    EXPECT_FLOAT_EQ(rig.echo->message_obj_54.getContent()[0], 2400.0f);
    // "valin" on the LFO rate and on the feedback amplifier's box (which clamps).
    rig.patch.sendNumber(tags::valin.hash, rig.echo->number_obj_68.getId(), 4.5f, rig.now());
    rig.run(64);
    EXPECT_EQ(rig.echo->lfoRate, 4.5f);
    rig.patch.sendNumber(tags::valin.hash, rig.echo->feedbackAmp->number_obj_69.getId(), 500.0f, rig.now());
    rig.run(64);
    EXPECT_EQ(rig.echo->feedbackAmp->feedback, 120.0f) << "clamped";
}
