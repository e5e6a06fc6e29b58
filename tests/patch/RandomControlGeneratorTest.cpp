// The random control generators (the two dropout generators and the warbler's instability source),
// each as the only module of a test top level in the real engine core, their output measured.
#include "patch/core/MessageTags.h"
#include "patch/core/RandomState.h"
#include "patch/heads/Dropouts.h"
#include "patch/heads/Instability.h"

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
using LeftGenerator = Quillmore::PRTSubpatcher_50::PRTSubpatcher_34;
using RightGenerator = Quillmore::PRTSubpatcher_50::PRTSubpatcher_35;
using Instability = Quillmore::PRTSubpatcher_54::PRTSubpatcher_37::PRTSubpatcher_36;

constexpr float rate = 48000.0f;
constexpr Index block = 128;

// A generator started as the top level starts it (set-up with a fixed seed, load clocks at the
// first block), rendered block by block; its output is the root's left channel.
template <typename Generator>
struct GeneratorRig
{
    explicit GeneratorRig(float seed = 1.0f, float sampleRate = rate, Index blockSize = block)
    {
        {
            const ScopedFixedRandomSeed fixed(seed);
            generator = patch.install(new ModuleTestRoot<Generator>()).module;
        }
        patch.prepare(sampleRate, blockSize);
    }

    // Degrade 0..100 for a dropout generator, the amount 0..1 for the instability source.
    void setDegrade(float degrade)
    {
        generator->updateTime(patch.engine.getCurrentTime());
        if constexpr (std::is_base_of_v<DropoutGenerator, Generator>)
            generator->setDegrade(degrade);
        else
            generator->amountBox.setNumberValue(degrade * 0.01f);
    }

    std::vector<float> render(size_t samples) { return renderSamples(patch, samples).left; }

    PatchEngine patch;
    Generator* generator = nullptr;
};

size_t samplesOf(double ms)
{
    return static_cast<size_t>(ms * 0.001 * rate);
}

float peak(const std::vector<float>& x, size_t begin = 0, size_t end = SIZE_MAX)
{
    float p = 0.0f;
    for (size_t i = begin; i < std::min(end, x.size()); ++i)
        p = std::max(p, std::fabs(x[i]));
    return p;
}
} // namespace

TEST(RandomControlGenerator, TheTwinsAndTheInstabilitySourceTakeTheirOwnRatesAndGlides)
{
    GeneratorRig<LeftGenerator> left;
    GeneratorRig<RightGenerator> right;
    GeneratorRig<Instability> instability;
    for (auto* patch : {&left.patch, &right.patch, &instability.patch})
        patch->processBlocks(1);
    struct Row
    {
        RandomControlGenerator* generator;
        float frequencyRate, levelRate, rampTime;
    };
    for (const Row& row : {Row{left.generator, 0.9f, 4, 650}, Row{right.generator, 0.8f, 8, 720},
                           Row{instability.generator, 0.5f, 3, 300}})
    {
        EXPECT_EQ(row.generator->getFrequencyRate(), row.frequencyRate) << row.generator->getObjectName();
        EXPECT_EQ(row.generator->getLevelRate(), row.levelRate) << row.generator->getObjectName();
        ASSERT_EQ(row.generator->rampTimeBox.getContent().size(), 1u);
        EXPECT_EQ(row.generator->rampTimeBox.getContent()[0], row.rampTime) << row.generator->getObjectName();
    }
}

TEST(RandomControlGenerator, NoDegradeFromTheStartIsExactlyZero)
{
    GeneratorRig<LeftGenerator> left;
    GeneratorRig<RightGenerator> right;
    left.setDegrade(0);
    right.setDegrade(0);
    EXPECT_EQ(peak(left.render(samplesOf(5000))), 0.0f);
    EXPECT_EQ(peak(right.render(samplesOf(5000))), 0.0f);
}

TEST(RandomControlGenerator, FullDegradeWandersInsideTheUnitRangeWithoutSteps)
{
    for (float seed : {1.0f, 2.0f, 3.0f})
    {
        GeneratorRig<LeftGenerator> left(seed);
        GeneratorRig<RightGenerator> right(seed);
        left.setDegrade(100);
        right.setDegrade(100);
        for (const std::vector<float>& out : {left.render(samplesOf(30000)), right.render(samplesOf(30000))})
        {
            EXPECT_LE(peak(out), 1.0f) << "seed " << seed;
            EXPECT_GT(peak(out), 0.3f) << "seed " << seed << ": it does wander";
            // A new level arriving mid-glide continues from where the glide stood: the steepest
            // sample-to-sample change stays that of a glide over the unit range in 650 ms times a
            // cosine below 1 Hz, far from a jump.
            float steepest = 0.0f;
            for (size_t i = 1; i < out.size(); ++i)
                steepest = std::max(steepest, std::fabs(out[i] - out[i - 1]));
            EXPECT_LT(steepest, 2.0f / samplesOf(650) + 6.3f / rate) << "seed " << seed;
        }
    }
}

