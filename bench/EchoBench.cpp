// Cost per stereo sample of the echo chain at 48 kHz in blocks of 128, each module run on its own
// ports inside the real top level: the tape echo (delay lines, echo filter swept by its LFO,
// feedback amplifier, output limiter), the echo mixer and the echo-to-springs send, and the three
// in a row. The whole chain's budget is 1 % of one core: 208 ns per stereo sample.
#include "patch/core/QuillmoreModules.h"

#include "bench/PerSample.h"
#include "bench/TopLevelRig.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace PRT;

namespace
{
constexpr Index kBlock = kTopLevelBlock;

// Past the echo's fade-in, with the lines full of echoes.
struct EchoRig : TopLevelRig
{
    explicit EchoRig(bool lfo)
        : TopLevelRig({{params::EchoMix, 50},
                       {params::EchoFdbck, 95},
                       {params::EchoTime, 300},
                       {params::SendRetMode, 1},
                       {params::EchoToSpring, 50},
                       {params::EchoStOffset, 0.3f},
                       {params::EchoFilterFreq, 1500},
                       {params::EchoFilterLFOAmount, lfo ? 60.0f : 0.0f},
                       {params::EchoFilterLFOSpeed, 0.7f}},
                      7000.0)
    {
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

    std::vector<float> echoL = std::vector<float>(kBlock), echoR = std::vector<float>(kBlock);
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
