// Cost per stereo sample of the echo chain at 48 kHz in blocks of 128, each module run on its own
// ports inside the real top level: the tape echo (delay lines, echo filter swept by its LFO,
// feedback amplifier, output limiter), the echo mixer and the echo-to-springs send, and the three
// in a row. The whole chain's budget is 1 % of one core: 208 ns per stereo sample.
#include "patch/core/QuillmoreModules.h"
#include "runtime/EngineCore.h"

#include "bench/PerSample.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

using namespace PRT;

namespace
{
constexpr Index kBlock = 128;

struct EchoRig
{
    explicit EchoRig(bool lfo)
    {
        engine.setPatcher(PatcherPtr(top));
        const std::pair<ParameterIndex, float> settings[] = {
            {params::EchoMix, 50},     {params::EchoFdbck, 95},       {params::EchoTime, 300},
            {params::SendRetMode, 1},  {params::EchoToSpring, 50},    {params::EchoStOffset, 0.3f},
            {params::EchoFilterFreq, 1500}, {params::EchoFilterLFOAmount, lfo ? 60.0f : 0.0f},
            {params::EchoFilterLFOSpeed, 0.7f}};
        for (const auto& [index, value] : settings)
            engine.scheduleEvent(ParameterEvent{index, 0.0, value, nullptr, nullptr});
        engine.prepareToProcess(48000.0f, kBlock, false);
        std::minstd_rand random(3);
        std::uniform_real_distribution<float> uniform(-0.5f, 0.5f);
        for (auto* channel : {&left, &right})
            for (float& x : *channel)
                x = uniform(random);
        const SampleValue* inputs[] = {left.data(), right.data()};
        SampleValue* outputs[] = {outLeft.data(), outRight.data()};
        // Past the echo's fade-in, with the lines full of echoes.
        while (engine.getCurrentTime() < 7000.0)
            engine.process(inputs, 2, outputs, 2, kBlock, nullptr, nullptr);
    }

    void tapeDelay()
    {
        const SampleValue* in[] = {left.data(), right.data()};
        SampleValue* out[] = {echoL.data(), echoR.data()};
        top->tapeDelay->process(in, 2, out, 2, kBlock);
    }
    void mixer()
    {
        const SampleValue* in[] = {left.data(), right.data(), echoL.data(), echoR.data()};
        SampleValue* out[] = {outLeft.data(), outRight.data(), feed.data()};
        top->dryWetDelay->process(in, 4, out, 3, kBlock);
    }
    void send()
    {
        const SampleValue* in[] = {echoL.data(), echoR.data()};
        SampleValue* out[] = {sendL.data(), sendR.data(), feed.data()};
        top->delToSprings->process(in, 2, out, 3, kBlock);
    }

    EngineCore engine;
    Quillmore* top = new Quillmore();
    std::vector<float> left = std::vector<float>(kBlock), right = std::vector<float>(kBlock);
    std::vector<float> echoL = std::vector<float>(kBlock), echoR = std::vector<float>(kBlock);
    std::vector<float> outLeft = std::vector<float>(kBlock), outRight = std::vector<float>(kBlock);
    std::vector<float> sendL = std::vector<float>(kBlock), sendR = std::vector<float>(kBlock);
    std::vector<float> feed = std::vector<float>(kBlock);
};

void TapeDelay_process(benchmark::State& state)
{
    EchoRig rig(state.range(0) != 0);
    for (auto _ : state)
    {
        rig.tapeDelay();
        benchmark::DoNotOptimize(rig.echoL.data());
    }
    reportPerSample(state, kBlock);
}
BENCHMARK(TapeDelay_process)->ArgName("lfo")->Arg(0)->Arg(1);

void DryWetDelay_process(benchmark::State& state)
{
    EchoRig rig(true);
    for (auto _ : state)
    {
        rig.mixer();
        benchmark::DoNotOptimize(rig.outLeft.data());
    }
    reportPerSample(state, kBlock);
}
BENCHMARK(DryWetDelay_process);

void DelToSprings_process(benchmark::State& state)
{
    EchoRig rig(true);
    for (auto _ : state)
    {
        rig.send();
        benchmark::DoNotOptimize(rig.sendL.data());
    }
    reportPerSample(state, kBlock);
}
BENCHMARK(DelToSprings_process);

void EchoChain_process(benchmark::State& state)
{
    EchoRig rig(true);
    for (auto _ : state)
    {
        rig.tapeDelay();
        rig.mixer();
        rig.send();
        benchmark::DoNotOptimize(rig.sendL.data());
    }
    reportPerSample(state, kBlock);
}
BENCHMARK(EchoChain_process);
} // namespace