TEST(RandomControlGenerator, TheOutputIsZeroForTheFirst250MsThenMoves)
{
    GeneratorRig<LeftGenerator> left;
    GeneratorRig<RightGenerator> right;
    GeneratorRig<Instability> instability;
    left.setDegrade(100);
    right.setDegrade(100);
    instability.setDegrade(100);
    for (const std::vector<float>& out :
         {left.render(samplesOf(400)), right.render(samplesOf(400)), instability.render(samplesOf(400))})
    {
        EXPECT_EQ(peak(out, 0, samplesOf(250)), 0.0f);
        // The first report comes at the first block boundary after 250 ms and reaches the glide one
        // block later.
        EXPECT_GT(peak(out, 0, samplesOf(250) + 3 * block), 0.0f);
    }
}

TEST(RandomControlGenerator, NoDegradeGlidesToZeroInTheTwinsRampTime)
{
    struct Row
    {
        double rampMs;
        bool right;
    };
    for (const Row& row : {Row{650, false}, Row{720, true}})
    {
        GeneratorRig<LeftGenerator> left;
        GeneratorRig<RightGenerator> right;
        RandomControlGenerator& generator =
            row.right ? static_cast<RandomControlGenerator&>(*right.generator) : *left.generator;
        PatchEngine& patch = row.right ? right.patch : left.patch;
        row.right ? right.setDegrade(60) : left.setDegrade(60);
        renderSamples(patch, samplesOf(3000));
        row.right ? right.setDegrade(0) : left.setDegrade(0);

        // The level 0 is reported within one report interval; from the block after, the glide takes
        // the ramp time to reach 0 and the output stays there.
        std::vector<float> out;
        size_t reportedAt = SIZE_MAX;
        while (out.size() < samplesOf(3000))
        {
            const std::vector<float> b = renderSamples(patch, block).left;
            out.insert(out.end(), b.begin(), b.end());
            if (reportedAt == SIZE_MAX && generator.targetMonitor.getLastReportedValue() == 0.0f)
                reportedAt = out.size();
        }
        ASSERT_LE(reportedAt, samplesOf(250) + 2 * block) << row.rampMs;
        const size_t glideEnd = reportedAt + samplesOf(row.rampMs);
        EXPECT_GT(peak(out, glideEnd - samplesOf(row.rampMs / 4), glideEnd - block), 0.0f) << "still gliding";
        EXPECT_EQ(peak(out, glideEnd + block), 0.0f) << row.rampMs << " ms after the report it is 0 and stays";
    }
}

TEST(RandomControlGenerator, TheRightDrawsEightLevelsASecondTheLeftFourAndBothReportAtMostFour)
{
    GeneratorRig<LeftGenerator> left;
    GeneratorRig<RightGenerator> right;
    left.setDegrade(100);
    right.setDegrade(100);
    auto count = [](auto& rig, int& draws, int& reports) {
        float lastDraw = rig.generator->getDrawnLevel();
        rig.patch.takeSent();
        for (int b = 0; b < 10 * 375; ++b) // 10 s
        {
            rig.patch.processBlocks(1);
            draws += rig.generator->getDrawnLevel() != lastDraw;
            lastDraw = rig.generator->getDrawnLevel();
        }
        for (const SentMessage& m : rig.patch.takeSent())
            reports += m.tag == tags::monitor.hash && m.objectId == rig.generator->targetMonitor.getId();
    };
    int leftDraws = 0, leftReports = 0, rightDraws = 0, rightReports = 0;
    count(left, leftDraws, leftReports);
    count(right, rightDraws, rightReports);
    EXPECT_NEAR(leftDraws, 40, 1);
    EXPECT_NEAR(rightDraws, 80, 1);
    EXPECT_LE(leftReports, 40);
    EXPECT_LE(rightReports, 40);
    EXPECT_GE(rightReports, 38) << "with a new level every 125 ms, every report interval has one";
}

TEST(RandomControlGenerator, TheSeedSeamRepeatsTheOutputAndTheTwinsWanderApart)
{
    GeneratorRig<LeftGenerator> a(7.0f), again(7.0f), other(8.0f);
    GeneratorRig<RightGenerator> right(7.0f);
    for (auto* rig : {&a, &again, &other})
        rig->setDegrade(100);
    right.setDegrade(100);
    const std::vector<float> first = a.render(samplesOf(5000));
    EXPECT_EQ(first, again.render(samplesOf(5000)));
    EXPECT_NE(first, other.render(samplesOf(5000)));
    EXPECT_NE(first, right.render(samplesOf(5000)));
}

