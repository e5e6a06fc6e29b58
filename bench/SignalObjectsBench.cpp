// Per-sample cost of the signal objects on the audio path: the coefficient update with the
// direct-form-I section, and the delay-line reads.
#include "patch/core/BiquadState.h"
#include "patch/core/CrossfadedDelay.h"
#include "patch/core/DelayLine.h"
#include "patch/core/FilterCoefficientUpdater.h"
#include "patch/core/FilterMode.h"

#include "bench/PerSample.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

using namespace PRT::dsp;

namespace
{
constexpr int kBlock = 128;

std::vector<float> testSignal()
{
    std::vector<float> signal(kBlock);
    for (int i = 0; i < kBlock; ++i)
        signal[i] = std::sin(0.05f * float(i)) * 0.5f;
    return signal;
}

// One stereo filter as a module runs it: coefficients per sample, two sections on them.
void stereoBiquadWithUpdater(benchmark::State& state)
{
    FilterCoefficientUpdater updater;
    updater.prepare(48000.0f, kBlock, LowPass);
    BiquadState left, right;
    const auto in = testSignal();
    std::vector<float> outL(kBlock), outR(kBlock);
    float frequency = 1000.0f;
    for (auto _ : state)
    {
        frequency = frequency > 8000.0f ? 1000.0f : frequency * 1.01f; // a new design every block
        for (int i = 0; i < kBlock; ++i)
        {
            const auto& c = updater.next(frequency, 0.7f, 1.0f, LowPass);
            outL[i] = left.process(in[i], c);
            outR[i] = right.process(in[i], c);
        }
        benchmark::DoNotOptimize(outL.data());
        benchmark::DoNotOptimize(outR.data());
    }
    reportPerSample(state, kBlock);
}
BENCHMARK(stereoBiquadWithUpdater);

void biquadSection(benchmark::State& state)
{
    BiquadDesigner designer;
    designer.prepare(48000.0f);
    const auto c = designer.computeFilterCoefficients(1000.0f, 0.7f, 1.0f, float(LowPass));
    BiquadState section;
    const auto in = testSignal();
    std::vector<float> out(kBlock);
    for (auto _ : state)
    {
        for (int i = 0; i < kBlock; ++i)
            out[i] = section.process(in[i], c);
        benchmark::DoNotOptimize(out.data());
    }
    reportPerSample(state, kBlock);
}
BENCHMARK(biquadSection);

void designerCall(benchmark::State& state)
{
    BiquadDesigner designer;
    designer.prepare(48000.0f);
    float frequency = 100.0f;
    for (auto _ : state)
    {
        frequency = frequency > 10000.0f ? 100.0f : frequency + 1.0f;
        benchmark::DoNotOptimize(designer.computeFilterCoefficients(frequency, 0.7f, 2.0f, float(HighShelf)));
    }
}
BENCHMARK(designerCall);

// A write and a read per sample on a five-second line at 48 kHz, the delay gliding.
template <bool fourPoint>
void delayLineRead(benchmark::State& state)
{
    DelayLine line;
    line.setMaximumDelay(5.0 * 48000.0);
    std::vector<float> storage(line.requiredCapacity(), 0.0f);
    line.bind({storage.data(), storage.size()});
    const auto in = testSignal();
    std::vector<float> out(kBlock);
    float delay = 12000.25f;
    for (auto _ : state)
    {
        for (int i = 0; i < kBlock; ++i)
        {
            delay += 0.013f;
            out[i] = fourPoint ? line.readFourPoint(delay) : line.readLinear(delay);
            line.write(in[i]);
        }
        if (delay > 200000.0f)
            delay = 12000.25f;
        benchmark::DoNotOptimize(out.data());
    }
    reportPerSample(state, kBlock);
}
BENCHMARK(delayLineRead<false>)->Name("delayLineReadLinear");
BENCHMARK(delayLineRead<true>)->Name("delayLineReadFourPoint");

void crossfadedDelay(benchmark::State& state)
{
    CrossfadedDelay delay(CrossfadedDelay::Interpolation::Linear);
    delay.line().setMaximumDelay(600.0);
    std::vector<float> storage(delay.line().requiredCapacity(), 0.0f);
    delay.line().bind({storage.data(), storage.size()});
    delay.setCrossfade(48000.0f, 50.0f);
    const auto in = testSignal();
    std::vector<float> out(kBlock);
    int blocks = 0;
    for (auto _ : state)
    {
        // A new time every 32 blocks, so most blocks read two taps.
        const float time = (++blocks / 32) % 2 ? 300.0f : 500.0f;
        for (int i = 0; i < kBlock; ++i)
            out[i] = delay.next(time, in[i]);
        benchmark::DoNotOptimize(out.data());
    }
    reportPerSample(state, kBlock);
}
BENCHMARK(crossfadedDelay);
} // namespace
