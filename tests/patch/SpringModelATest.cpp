// Spring model A measured on what it renders: impulse responses at every supported rate, its decay
// and echo spacing under SpringDecay and SpringSize, its gate, and hostile input.
#include "patch/core/QuillmoreModules.h"

#include "tests/patch/ImpulseResponse.h"
#include "tests/patch/StereoRender.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>
#include <string>

using namespace PRT;
using namespace PRT::test;

namespace
{
constexpr Index blockSize = 128;
constexpr float supportedRates[] = {22050.0f, 44100.0f, 48000.0f, 88200.0f, 96000.0f, 176400.0f, 192000.0f};

std::string describe(float rate, float decay, float size)
{
    return std::to_string(static_cast<int>(rate)) + " Hz, SpringDecay " + std::to_string(static_cast<int>(decay))
           + ", SpringSize " + std::to_string(static_cast<int>(size));
}

// Spring model A as the top level sets it up and its router drives it: the parameters go through the
// real patch, which runs until its start-up ramp has opened the model; then the model runs on its
// own, from empty lines and a silent state with its slides at their targets, as after a long run.
class SpringModelARig
{
public:
    SpringModelARig(float rate, float decay, float size) : sampleRate(rate)
    {
        top = &patch.install(new Quillmore());
        patch.prepare(rate, blockSize);
        patch.interface.setParameterValue(params::SpringDecay, decay, 0.0);
        patch.interface.setParameterValue(params::SpringSize, size, 0.0);
        while (model().controls.gen01Gate < 1.0f)
            patch.processBlocks(1);
        patch.engine.prepareToProcess(rate, blockSize, true); // empties the lines and the DC blockers
        SpringModelA::State& s = model().state;
        s = SpringModelA::State();
        s.W = model().controls.gen01Diffusion;
        s.Y = model().controls.gen01Length;
        s.B = model().controls.gen01Spread;
    }

    SpringModelA& model() { return top->gen01; }

    // Runs the model on `seconds` of input from the given source (sample index → left, right).
    template <typename Source>
    StereoSignal render(double seconds, Source source)
    {
        const auto total = static_cast<size_t>(seconds * sampleRate);
        std::vector<float> inL(blockSize), inR(blockSize), outL(blockSize), outR(blockSize);
        StereoSignal result;
        for (size_t done = 0; done < total; done += blockSize)
        {
            for (Index i = 0; i < blockSize; ++i)
                source(done + i, inL[i], inR[i]);
            model().gen01Perform(inL.data(), inR.data(), model().controls, sampleRate, outL.data(), outR.data(),
                                 blockSize);
            result.left.insert(result.left.end(), outL.begin(), outL.end());
            result.right.insert(result.right.end(), outR.begin(), outR.end());
        }
        return result;
    }

    StereoSignal impulseResponse(double seconds, bool onRight = false)
    {
        return render(seconds, [onRight](size_t i, float& l, float& r) {
            l = !onRight && i == 0 ? 1.0f : 0.0f;
            r = onRight && i == 0 ? 1.0f : 0.0f;
        });
    }

    float sampleRate;
    PatchEngine patch;
    Quillmore* top = nullptr;
};

// Uniform noise at full scale on both inputs.
struct Noise
{
    std::minstd_rand random{7};
    std::uniform_real_distribution<float> uniform{-1.0f, 1.0f};
    void operator()(size_t, float& l, float& r)
    {
        l = uniform(random);
        r = uniform(random);
    }
};
} // namespace

TEST(SpringModelAFold, ReflectsAtPlusAndMinusOne)
{
    const struct
    {
        float in, out;
    } cases[] = {{1.5f, 0.5f},   {3.5f, -0.5f}, {-1.5f, -0.5f}, {1.0f, 1.0f},   {-1.0f, -1.0f}, {0.25f, 0.25f},
                 {-0.75f, -0.75f}, {5.0f, 1.0f},  {-3.0f, 1.0f},  {2.0f, 0.0f},   {1e6f + 0.5f, 0.5f}};
    for (const auto& c : cases)
        EXPECT_EQ(SpringModelA::fold(c.in), c.out) << c.in;
    // A loop of reflections would never end for these.
    for (float hostile : {1e30f, -1e30f, FLT_MAX, -FLT_MAX})
    {
        const float folded = SpringModelA::fold(hostile);
        EXPECT_TRUE(folded >= -1.0f && folded <= 1.0f) << hostile;
    }
    EXPECT_EQ(SpringModelA::fold(INFINITY), 0.0f);
    EXPECT_EQ(SpringModelA::fold(-INFINITY), 0.0f);
    EXPECT_EQ(SpringModelA::fold(NAN), 0.0f);
}

