// Per-sample cost of the springs: spring model A (the top level's perform routine on its fourteen
// lines), the springs high-pass, spring model B and the springs mixer, each on a stereo noise block of
// 128 samples at 48 kHz with the start-up ramp open and the default spring settings. Both models also
// while their size glides (a new SpringSize every block), their dearest case. The whole chain in one
// run also reports its share of one core for 48 kHz stereo in real time ("core_percent", which the
// library prints with its unit of seconds: 0.35s is 0.35 %).
#include "patch/core/Quillmore.h"
#include "patch/space/DryWetSprings.h"
#include "patch/space/SpringsB.h"
#include "patch/space/SpringsHighPass.h"

#include "bench/PerSample.h"
#include "bench/TopLevelRig.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace PRT;

namespace
{
constexpr Index kBlock = kTopLevelBlock;

struct SpringsRig : TopLevelRig
{
    SpringsRig() : TopLevelRig({{params::SpringMix, 50.0f}}, 600.0) {}
};

void SpringModelA_perform(benchmark::State& state)
{
    SpringsRig rig;
    for (auto _ : state)
    {
        rig.top->gen01.gen01Perform(rig.left.data(), rig.right.data(), rig.top->gen01.controls, 48000.0f,
                                    rig.outLeft.data(), rig.outRight.data(), kBlock);
        benchmark::DoNotOptimize(rig.outLeft.data());
    }
    reportPerSample(state, kBlock);
}
BENCHMARK(SpringModelA_perform);

// Its size gliding (SpringSize between its ends every block, as the router writes it), so the tank
// length and tap spread slide at every sample.
void SpringModelA_perform_sizeGliding(benchmark::State& state)
{
    SpringsRig rig;
    SpringModelA::Controls& controls = rig.top->gen01.controls;
    bool large = false;
    for (auto _ : state)
    {
        large = !large;
        controls.gen01Length = (large ? 0.095f : 0.049f) * 48000.0f;
        controls.gen01Spread = large ? 23.0f : 11.0f;
        rig.top->gen01.gen01Perform(rig.left.data(), rig.right.data(), controls, 48000.0f, rig.outLeft.data(),
                                    rig.outRight.data(), kBlock);
        benchmark::DoNotOptimize(rig.outLeft.data());
    }
    reportPerSample(state, kBlock);
}
BENCHMARK(SpringModelA_perform_sizeGliding);

void SpringsHighPass_process(benchmark::State& state)
{
    SpringsRig rig;
    const SampleValue* inputs[] = {rig.left.data(), rig.right.data()};
    SampleValue* outputs[] = {rig.outLeft.data(), rig.outRight.data()};
    for (auto _ : state)
    {
        rig.top->springsHighPass->process(inputs, 2, outputs, 2, kBlock);
        benchmark::DoNotOptimize(rig.outLeft.data());
    }
    reportPerSample(state, kBlock);
}
BENCHMARK(SpringsHighPass_process);

void SpringsB_process(benchmark::State& state)
{
    SpringsRig rig;
    const SampleValue* inputs[] = {rig.left.data(), rig.right.data()};
    SampleValue* outputs[] = {rig.outLeft.data(), rig.outRight.data()};
    for (auto _ : state)
    {
        rig.top->springsB->process(inputs, 2, outputs, 2, kBlock);
        benchmark::DoNotOptimize(rig.outLeft.data());
    }
    reportPerSample(state, kBlock);
}
BENCHMARK(SpringsB_process);

void SpringsB_process_sizeGliding(benchmark::State& state)
{
    SpringsRig rig;
    const SampleValue* inputs[] = {rig.left.data(), rig.right.data()};
    SampleValue* outputs[] = {rig.outLeft.data(), rig.outRight.data()};
    bool large = false;
    for (auto _ : state)
    {
        rig.top->springsB->setSizeInput((large = !large) ? 12.0f : 4.0f);
        rig.top->springsB->process(inputs, 2, outputs, 2, kBlock);
        benchmark::DoNotOptimize(rig.outLeft.data());
    }
    reportPerSample(state, kBlock);
}
BENCHMARK(SpringsB_process_sizeGliding);

void DryWetSprings_process(benchmark::State& state)
{
    SpringsRig rig;
    const SampleValue* inputs[] = {rig.left.data(), rig.right.data(), rig.left.data(),
                                   rig.right.data(), rig.left.data(), rig.right.data()};
    SampleValue* outputs[] = {rig.outLeft.data(), rig.outRight.data()};
    for (auto _ : state)
    {
        rig.top->dryWetSprings->process(inputs, 6, outputs, 2, kBlock);
        benchmark::DoNotOptimize(rig.outLeft.data());
    }
    reportPerSample(state, kBlock);
}
BENCHMARK(DryWetSprings_process);
// The springs as the top level runs them: the high-pass, both models and the mixer.
void SpringsChain_process(benchmark::State& state, bool sizeGliding)
{
    SpringsRig rig;
    std::vector<float> highLeft(kBlock), highRight(kBlock), aLeft(kBlock), aRight(kBlock), bLeft(kBlock), bRight(kBlock);
    const SampleValue* inputs[] = {rig.left.data(), rig.right.data()};
    SampleValue* highPassed[] = {highLeft.data(), highRight.data()};
    const SampleValue* modelInputs[] = {highLeft.data(), highRight.data()};
    SampleValue* modelB[] = {bLeft.data(), bRight.data()};
    const SampleValue* mixerInputs[] = {rig.left.data(), rig.right.data(), aLeft.data(), aRight.data(), bLeft.data(), bRight.data()};
    SampleValue* outputs[] = {rig.outLeft.data(), rig.outRight.data()};
    bool large = false;
    for (auto _ : state)
    {
        if (sizeGliding)
            rig.top->springsB->setSizeInput((large = !large) ? 12.0f : 4.0f);
        rig.top->springsHighPass->process(inputs, 2, highPassed, 2, kBlock);
        rig.top->gen01.gen01Perform(highLeft.data(), highRight.data(), rig.top->gen01.controls, 48000.0f,
                                    aLeft.data(), aRight.data(), kBlock);
        rig.top->springsB->process(modelInputs, 2, modelB, 2, kBlock);
        rig.top->dryWetSprings->process(mixerInputs, 6, outputs, 2, kBlock);
        benchmark::DoNotOptimize(rig.outLeft.data());
    }
    reportPerSample(state, kBlock);
    state.counters["core_percent"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kBlock / (48000.0 * 100.0),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK_CAPTURE(SpringsChain_process, settled, false);
BENCHMARK_CAPTURE(SpringsChain_process, sizeGliding, true);
} // namespace
