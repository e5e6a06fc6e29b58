// The shared operators that the warbler and its modules are built from, each against a small table of
// inputs and outputs; the ones that schedule clocks run inside the real engine.
#include "patch/core/BiquadDesigner.h"
#include "patch/core/BiquadState.h"
#include "patch/core/ButterworthCascade.h"
#include "patch/core/EdgeDetector.h"
#include "patch/core/GeneratedPatcher.h"
#include "patch/core/PeriodicSnapshot.h"
#include "patch/core/RampPhasor.h"
#include "patch/core/SampleAndHold.h"
#include "patch/heads/TapeDelayLine.h"

#include "tests/patch/PatchEngine.h"
#include "tests/patch/SchedulingRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <utility>
#include <vector>

using namespace PRT;
using namespace PRT::test;

namespace
{
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// A class whose block runs what the test gives it and that notes every clock it receives.
class ClockProbe final : public GeneratedPatcher
{
public:
    ClockProbe() : GeneratedPatcher({"Probe", 0, 0}, 0) {}

    struct Clock
    {
        ClockId id;
        MillisecondTime time;
        bool hasValue;
        float value;
    };
    std::vector<Clock> clocks;
    std::function<void(Index)> block;

protected:
    void processBlock(const SampleValue* const*, SampleValue* const*, Index n) override
    {
        if (block)
            block(n);
    }
    void onClock(ClockId id, bool hasValue, ParameterValue value) override
    {
        clocks.push_back({id, getTime(), hasValue, value});
    }
};

class ProbeTest : public testing::Test
{
protected:
    void SetUp() override
    {
        probe = &patch.install(new ClockProbe());
        patch.prepare(48000.0f, 64);
        probe->setEngineAndParent(&recorder, nullptr);
    }
    MillisecondTime msAt(double sample) const { return sample * 1000.0 / 48000.0; }

    PatchEngine patch;
    SchedulingRecorder recorder{patch.engine};
    ClockProbe* probe = nullptr;
};
} // namespace

TEST(RampPhasor, OutputsThePhaseBeforeEachAdvanceAndWrapsOnce)
{
    struct Row
    {
        float rate;
        std::vector<float> expected;
    };
    const Row rows[] = {
        {12000.0f, {0.0f, 0.25f, 0.5f, 0.75f, 1.0f, 0.25f}}, // a quarter per sample; 1 itself is not wrapped
        {0.0f, {0.0f, 0.0f, 0.0f}},                          // a rate of 0 holds the phase
        {-12000.0f, {0.0f, 0.75f, 0.5f, 0.25f, 0.0f, 0.75f}}, // backwards: below 0 wraps to just under 1
    };
    for (const Row& row : rows)
    {
        dsp::RampPhasor phasor;
        phasor.prepare(48000.0f);
        for (size_t i = 0; i < row.expected.size(); ++i)
            EXPECT_FLOAT_EQ(phasor.next(row.rate), row.expected[i]) << "rate " << row.rate << ", sample " << i;
    }

    for (const float hostile : {kNaN, kInf, -kInf, 1e30f, -1e30f})
    {
        dsp::RampPhasor phasor;
        phasor.prepare(48000.0f);
        for (int i = 0; i < 4; ++i)
        {
            const float p = phasor.next(hostile);
            ASSERT_TRUE(p >= 0.0f && p <= 1.0f) << hostile << " gave " << p;
        }
        EXPECT_FLOAT_EQ(phasor.next(0.0f), 0.0f) << "recovers at once";
    }
}

TEST(SampleAndHold, TakesTheInputWhenTheControlRisesThroughItsThreshold)
{
    dsp::SampleAndHold hold;
    hold.setThreshold(0.55f);
    struct Step
    {
        float control, input, expected;
    };
    const Step steps[] = {{0.2f, 1, 0}, {0.55f, 2, 0}, {0.6f, 3, 3}, {0.9f, 4, 3}, {0.1f, 5, 3}, {0.7f, 6, 6}};
    for (const Step& s : steps)
        EXPECT_EQ(hold.next(s.control, s.input), s.expected) << "control " << s.control;

    dsp::SampleAndHold first;
    first.setThreshold(0.0f);
    EXPECT_EQ(first.next(0.3f, 7.0f), 7.0f) << "the previous control starts at 0: the first sample above takes";
    EXPECT_EQ(first.next(0.4f, 8.0f), 7.0f) << "and a control that stays above keeps it";
}