TEST(SpringModelAGate, AClosedGateGivesExactZerosAndKeepsTheInputOutOfTheTanks)
{
    // Two models closed from their initial state, one fed noise and one silence, then opened on silence.
    SpringModelARig fed(48000.0f, 70.0f, 8.0f), silent(48000.0f, 70.0f, 8.0f);
    for (SpringModelARig* rig : {&fed, &silent})
    {
        rig->model().state.I = 4.0f;
        rig->model().state.H = 5.0f;
        rig->model().controls.gen01Gate = 0.0f;
    }
    const StereoSignal closed = fed.render(0.5, Noise());
    silent.render(0.5, [](size_t, float& l, float& r) { l = r = 0.0f; });
    for (size_t i = 0; i < closed.left.size(); ++i)
    {
        ASSERT_EQ(closed.left[i], 0.0f) << i;
        ASSERT_EQ(closed.right[i], 0.0f) << i;
    }
    EXPECT_EQ(fed.model().state.I, 0.0f) << "the loop feedback is 0 while closed";
    EXPECT_EQ(fed.model().state.H, 0.0f);

    fed.model().controls.gen01Gate = silent.model().controls.gen01Gate = 1.0f;
    auto quiet = [](size_t, float& l, float& r) { l = r = 0.0f; };
    const StereoSignal fedAfter = fed.render(0.5, quiet);
    const StereoSignal silentAfter = silent.render(0.5, quiet);
    EXPECT_EQ(fedAfter.left, silentAfter.left) << "nothing of the input stayed in the model";
    EXPECT_EQ(fedAfter.right, silentAfter.right);
}

// The share of the response's energy that comes after its first half second grows with SpringDecay
// (a slower decay) at every rate, also where the decay frequencies pass a quarter of the rate (below
// 36 kHz); each channel rings on its own.
TEST(SpringModelAImpulse, RingsLongerAsSpringDecayRisesAtEveryRate)
{
    for (float rate : supportedRates)
    {
        double previous = -INFINITY;
        for (float decay : {0.0f, 50.0f, 100.0f})
        {
            SpringModelARig rig(rate, decay, 8.0f);
            const StereoSignal ir = rig.impulseResponse(4.0);
            const double late = energyAfterDb(ir.left, rate, 0.5);
            RecordProperty(describe(rate, decay, 8.0f) + ": energy after 0.5 s (dB)", std::to_string(late));
            EXPECT_GT(late, previous + 1.0) << describe(rate, decay, 8.0f);
            EXPECT_GT(late, -50.0) << describe(rate, decay, 8.0f) << ": it rings";
            EXPECT_EQ(peakMagnitude(ir.right), 0.0) << "the left input never reaches the right output";
            previous = late;
        }
    }
}

// The first echo after the direct sound comes from the shortest diffusion tap (124 × the spread, in
// samples) or from the tank (its length), whichever is sooner: both grow with SpringSize.
TEST(SpringModelAImpulse, EchoesSpreadApartAsSpringSizeRisesAtEveryRate)
{
    for (float rate : supportedRates)
    {
        double previous = 0.0;
        for (float size : {4.0f, 8.0f, 12.0f})
        {
            SpringModelARig rig(rate, 50.0f, size);
            const StereoSignal ir = rig.impulseResponse(0.3, true);
            const double first = firstArrivalSeconds(ir.right, rate, 0.004);
            const double tap = 124.0 * rig.model().controls.gen01Spread / rate;
            const double tank = rig.model().controls.gen01Length / rate;
            EXPECT_NEAR(first, std::min(tap, tank), 0.001) << describe(rate, 50.0f, size);
            EXPECT_GT(first, previous) << describe(rate, 50.0f, size);
            EXPECT_EQ(peakMagnitude(ir.left), 0.0) << "the right input never reaches the left output";
            previous = first;
        }
    }
}

TEST(SpringModelAImpulse, StaysFiniteAndBoundedAtTheEndsOfEveryRangeAtEveryRate)
{
    for (float rate : supportedRates)
        for (float decay : {0.0f, 100.0f})
            for (float size : {4.0f, 12.0f})
            {
                SpringModelARig rig(rate, decay, size);
                const StereoSignal out = rig.render(2.0, Noise());
                ASSERT_TRUE(allFinite(out.left) && allFinite(out.right)) << describe(rate, decay, size);
                EXPECT_LT(peakMagnitude(out.left), 16.0) << describe(rate, decay, size);
                EXPECT_LT(peakMagnitude(out.right), 16.0) << describe(rate, decay, size);
            }
}

