// Cost of the shared module machinery: the process frame of a module with two signal monitors and a
// scope (per block of 128 samples), and one message dispatched through a parent to a nested object.
#include "patch/core/ClockIds.h"
#include "patch/core/GeneratedPatcher.h"
#include "patch/core/MessageTags.h"
#include "patch/core/NumberBox.h"
#include "patch/core/SignalMonitor.h"
#include "patch/core/SignalScope.h"
#include "runtime/EngineCore.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace PRT;

namespace
{
constexpr Index kBlock = 128;
constexpr HashedText kNumberPath{"Outer/Inner/number_obj-1"};

class Inner final : public GeneratedPatcher
{
public:
    Inner() : GeneratedPatcher({"Inner", 1, 1}) { number.setUp(NumberBox::floatFormat); }

    NumberBox number{*this, kNumberPath};
    SignalMonitor drive{*this, HashedText("Outer/Inner/number~_obj-2"), clocks::monitorA};
    SignalMonitor level{*this, HashedText("Outer/Inner/number~_obj-3"), clocks::monitorB};
    SignalScope scope{*this, HashedText("Outer/Inner/scope~_obj-4")};
    SignalBuffer scratch{*this};

private:
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override
    {
        for (Index i = 0; i < n; ++i)
            outputs[0][i] = inputs[0][i] * 0.5f;
        drive.process(inputs[0], getDummyBuffer(), n);
        level.process(outputs[0], scratch.get(), n);
        scope.process(inputs[0], n);
    }
};

class Outer final : public GeneratedPatcher
{
public:
    Outer() : GeneratedPatcher({"Outer", 1, 1}, 0) {}
    Inner* inner = nullptr;

private:
    void createChildren() override { inner = createChild<Inner>(); }
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override
    {
        inner->process(inputs, 1, outputs, 1, n);
    }
};

struct Rig
{
    Rig()
    {
        engine.setPatcher(PatcherPtr(outer));
        engine.prepareToProcess(48000.0f, kBlock, false);
    }
    EngineCore engine;
    Outer* outer = new Outer();
};

void moduleProcessFrame(benchmark::State& state)
{
    Rig rig;
    std::vector<float> in(kBlock), out(kBlock);
    const SampleValue* inputs[] = {in.data()};
    SampleValue* outputs[] = {out.data()};
    float value = 0.0f;
    for (auto _ : state)
    {
        value += 0.001f; // a changing first sample: the monitors report whenever their interval allows
        std::fill(in.begin(), in.end(), value);
        rig.engine.process(inputs, 1, outputs, 1, kBlock, nullptr, nullptr);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["per_block"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(moduleProcessFrame);

void nestedMessageDispatch(benchmark::State& state)
{
    Rig rig;
    float value = 0.0f;
    for (auto _ : state)
    {
        rig.outer->processNumMessage(tags::valin.hash, kNumberPath.hash, 0.0, value);
        value += 1.0f;
    }
    benchmark::DoNotOptimize(rig.outer->inner->number.getValue());
}
BENCHMARK(nestedMessageDispatch);
} // namespace
