// Cost of the warbler per stereo sample at 48 kHz in blocks of 128: with every warble amount at full
// (wow, flutter, stereo drift, instability, blips, master), and at the host's defaults (no warble).
#include "patch/core/QuillmoreModules.h"
#include "runtime/EngineCore.h"

#include "tests/patch/ModuleTestRoot.h"

#include "PerSample.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

using namespace PRT;

namespace
{
constexpr Index kBlock = 128;
using Warbler = Quillmore::PRTSubpatcher_54;

void renderWarbler(benchmark::State& state, bool allOn)
{
    EngineCore engine;
    // The warbler alone, started as the top level starts it; its extra ports read zeros.
    auto* root = new test::ModuleTestRoot<Warbler>();
    engine.setPatcher(PatcherPtr(root));
    engine.prepareToProcess(48000.0f, kBlock, false);
    std::vector<float> left(kBlock), right(kBlock), outLeft(kBlock), outRight(kBlock);
    const SampleValue* inputs[] = {left.data(), right.data()};
    SampleValue* outputs[] = {outLeft.data(), outRight.data()};
    engine.process(inputs, 2, outputs, 2, kBlock, nullptr, nullptr);
    Warbler& w = *root->module;
    w.number_obj_19.setNumberValue(allOn ? 5.0f : 1.2f);
    if (allOn)
    {
        w.setInstabilityInput(100.0f);
        w.setDriftInput(100.0f);
        w.setFlutterInput(100.0f);
        w.setWowInput(100.0f);
        w.setMasterInput(100.0f);
        w.setBlipsInput(100.0f);
    }
    // A 375 Hz sine, whole periods per block.
    for (Index i = 0; i < kBlock; ++i)
        left[i] = right[i] = static_cast<float>(0.5 * std::sin(6.283185307179586 * i / kBlock));
    for (auto _ : state)
    {
        engine.process(inputs, 2, outputs, 2, kBlock, nullptr, nullptr);
        benchmark::DoNotOptimize(outLeft.data());
    }
    reportPerSample(state, kBlock);
}

void warblerAllOn(benchmark::State& state)
{
    renderWarbler(state, true);
}
void warblerDefaults(benchmark::State& state)
{
    renderWarbler(state, false);
}
} // namespace

BENCHMARK(warblerAllOn);
BENCHMARK(warblerDefaults);