TEST(BiquadState, ARenderGivesTheSamplesOfProcessAndStandsStillOnAHeldInput)
{
    dsp::BiquadDesigner designer;
    designer.prepare(48000.0f);
    const dsp::BiquadCoefficients c = designer.computeFilterCoefficients(40.0f, 0.7f, 1.0f, dsp::LowPass);
    // Held stretches long enough to settle, zeros of both signs, and hostile values.
    std::vector<float> in;
    for (const auto& [value, count] : std::vector<std::pair<float, int>>{
             {0.3f, 6000}, {-0.0f, 3000}, {0.0f, 3000}, {kNaN, 10}, {0.3f, 6000}, {1e30f, 5}, {kInf, 3}, {-0.7f, 6000}})
        in.insert(in.end(), static_cast<size_t>(count), value);

    dsp::BiquadState reference;
    std::vector<float> expected(in.size());
    for (size_t i = 0; i < in.size(); ++i)
        expected[i] = reference.process(in[i], c);

    for (const uint32_t block : {1u, 64u, 1000u})
    {
        dsp::BiquadState rendered;
        std::vector<float> out(in.size());
        for (size_t at = 0; at < in.size(); at += block)
        {
            const auto n = static_cast<uint32_t>(std::min<size_t>(block, in.size() - at));
            rendered.render(in.data() + at, out.data() + at, n, c);
        }
        EXPECT_EQ(0, std::memcmp(expected.data(), out.data(), in.size() * sizeof(float))) << "blocks of " << block;
    }
    EXPECT_EQ(expected[5999], expected[5998]) << "the filter settled on the held input, so the fill ran";
}

TEST_F(ProbeTest, AnEdgeDetectorStampsEachEdgeWithItsSample)
{
    EdgeDetector edges(*probe, 1, 2);
    // Blocks of 64: a gate of one sample at 10, one from 62 across the boundary to 65, NaN at 100.
    std::vector<float> gate(192, 0.0f);
    gate[10] = 1.0f;
    for (size_t i = 62; i < 66; ++i)
        gate[i] = 0.5f;
    gate[100] = kNaN;
    Index offset = 0;
    probe->block = [&](Index n) {
        for (Index i = 0; i < n; ++i)
            edges.next(gate[offset + i], i);
        offset += n;
    };
    patch.processBlocks(3);
    const std::vector<std::pair<ClockId, double>> expected = {{1, 10}, {2, 11}, {1, 62}, {2, 66}, {1, 100}, {2, 101}};
    ASSERT_EQ(recorder.scheduled.size(), expected.size());
    for (size_t k = 0; k < expected.size(); ++k)
    {
        EXPECT_EQ(recorder.scheduled[k].first, expected[k].first) << k;
        EXPECT_NEAR(recorder.scheduled[k].second, msAt(expected[k].second), 1e-9) << k;
    }
    EXPECT_EQ(probe->clocks.size(), expected.size()) << "all delivered";
}

TEST_F(ProbeTest, APeriodicSnapshotKeepsItsCadenceAfterTenBillionSamples)
{
    PeriodicSnapshot snapshot(*probe, 7, 2.0f); // 96 samples at 48 kHz
    std::vector<float> ramp(64);
    float counter = 0.0f;
    probe->block = [&](Index n) {
        for (Index i = 0; i < n; ++i)
            ramp[i] = counter++;
        snapshot.process(ramp.data(), n);
    };
    patch.processBlocks(5);
    std::vector<float> taken;
    for (const auto& clock : probe->clocks)
        taken.push_back(clock.value);
    EXPECT_EQ(taken, (std::vector<float>{0.0f, 96.0f, 192.0f})) << "from the first sample on, every 96 samples";
    ASSERT_GE(recorder.scheduled.size(), 2u);
    EXPECT_NEAR(recorder.scheduled[1].second, msAt(128), 1e-9) << "due at sample 96: for the end of its block";

    // Some 58 hours at 48 kHz: the next due point one sample into the next block.
    const int64_t hours = 10'000'000'000;
    snapshot.skipTo(hours, static_cast<double>(hours) + 1.0);
    probe->clocks.clear();
    counter = 0.0f;
    patch.processBlocks(7);
    // The first is the one due at sample 288 before the skip, delivered after it.
    ASSERT_EQ(probe->clocks.size(), 5u);
    EXPECT_EQ(probe->clocks[0].value, 288.0f);
    for (size_t k = 1; k < probe->clocks.size(); ++k)
        EXPECT_EQ(probe->clocks[k].value, 1.0f + 96.0f * static_cast<float>(k - 1)) << "still every 96 samples";

    for (const float off : {0.0f, -2.0f, kNaN})
    {
        snapshot.setInterval(off);
        patch.processBlocks(1); // what was due before arrives
        probe->clocks.clear();
        const int64_t before = snapshot.samplesCounted();
        patch.processBlocks(2);
        EXPECT_TRUE(probe->clocks.empty()) << off;
        EXPECT_EQ(snapshot.samplesCounted(), before) << "the count stands still";
    }
}