// With its slides at their targets the model runs a block in steady stretches between the samples
// where a read's slots wrap round; the first block after its lines were emptied forms every read
// afresh at every sample instead. Both give the same samples, through several wraps of the long lines,
// while the diffusion slide moves and after it has arrived.
// The last cases set the controls beyond what the router writes: short reads with fractions, long
// reads far enough back that their read points cross powers of two between the wraps, and reads so
// recent that a stretch must end before it reads what it wrote.
TEST(SpringModelASteady, StretchesRenderAsReadsFormedAtEverySampleDo)
{
    constexpr size_t total = 3 * 65536;
    const struct
    {
        float rate, size, length, spread; // length and spread 0: as the router sets them
    } cases[] = {{44100.0f, 4.0f, 0.0f, 0.0f},
                 {192000.0f, 12.0f, 0.0f, 0.0f},
                 {48000.0f, 8.0f, 300.3f, 100.3f},
                 {48000.0f, 8.0f, 20.5f, 0.1f}};
    for (const auto& c : cases)
    {
        const std::string name = describe(c.rate, 60.0f, c.size) + ", length " + std::to_string(c.length);
        SpringModelARig oneBlock(c.rate, 60.0f, c.size), blocks(c.rate, 60.0f, c.size);
        for (SpringModelARig* rig : {&oneBlock, &blocks})
        {
            SpringModelA& model = rig->model();
            if (c.length > 0.0f)
            {
                model.controls.gen01Length = model.state.Y = c.length;
                model.controls.gen01Spread = model.state.B = c.spread;
            }
            model.state.W = model.controls.gen01Diffusion - 0.1f; // the diffusion slide arrives on the way
            for (SpringModelA::DelayLine& line : model.delayLines)
                line.writePosition = line.readPosition; // no write yet since they were emptied
        }
        std::vector<float> inL(total), inR(total);
        Noise noise;
        for (size_t i = 0; i < total; ++i)
            noise(i, inL[i], inR[i]);

        StereoSignal expected{std::vector<float>(total), std::vector<float>(total)};
        SpringModelA& model = oneBlock.model();
        model.gen01Perform(inL.data(), inR.data(), model.controls, c.rate, expected.left.data(),
                           expected.right.data(), static_cast<Index>(total));
        StereoSignal out{std::vector<float>(total), std::vector<float>(total)};
        for (size_t done = 0; done < total; done += blockSize)
            blocks.model().gen01Perform(inL.data() + done, inR.data() + done, blocks.model().controls, c.rate,
                                        out.left.data() + done, out.right.data() + done, blockSize);

        ASSERT_GT(peakMagnitude(expected.left), 0.1) << name;
        for (size_t i = 0; i < total; ++i)
        {
            ASSERT_EQ(out.left[i], expected.left[i]) << name << ", sample " << i;
            ASSERT_EQ(out.right[i], expected.right[i]) << name << ", sample " << i;
        }
    }
}

TEST(SpringModelAHostile, AnOverflowingBurstIsSilencedAndTheModelRingsAgainAfterIt)
{
    SpringModelARig rig(48000.0f, 100.0f, 12.0f);
    const StereoSignal burst = rig.render(0.2, [](size_t i, float& l, float& r) { l = r = (i % 2 != 0 ? 1.0f : -1.0f) * FLT_MAX; });
    EXPECT_TRUE(allFinite(std::vector<float>(burst.left.end() - blockSize, burst.left.end())))
        << "the block in which the overflow showed is silenced";
    const StereoSignal after = rig.render(1.0, Noise());
    ASSERT_TRUE(allFinite(after.left) && allFinite(after.right));
    EXPECT_GT(peakMagnitude(after.left), 0.1) << "it rings again";
    EXPECT_GT(peakMagnitude(after.right), 0.1);
}

TEST(SpringModelAHostile, ANonFiniteControlHoldsTheModelSilentUntilItIsSaneAgain)
{
    SpringModelARig rig(48000.0f, 50.0f, 8.0f);
    rig.render(0.2, Noise());
    const SpringModelA::Controls sane = rig.model().controls;
    rig.model().controls.gen01Spread = NAN;
    const StereoSignal held = rig.render(0.1, Noise());
    EXPECT_EQ(peakMagnitude(held.left), 0.0);
    EXPECT_TRUE(std::isfinite(rig.model().state.B));
    rig.model().controls = sane;
    const StereoSignal after = rig.render(0.5, Noise());
    ASSERT_TRUE(allFinite(after.left) && allFinite(after.right));
    EXPECT_GT(peakMagnitude(after.left), 0.1);
}
