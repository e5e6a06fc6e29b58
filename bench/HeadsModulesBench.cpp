// Cost per stereo sample at 48 kHz in blocks of 128 of the Heads modules after the warbler: the tape
// stopper with the tape running and while it stops and starts over and over, the input filter
// (gliding and settled), the dropouts at Degrade 0 and 100 (their two random generators included),
// one dropout generator by itself, and the instability source; with denormals flushed, as the
// processor runs them.
#include "patch/heads/Dropouts.h"
#include "patch/heads/InputFilter.h"
#include "patch/heads/Instability.h"
#include "patch/heads/TapeStopper.h"
#include "runtime/EngineCore.h"

#include "bench/PerSample.h"
#include "tests/patch/ModuleTestRoot.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

using namespace PRT;

namespace
{
constexpr Index kBlock = 128;

// Renders the module on a 375 Hz sine; perBlock(module) runs before every block.
template <typename Module, typename SetUp, typename PerBlock>
void renderModule(benchmark::State& state, SetUp setUp, PerBlock perBlock)
{
    const DenormalsOff denormalsOff;
    EngineCore engine;
    auto* root = new test::ModuleTestRoot<Module>();
    engine.setPatcher(PatcherPtr(root));
    engine.prepareToProcess(48000.0f, kBlock, false);
    std::vector<float> left(kBlock), right(kBlock), outLeft(kBlock), outRight(kBlock);
    for (Index i = 0; i < kBlock; ++i)
        left[i] = right[i] = static_cast<float>(0.5 * std::sin(6.283185307179586 * i / kBlock));
    const SampleValue* inputs[] = {left.data(), right.data()};
    SampleValue* outputs[] = {outLeft.data(), outRight.data()};
    setUp(*root->module);
    for (int i = 0; i < 400; ++i) // past the first levels and the slides
        engine.process(inputs, 2, outputs, 2, kBlock, nullptr, nullptr);
    for (auto _ : state)
    {
        perBlock(*root->module);
        engine.process(inputs, 2, outputs, 2, kBlock, nullptr, nullptr);
        benchmark::DoNotOptimize(outLeft.data());
        benchmark::DoNotOptimize(outRight.data());
    }
    reportPerSample(state, kBlock);
}

using InputFilter = Quillmore::PRTSubpatcher_51;
using TapeStopper = Quillmore::PRTSubpatcher_53;

void tapeStopperRunning(benchmark::State& state)
{
    renderModule<TapeStopper>(
        state,
        [](TapeStopper& s) {
            s.setInertiaInput(1500.0f);
            s.toggle_obj_136.setToggleValue(0.0f);
        },
        [](TapeStopper&) {});
}
BENCHMARK(tapeStopperRunning);

void tapeStopperStoppingAndStarting(benchmark::State& state)
{
    // A stop or a start every half second (188 blocks): the ramps and their trigonometry always run.
    int blocks = 0;
    renderModule<TapeStopper>(
        state, [](TapeStopper& s) { s.setInertiaInput(500.0f); },
        [&blocks](TapeStopper& s) {
            if (blocks++ % 188 == 0)
            {
                s.updateTime(s.getTopLevel().getTime());
                s.toggle_obj_136.setToggleValue(s.toggle_obj_136.getValue() == 0.0f ? 1.0f : 0.0f);
            }
        });
}
BENCHMARK(tapeStopperStoppingAndStarting);
using Dropouts = Quillmore::PRTSubpatcher_50;

void inputFilterSettled(benchmark::State& state)
{
    renderModule<InputFilter>(
        state, [](InputFilter& f) { f.numberTilde_obj_32.setNumberTildeInput(200.0f); }, [](InputFilter&) {});
}
BENCHMARK(inputFilterSettled);

void inputFilterGliding(benchmark::State& state)
{
    // A new cut-off every block: the glide never settles and every block designs anew.
    float hz = 200.0f;
    renderModule<InputFilter>(
        state, [](InputFilter&) {},
        [&hz](InputFilter& f) {
            hz = hz > 10000.0f ? 200.0f : hz * 1.01f;
            f.numberTilde_obj_32.setNumberTildeInput(hz);
        });
}
BENCHMARK(inputFilterGliding);

void dropouts(benchmark::State& state, float degrade)
{
    renderModule<Dropouts>(
        state,
        [degrade](Dropouts& d) {
            d.number_obj_28.setNumberValue(degrade);
            d.setRolloffInput(18000.0f);
        },
        [](Dropouts&) {});
}
void dropoutsAtRest(benchmark::State& state)
{
    dropouts(state, 0.0f);
}
BENCHMARK(dropoutsAtRest);
void dropoutsFullDegrade(benchmark::State& state)
{
    dropouts(state, 100.0f);
}
BENCHMARK(dropoutsFullDegrade);

void dropoutGenerator(benchmark::State& state)
{
    using Generator = Dropouts::PRTSubpatcher_34;
    renderModule<Generator>(state, [](Generator& g) { g.setDegrade(100.0f); }, [](Generator&) {});
}
BENCHMARK(dropoutGenerator);

void instabilitySource(benchmark::State& state)
{
    using Instability = Quillmore::PRTSubpatcher_54::PRTSubpatcher_37::PRTSubpatcher_36;
    renderModule<Instability>(state, [](Instability& s) { s.amountBox.setNumberValue(1.0f); }, [](Instability&) {});
}
BENCHMARK(instabilitySource);
} // namespace