namespace
{
// The steady-state gain of a cascade for a sine at hz, from the last of three seconds.
double cascadeGain(dsp::FilterMode mode, float cutoff, double hz)
{
    dsp::ButterworthCascade cascade(mode);
    cascade.prepare(48000.0f);
    std::vector<float> block(48000 * 3);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<float>(std::sin(6.283185307179586 * hz * static_cast<double>(i) / 48000.0));
    cascade.process(block.data(), static_cast<Index>(block.size()), cutoff);
    double peak = 0.0;
    for (size_t i = 48000 * 2; i < block.size(); ++i)
        peak = std::max(peak, std::fabs(static_cast<double>(block[i])));
    return peak;
}

// Repeatable noise in [-1, 1), drawn by a linear congruential generator.
struct LcgNoise
{
    uint32_t seed;
    float operator()()
    {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / 8388608.0f - 1.0f;
    }
};
} // namespace

TEST(ButterworthCascade, IsAFifthOrderButterworthLowAndHighPass)
{
    dsp::ButterworthCascade lowPass(dsp::LowPass);
    lowPass.prepare(48000.0f);
    EXPECT_NEAR(lowPass.q(0), 0.618034f, 1e-6f);
    EXPECT_NEAR(lowPass.q(1), 1.618034f, 1e-6f);

    struct Row
    {
        dsp::FilterMode mode;
        double hz;
        double expectedDb;
        double toleranceDb;
    };
    const Row rows[] = {
        {dsp::LowPass, 30.0, -3.01, 0.3},   {dsp::HighPass, 30.0, -3.01, 0.3},
        {dsp::LowPass, 240.0, -90.3, 2.0},  {dsp::HighPass, 3.75, -90.3, 2.0}, // three octaves: 30 dB each
        {dsp::LowPass, 3.0, 0.0, 0.05},     {dsp::HighPass, 1000.0, 0.0, 0.05},
    };
    for (const Row& row : rows)
        EXPECT_NEAR(20.0 * std::log10(cascadeGain(row.mode, 30.0f, row.hz)), row.expectedDb, row.toleranceDb)
            << (row.mode == dsp::LowPass ? "low" : "high") << "-pass at " << row.hz << " Hz";

    // DC: the low-pass passes it whole, the high-pass blocks it.
    for (dsp::FilterMode mode : {dsp::LowPass, dsp::HighPass})
    {
        dsp::ButterworthCascade cascade(mode);
        cascade.prepare(48000.0f);
        std::vector<float> ones(48000 * 4, 1.0f);
        cascade.process(ones.data(), static_cast<Index>(ones.size()), 30.0f);
        EXPECT_NEAR(ones.back(), mode == dsp::LowPass ? 1.0f : 0.0f, 0.01f);
    }
}

