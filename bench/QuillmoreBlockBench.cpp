// Cost of one engine block of the whole patch at the processor's three engine block sizes, after the
// start-up ramp has opened: the top level's graph with every module (stand-ins where a module's
// signal path is not built yet), through the real engine.
#include "patch/core/Quillmore.h"
#include "runtime/EngineCore.h"

#include "bench/PerSample.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

using namespace PRT;

namespace
{
void QuillmoreBlock(benchmark::State& state)
{
    const auto n = static_cast<Index>(state.range(0));
    EngineCore engine;
    engine.setPatcher(PatcherPtr(new Quillmore()));
    engine.scheduleEvent(ParameterEvent{params::TrueBypass, 0.0, 0.0f, nullptr, nullptr});
    engine.prepareToProcess(48000.0f, n, false);
    std::vector<float> left(n), right(n), outLeft(n), outRight(n);
    for (Index i = 0; i < n; ++i)
    {
        left[i] = 0.5f * std::sin(0.05f * static_cast<float>(i));
        right[i] = -left[i];
    }
    const SampleValue* inputs[] = {left.data(), right.data()};
    SampleValue* outputs[] = {outLeft.data(), outRight.data()};
    while (engine.getCurrentTime() < 600.0)
        engine.process(inputs, 2, outputs, 2, n, nullptr, nullptr);

    for (auto _ : state)
    {
        engine.process(inputs, 2, outputs, 2, n, nullptr, nullptr);
        benchmark::DoNotOptimize(outLeft.data());
    }
    reportPerSample(state, n);
}
} // namespace

BENCHMARK(QuillmoreBlock)->Arg(64)->Arg(128)->Arg(256);
