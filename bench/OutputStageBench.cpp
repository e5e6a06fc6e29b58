// Cost of the output stage per engine block of 128 stereo samples: the output amplifier (one power
// function and four arctangents per sample) and the start-up ramp module once its ramp has settled.
#include "patch/core/FixStartupBurp.h"
#include "patch/core/OutputAmp.h"
#include "runtime/EngineCore.h"

#include "bench/PerSample.h"
#include "tests/patch/ModuleTestRoot.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace PRT;

namespace
{
constexpr Index kBlock = 128;

template <typename Module, typename SetUp>
void runBlocks(benchmark::State& state, int warmUpBlocks, SetUp setUp)
{
    EngineCore engine;
    auto* host = new test::ModuleTestRoot<Module>();
    engine.setPatcher(PatcherPtr(host));
    setUp(*host->module);
    engine.prepareToProcess(48000.0f, kBlock, false);
    std::vector<float> left(kBlock), right(kBlock), outLeft(kBlock), outRight(kBlock);
    for (Index i = 0; i < kBlock; ++i)
    {
        left[i] = 0.9f * static_cast<float>(i) / kBlock - 0.45f;
        right[i] = -left[i];
    }
    const SampleValue* inputs[] = {left.data(), right.data()};
    SampleValue* outputs[] = {outLeft.data(), outRight.data()};
    for (int i = 0; i < warmUpBlocks; ++i)
        engine.process(inputs, 2, outputs, 2, kBlock, nullptr, nullptr);

    for (auto _ : state)
    {
        engine.process(inputs, 2, outputs, 2, kBlock, nullptr, nullptr);
        benchmark::DoNotOptimize(outLeft.data());
        benchmark::DoNotOptimize(outRight.data());
    }
    reportPerSample(state, kBlock);
}

void outputAmpBlock(benchmark::State& state)
{
    runBlocks<Quillmore::PRTSubpatcher_39>(state, 10, [](Quillmore::PRTSubpatcher_39& amp) {
        amp.setSaturationInput(50.0f);
        amp.setOutputLevelInput(100.0f);
    });
}
BENCHMARK(outputAmpBlock);

void startupRampBlock(benchmark::State& state)
{
    runBlocks<Quillmore::PRTSubpatcher_56>(state, 200, [](Quillmore::PRTSubpatcher_56&) {}); // past the fade
}
BENCHMARK(startupRampBlock);
} // namespace