TEST(ButterworthCascade, KeepsItsOnePoleCoefficientWithinRangeForAnyCutoff)
{
    struct Row
    {
        float cutoff;
        float expected;
    };
    const Row rows[] = {{0.0f, 0.00001f},  {-50.0f, 0.00001f}, {kNaN, 0.00001f},
                        {1e9f, 0.99999f}, {kInf, 0.99999f},  {30.0f, static_cast<float>(1.0 - std::exp(-6.283185307179586 * 30.0 / 48000.0))}};
    for (const Row& row : rows)
    {
        dsp::ButterworthCascade cascade(dsp::LowPass);
        cascade.prepare(48000.0f);
        float x = 1.0f;
        cascade.process(&x, 1, row.cutoff);
        EXPECT_FLOAT_EQ(cascade.onePoleCoefficient(), row.expected) << row.cutoff;
    }

    // A cut-off signal: the one-pole follows it per sample, the biquads take the block's last value.
    dsp::ButterworthCascade moving(dsp::HighPass);
    moving.prepare(48000.0f);
    dsp::ButterworthCascade fixed(dsp::HighPass);
    fixed.prepare(48000.0f);
    std::vector<float> a(64, 0.5f), b(64, 0.5f), cutoff(64, 2.0f);
    cutoff.back() = 5.0f;
    moving.process(a.data(), 64, cutoff.data());
    fixed.process(b.data(), 64, 5.0f);
    EXPECT_EQ(moving.stageCoefficients(1), fixed.stageCoefficients(1));
    EXPECT_NE(a[10], b[10]) << "the one-pole ran at 2 Hz";
}

TEST(ButterworthCascade, SideBySideGivesBothCascadesTheSamplesTheyGiveAlone)
{
    // Over four blocks, so that memories and the one-pole's bookkeeping carry over: A at a fixed
    // cut-off, B at a cut-off signal; inputs that start silent (a cascade at rest skips the block),
    // that are noise, and hostile values in the input and the cut-offs.
    enum class Input { Noise, SilentThenNoise, Silent, NaNBurst };
    enum class Cutoff { Sliding, Fixed, NaNInBlock, Infinite };
    struct Row
    {
        float sampleRate;
        dsp::FilterMode modeA, modeB;
        float cutoffA;
        Input inputA, inputB;
        Cutoff cutoffB;
    };
    const Row rows[] = {
        {48000.0f, dsp::LowPass, dsp::HighPass, 30.0f, Input::Noise, Input::Noise, Cutoff::Sliding},
        {48000.0f, dsp::HighPass, dsp::LowPass, 25.0f, Input::Noise, Input::Noise, Cutoff::Fixed},
        {192000.0f, dsp::LowPass, dsp::HighPass, 2.0f, Input::Noise, Input::Noise, Cutoff::Sliding},
        {48000.0f, dsp::LowPass, dsp::HighPass, 30.0f, Input::SilentThenNoise, Input::Noise, Cutoff::Sliding},
        {48000.0f, dsp::LowPass, dsp::HighPass, 30.0f, Input::Noise, Input::SilentThenNoise, Cutoff::Sliding},
        {48000.0f, dsp::LowPass, dsp::LowPass, 30.0f, Input::Silent, Input::Noise, Cutoff::Sliding},
        {48000.0f, dsp::HighPass, dsp::HighPass, kNaN, Input::Noise, Input::Noise, Cutoff::NaNInBlock},
        {48000.0f, dsp::LowPass, dsp::HighPass, 1e9f, Input::NaNBurst, Input::Noise, Cutoff::Infinite},
        {48000.0f, dsp::LowPass, dsp::HighPass, -5.0f, Input::Noise, Input::NaNBurst, Cutoff::Sliding},
    };
    constexpr Index kBlock = 64;
    for (const Row& row : rows)
    {
        dsp::ButterworthCascade aloneA(row.modeA), aloneB(row.modeB), pairedA(row.modeA), pairedB(row.modeB);
        for (dsp::ButterworthCascade* c : {&aloneA, &aloneB, &pairedA, &pairedB})
            c->prepare(row.sampleRate);
        LcgNoise noise{12345u};
        auto input = [&](Input kind, int block, Index i) {
            switch (kind)
            {
            case Input::Noise: return noise();
            case Input::SilentThenNoise: return block < 2 ? 0.0f : noise();
            case Input::Silent: return 0.0f;
            case Input::NaNBurst: return block == 1 && i < 3 ? kNaN : noise();
            }
            return 0.0f;
        };
        for (int block = 0; block < 4; ++block)
        {
            std::vector<float> a(kBlock), b(kBlock), cutoffB(kBlock);
            for (Index i = 0; i < kBlock; ++i)
            {
                a[i] = input(row.inputA, block, i);
                b[i] = input(row.inputB, block, i);
                const float slid = 5.0f + 0.3f * static_cast<float>(block * kBlock + i);
                cutoffB[i] = row.cutoffB == Cutoff::Sliding      ? slid
                             : row.cutoffB == Cutoff::Fixed      ? 40.0f
                             : row.cutoffB == Cutoff::NaNInBlock ? (i % 7 == 3 ? kNaN : slid)
                                                                 : (i < 10 ? kInf : 50.0f);
            }
            std::vector<float> alone[] = {a, b}, paired[] = {a, b};
            aloneA.process(alone[0].data(), kBlock, row.cutoffA);
            aloneB.process(alone[1].data(), kBlock, cutoffB.data());
            dsp::ButterworthCascade::processSideBySide(pairedA, paired[0].data(), row.cutoffA, pairedB,
                                                       paired[1].data(), cutoffB.data(), kBlock);
            for (int k = 0; k < 2; ++k)
                EXPECT_EQ(0, std::memcmp(alone[k].data(), paired[k].data(), kBlock * sizeof(float)))
                    << "row " << (&row - rows) << ", cascade " << "AB"[k] << ", block " << block;
        }
        EXPECT_EQ(aloneA.onePoleCoefficient(), pairedA.onePoleCoefficient());
        EXPECT_EQ(aloneB.onePoleCoefficient(), pairedB.onePoleCoefficient());
    }
}

