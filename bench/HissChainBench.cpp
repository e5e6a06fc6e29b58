// Cost of the tape hiss chain per stereo sample at 48 kHz in engine blocks of 128: the hiss generator
// (two noise generators and the band-pass), the noise gate, and one noise ducker (the top level runs
// two) below its threshold, ducking under a steady key and ducking under a key that changes every
// sample (a power function per sample).
#include "patch/heads/NoiseDuckerLeft.h"
#include "patch/heads/NoiseGate.h"
#include "patch/heads/NoiseGen.h"
#include "runtime/EngineCore.h"

#include "bench/PerSample.h"
#include "tests/patch/ModuleTestRoot.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

using namespace PRT;

namespace
{
constexpr Index kBlock = 128;

// Runs the module with left = a hiss of 0.1 and right = key(i), i counting the samples from the start.
template <typename Module, typename SetUp, typename Key>
void runBlocks(benchmark::State& state, std::array<int, GeneratedPatcher::maxSignalPorts> route, SetUp setUp, Key key)
{
    EngineCore engine;
    auto* host = new test::ModuleTestRoot<Module>();
    engine.setPatcher(PatcherPtr(host));
    host->inputRoute = route;
    engine.prepareToProcess(48000.0f, kBlock, false);
    setUp(*host->module);
    std::vector<float> left(kBlock, 0.1f), right(kBlock), outLeft(kBlock), outRight(kBlock);
    const SampleValue* inputs[] = {left.data(), right.data()};
    SampleValue* outputs[] = {outLeft.data(), outRight.data()};
    int64_t sample = 0;
    auto block = [&] {
        for (Index i = 0; i < kBlock; ++i)
            right[i] = key(sample++);
        engine.process(inputs, 2, outputs, 2, kBlock, nullptr, nullptr);
    };
    for (int i = 0; i < 500; ++i) // past the gate's fade-in and every ramp
        block();

    for (auto _ : state)
    {
        block();
        benchmark::DoNotOptimize(outLeft.data());
        benchmark::DoNotOptimize(outRight.data());
    }
    reportPerSample(state, kBlock);
}

constexpr std::array<int, GeneratedPatcher::maxSignalPorts> straight{0, 1, -1, -1, -1, -1, -1, -1};
constexpr std::array<int, GeneratedPatcher::maxSignalPorts> gateRoute{0, 0, 1, -1, -1, -1, -1, -1};

float program(int64_t i)
{
    // A changing program at about −10 dB: every sample's level differs.
    uint32_t x = static_cast<uint32_t>(i) * 2654435761u;
    return 0.3f * (static_cast<float>(x >> 8) * (2.0f / 16777216.0f) - 1.0f);
}

void noiseGen(benchmark::State& state)
{
    runBlocks<Quillmore::PRTSubpatcher_40>(
        state, straight,
        [](Quillmore::PRTSubpatcher_40& hiss) {
            hiss.number_obj_46.setNumberValue(0.5f);
            hiss.biquad->setFrequencyInput(15000.0f);
        },
        [](int64_t) { return 0.0f; });
}
BENCHMARK(noiseGen);

void noiseGate(benchmark::State& state)
{
    runBlocks<Quillmore::PRTSubpatcher_42>(
        state, gateRoute, [](Quillmore::PRTSubpatcher_42& gate) { gate.setGateTimeInput(1000.0f); }, program);
}
BENCHMARK(noiseGate);

template <typename Key>
void noiseDucker(benchmark::State& state, float threshold, Key key)
{
    runBlocks<Quillmore::PRTSubpatcher_41>(
        state, straight,
        [threshold](Quillmore::PRTSubpatcher_41& ducker) {
            ducker.compressor->setTimeInput(100.0f);
            ducker.compressor->flonum.setNumberValue(threshold);
        },
        key);
}

void noiseDuckerBelowThreshold(benchmark::State& state)
{
    noiseDucker(state, -5.0f, program);
}
BENCHMARK(noiseDuckerBelowThreshold);

void noiseDuckerSteadyKey(benchmark::State& state)
{
    noiseDucker(state, -40.0f, [](int64_t) { return 0.3f; });
}
BENCHMARK(noiseDuckerSteadyKey);

void noiseDuckerChangingKey(benchmark::State& state)
{
    noiseDucker(state, -40.0f, program);
}
BENCHMARK(noiseDuckerChangingKey);
} // namespace