TEST(RandomControlGenerator, TheInstabilitySlideFollowsTheSampleRate)
{
    struct Row
    {
        float sampleRate, slideTime;
    };
    for (const Row& row : {Row{48000, 7200.00048828125f}, Row{96000, 14400.0009765625f}, Row{44100, 6615.00048828125f}})
    {
        GeneratorRig<Instability> rig(1.0f, row.sampleRate);
        EXPECT_EQ(rig.generator->getSlideTime(), row.slideTime) << row.sampleRate;
        ASSERT_EQ(rig.generator->message_obj_10.getContent().size(), 1u);
        EXPECT_EQ(rig.generator->message_obj_10.getContent()[0], row.slideTime);
    }

    // A slide of 0.15 s smooths the 300 ms glides: the output moves far less per sample than the
    // dropout generators' (whose glides are longer), and stays inside ±amount.
    GeneratorRig<Instability> rig;
    rig.setDegrade(100);
    const std::vector<float> out = rig.render(samplesOf(20000));
    EXPECT_LE(peak(out), 1.0f);
    EXPECT_GT(peak(out), 0.05f);
    float steepest = 0.0f;
    for (size_t i = 1; i < out.size(); ++i)
        steepest = std::max(steepest, std::fabs(out[i] - out[i - 1]));
    EXPECT_LT(steepest, 2.0f / 7200.0f);

    GeneratorRig<Instability> silent;
    silent.setDegrade(0);
    EXPECT_EQ(peak(silent.render(samplesOf(5000))), 0.0f);
}

TEST(RandomControlGenerator, HostileMessagesLeaveTheOutputFiniteAndBounded)
{
    GeneratorRig<LeftGenerator> rig;
    rig.setDegrade(100);
    const MillisecondTime now = rig.patch.engine.getCurrentTime();
    const char* frequencyRate = "Dropouts/FreqDropoutsL/number_obj-122";
    rig.patch.sendNumber(tags::valin.hash, hashString(frequencyRate), std::nanf(""), now);
    rig.patch.sendNumber(tags::valin.hash, hashString("Dropouts/FreqDropoutsL/number_obj-104"), 1e30f, now);
    rig.patch.sendNumber(tags::valin.hash, hashString("Dropouts/FreqDropoutsL/number_obj-102"), std::nanf(""), now);
    std::vector<float> out = rig.render(samplesOf(2000));
    EXPECT_LE(peak(out), 1.0f);
    // A backwards frequency phasor still redraws once per cycle.
    rig.patch.sendNumber(tags::valin.hash, hashString(frequencyRate), -2.0f, rig.patch.engine.getCurrentTime());
    rig.patch.sendNumber(tags::valin.hash, hashString("Dropouts/FreqDropoutsL/number_obj-102"), 1.0f,
                         rig.patch.engine.getCurrentTime());
    out = rig.render(samplesOf(3000));
    EXPECT_EQ(rig.generator->getFrequencyRate(), -2.0f);
    EXPECT_LE(peak(out), 1.0f);
    EXPECT_GT(peak(out), 0.0f);
}

// A block worked out at listed samples only gives those samples bit for bit as a whole block does,
// leaves the others alone, and runs every state on as a whole block would: over many blocks with
// draws and glides, lists with and without inner samples, and lists that do not fit the block.
TEST(RandomControlGenerator, ASampledBlockGivesTheListedSamplesOfAWholeOne)
{
    GeneratorRig<LeftGenerator> whole(3.0f), sampled(3.0f);
    for (auto* rig : {&whole, &sampled})
    {
        rig->setDegrade(100);
        rig->render(block); // the load messages set the rates at the first block
        // Frequent new frequencies: takes inside sampled blocks, between listed samples.
        rig->generator->frequencyRateBox.setNumberValue(37.0f);
    }
    const std::vector<std::vector<Index>> lists = {
        {0, 127}, {0, 5, 64, 127}, {0, 1, 2, 126, 127}, {0, 127}, {0, 64}, {}, {3, 127}, {0, 100, 99, 127}};
    const SampleValue* inputs[] = {whole.patch.left.data(), whole.patch.right.data()};
    int sampledBlocks = 0;
    for (int b = 0; b < 1200; ++b)
    {
        const std::vector<Index>& list = lists[static_cast<size_t>(b) % lists.size()];
        const bool fits = list.size() >= 2 && list.front() == 0 && list.back() == block - 1 &&
                          std::is_sorted(list.begin(), list.end()) &&
                          std::adjacent_find(list.begin(), list.end()) == list.end();
        sampled.generator->sampleOutputAt(list.data(), static_cast<Index>(list.size()));
        std::fill(sampled.patch.outLeft.begin(), sampled.patch.outLeft.end(), -7.0f);
        SampleValue* wholeOut[] = {whole.patch.outLeft.data(), whole.patch.outRight.data()};
        SampleValue* sampledOut[] = {sampled.patch.outLeft.data(), sampled.patch.outRight.data()};
        whole.patch.engine.process(inputs, 2, wholeOut, 2, block, nullptr, nullptr);
        sampled.patch.engine.process(inputs, 2, sampledOut, 2, block, nullptr, nullptr);
        for (Index i = 0; i < block; ++i)
        {
            const bool listed = !fits || std::find(list.begin(), list.end(), i) != list.end();
            if (listed)
                ASSERT_EQ(sampled.patch.outLeft[i], whole.patch.outLeft[i]) << "block " << b << ", sample " << i;
            else
                ASSERT_EQ(sampled.patch.outLeft[i], -7.0f) << "block " << b << ", sample " << i;
        }
        sampledBlocks += fits;
    }
    EXPECT_GT(sampledBlocks, 500);
    EXPECT_GT(peak(whole.patch.outLeft), 0.0f) << "the generator moves";
}