TEST(ButterworthCascade, TwoChainsAndOneInSeriesGiveEachCascadeTheSamplesItGivesAlone)
{
    // Chain A: a low-pass, a gain, a high-pass at fixed cut-offs; chain B: a high-pass then a
    // low-pass at cut-off signals. A silent chain B at rest leaves chain A to run in series. After
    // noise then silence, chain B's high-pass is prepared again: at rest, with its low-pass still
    // ringing.
    enum class Input { Noise, Silent, SilentThenNoise, NaNBurst, NoiseThenSilent };
    struct Row
    {
        float sampleRate;
        Index block;
        float cutoffA, cutoffC, gain;
        Input inputA, inputB;
    };
    const Row rows[] = {
        {48000.0f, 64, 30.0f, 25.0f, 0.5f, Input::Noise, Input::Noise},
        {48000.0f, 64, 30.0f, 25.0f, 0.5f, Input::Noise, Input::Silent},
        {48000.0f, 64, 30.0f, 25.0f, 0.5f, Input::Noise, Input::SilentThenNoise},
        {48000.0f, 64, 30.0f, 25.0f, 0.5f, Input::SilentThenNoise, Input::Silent},
        {48000.0f, 64, 30.0f, 25.0f, 0.5f, Input::Noise, Input::NoiseThenSilent},
        {192000.0f, 64, 2.0f, 3.0f, 2.0f, Input::Noise, Input::Silent},
        {48000.0f, 1, 30.0f, 25.0f, 0.5f, Input::Noise, Input::Silent},
        {48000.0f, 8, 30.0f, 25.0f, 0.5f, Input::Noise, Input::Silent},
        {48000.0f, 9, 30.0f, 25.0f, 0.5f, Input::Noise, Input::Silent},
        {48000.0f, 64, kNaN, 1e9f, kInf, Input::NaNBurst, Input::Silent},
        {48000.0f, 64, 30.0f, -5.0f, 0.0f, Input::Noise, Input::NaNBurst},
    };
    for (const Row& row : rows)
    {
        std::vector<dsp::ButterworthCascade> alone, chained;
        for (auto* set : {&alone, &chained})
            for (dsp::FilterMode mode : {dsp::LowPass, dsp::HighPass, dsp::HighPass, dsp::LowPass})
            {
                set->emplace_back(mode);
                set->back().prepare(row.sampleRate);
            }
        LcgNoise noise{777u};
        auto input = [&](Input kind, int block, Index i) {
            switch (kind)
            {
            case Input::Noise: return noise();
            case Input::Silent: return 0.0f;
            case Input::SilentThenNoise: return block < 3 ? 0.0f : noise();
            case Input::NaNBurst: return block == 2 && i == 0 ? kNaN : noise();
            case Input::NoiseThenSilent: return block < 3 ? noise() : 0.0f;
            }
            return 0.0f;
        };
        for (int block = 0; block < 6; ++block)
        {
            if (row.inputB == Input::NoiseThenSilent && block == 3)
                for (auto* set : {&alone, &chained})
                    (*set)[2].prepare(row.sampleRate);
            std::vector<float> a(row.block), b(row.block), cutoffB(row.block), cutoffD(row.block);
            for (Index i = 0; i < row.block; ++i)
            {
                a[i] = input(row.inputA, block, i);
                b[i] = input(row.inputB, block, i);
                cutoffB[i] = 2.0f + 0.01f * static_cast<float>(block * 64 + i);
                cutoffD[i] = 60.0f - 0.05f * static_cast<float>(block * 64 + i);
            }
            std::vector<float> expected[] = {a, b}, got[] = {a, b};
            alone[0].process(expected[0].data(), row.block, row.cutoffA);
            for (float& x : expected[0])
                x *= row.gain;
            alone[1].process(expected[0].data(), row.block, row.cutoffC);
            alone[2].process(expected[1].data(), row.block, cutoffB.data());
            alone[3].process(expected[1].data(), row.block, cutoffD.data());
            dsp::ButterworthCascade::processTwoChains(chained[0], chained[1], got[0].data(), row.cutoffA, row.gain,
                                                      row.cutoffC, chained[2], chained[3], got[1].data(),
                                                      cutoffB.data(), cutoffD.data(), row.block);
            // Bit for bit; where two different NaNs meet in a sum, which one comes out is the
            // compiler's choice of operand order, so any NaN matches any NaN.
            for (int k = 0; k < 2; ++k)
                for (Index i = 0; i < row.block; ++i)
                {
                    const float x = expected[k][i], y = got[k][i];
                    ASSERT_TRUE((std::isnan(x) && std::isnan(y)) || std::memcmp(&x, &y, sizeof x) == 0)
                        << "row " << (&row - rows) << ", chain " << "AB"[k] << ", block " << block << ", sample "
                        << i << ": " << x << " for " << y;
                }
        }
        for (size_t k = 0; k < 4; ++k)
            EXPECT_EQ(alone[k].onePoleCoefficient(), chained[k].onePoleCoefficient()) << "row " << (&row - rows);
    }
}

