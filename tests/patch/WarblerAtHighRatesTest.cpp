// The warbler's slowest filters at every sample rate a host may run: corners of a few hertz sit so
// close to the unit circle at 176.4 and 192 kHz that single-precision sections either block
// everything or grow without bound, and a warbler whose modulation has run off to NaN never warbles
// again.
#include "patch/core/ButterworthCascade.h"
#include "patch/core/QuillmoreModules.h"
#include "patch/heads/DamageCrinkle.h"
#include "patch/heads/StDrift.h"

#include "tests/patch/CountingInput.h"
#include "tests/patch/ModuleTestRoot.h"
#include "tests/patch/PatchEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

using namespace PRT;
using namespace PRT::test;

namespace
{
constexpr float kRates[] = {22050.0f, 44100.0f, 96000.0f, 176400.0f, 192000.0f};

// Peak of the last second of a cascade fed `seconds` of the signal.
template <typename Signal>
double lastSecondPeak(dsp::FilterMode mode, float cutoff, float rate, double seconds, Signal signal)
{
    dsp::ButterworthCascade cascade(mode);
    cascade.prepare(rate);
    std::vector<float> block(static_cast<size_t>(rate * seconds));
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = signal(i);
    for (size_t start = 0; start < block.size(); start += 256) // as the warbler runs it, block by block
        cascade.process(block.data() + start, static_cast<Index>(std::min<size_t>(256, block.size() - start)), cutoff);
    double peak = 0.0;
    for (size_t i = block.size() - static_cast<size_t>(rate); i < block.size(); ++i)
        peak = std::isfinite(block[i]) ? std::max(peak, std::fabs(static_cast<double>(block[i]))) : INFINITY;
    return peak;
}
} // namespace

TEST(WarblerFiltersAtEveryRate, FewHertzCornersPassHalfThePowerAtTheCornerAndStayBoundedOnNoise)
{
    struct Row
    {
        dsp::FilterMode mode;
        float cutoff;
    };
    // The wander high-pass (2 to 5 Hz), the wander low-pass (5 to 80 Hz) and the flutter band.
    const Row rows[] = {{dsp::HighPass, 2.0f}, {dsp::HighPass, 5.0f}, {dsp::LowPass, 5.0f},
                        {dsp::LowPass, 80.0f}, {dsp::LowPass, 25.0f}, {dsp::HighPass, 35.0f}};
    for (const float rate : kRates)
        for (const Row& row : rows)
        {
            const char* kind = row.mode == dsp::LowPass ? "low-pass" : "high-pass";
            const double corner = lastSecondPeak(row.mode, row.cutoff, rate, 4.0, [&](size_t i) {
                return static_cast<float>(std::sin(6.283185307179586 * row.cutoff * static_cast<double>(i) / rate));
            });
            EXPECT_NEAR(20.0 * std::log10(corner), -3.01, 0.3) << kind << " at " << row.cutoff << " Hz, " << rate << " Hz";

            std::mt19937 random(7);
            std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
            const double peak = lastSecondPeak(row.mode, row.cutoff, rate, 10.0, [&](size_t) { return noise(random); });
            EXPECT_LT(peak, 4.0) << kind << " at " << row.cutoff << " Hz, " << rate << " Hz, on noise";
        }
}

// Full instability and master warble: the delay the tape is read at (a ramp in, so that the output
// at sample i is i minus the delay) glides without a jump and is still wandering after 12 s at every
// rate; a modulation that has run off to NaN leaves it standing at one sample for good.
TEST(WarblerFiltersAtEveryRate, FullInstabilityKeepsTheTapeWanderingSmoothly)
{
    for (const float rate : kRates)
    {
        PatchEngine patch;
        auto& root = patch.install(new ModuleTestRoot<Quillmore::PRTSubpatcher_54>());
        auto* warbler = root.module;
        constexpr Index n = 256;
        patch.prepare(rate, n);
        patch.processBlocks(1);
        warbler->updateTime(patch.engine.getCurrentTime());
        warbler->setInstabilityInput(100.0f);
        warbler->setMasterInput(100.0f);

        double counter = 1.0, previous = 0.0, lowest = 1e9, highest = -1e9, largestStep = 0.0;
        const auto rateInSamples = static_cast<long>(rate);
        const auto total = rateInSamples * 12;
        for (long done = 0; done < total; done += n)
        {
            processCountingBlock(patch, counter);
            for (Index i = 0; i < n; ++i)
            {
                const double delay = leftDelayRead(patch, i);
                if (done >= rateInSamples * 2) // the depths and the centre have glided in
                    largestStep = std::max(largestStep, std::fabs(delay - previous));
                if (done >= total - rateInSamples * 2)
                {
                    lowest = std::min(lowest, delay);
                    highest = std::max(highest, delay);
                }
                previous = delay;
            }
        }
        EXPECT_LT(largestStep, 1.0) << rate << " Hz: the delay glides, it never jumps";
        EXPECT_GT(highest - lowest, 2.0) << rate << " Hz: the instability still moves the tape in the last 2 s";
    }
}