namespace
{
// A probe with the two data references of a warbler's lines.
class LineOwner final : public GeneratedPatcher
{
public:
    LineOwner() : GeneratedPatcher({"LineOwner", 0, 0}) {}
    OwnedFloatDataRef storage{*this, "delaytilde_07_del_bufferobj"};
    TapeDelayLine line{storage, 5.0};

protected:
    void processBlock(const SampleValue* const*, SampleValue* const*, Index) override {}
};
} // namespace

TEST(TapeDelayLine, ReadsOneSampleLateClampsAndInterpolates)
{
    LineOwner owner;
    owner.line.prepare(48000.0f);
    EXPECT_EQ(owner.line.maximumDelay(), 9600) << "floor(sr / 5)";
    EXPECT_EQ(owner.line.capacity(), 16384u);
    EXPECT_EQ(owner.storage.getIndex(), 19);

    auto run = [&](const std::vector<float>& delays) {
        std::vector<float> input(delays.size()), output(delays.size());
        for (size_t i = 0; i < input.size(); ++i)
            input[i] = static_cast<float>(i + 1);
        owner.line.prepare(48000.0f); // cleared, nothing in force
        owner.line.process(input.data(), delays.data(), output.data(), static_cast<Index>(delays.size()));
        return output;
    };
    // Input 1, 2, 3 ...: a read at delay d on sample i gives i + 1 − d (0 before the line was written).
    EXPECT_EQ(run({1, 1, 1, 1}), (std::vector<float>{0, 1, 2, 3})) << "delay 1: the previous input";
    EXPECT_EQ(run({0, 0, -5, kNaN}), (std::vector<float>{0, 1, 2, 3})) << "below 1 sample: 1 sample";
    EXPECT_EQ(run({2.5f, 2.5f, 2.5f, 2.5f}), (std::vector<float>{0, 0, 0.5f, 1.5f})) << "linear between samples";
    EXPECT_EQ(run({1, 1, 3, 3, 1, 1}), (std::vector<float>{0, 1, 2, 1, 2, 5})) << "each new delay one sample late";

    std::vector<float> far(20000, 1e9f);
    const std::vector<float> out = run(far);
    EXPECT_EQ(out[9600], 1.0f) << "beyond 200 ms: read at floor(sr / 5)";
    EXPECT_EQ(out[19999], 20000.0f - 9600.0f);
    std::vector<float> infinite(20000, kInf);
    EXPECT_EQ(run(infinite)[19999], 20000.0f - 9600.0f);
}
