// Cost of the echo spectrum analyser per sample at 48 kHz in blocks of 128: the whole module (window,
// the transform every 4096 samples, "binA", the band sweep and its "EchoSpec" messages, handed to a
// registered interface), and the transform alone per frame, beside the plain 4096-point complex
// radix-2 transform that it replaces. The analyser takes one mono signal, the weighted echo of both
// channels, so its figure per sample is its share of a stereo sample.
#include "patch/space/EchoAnalyser.h"
#include "patch/space/FramePowerSpectrum.h"
#include "runtime/EngineCore.h"

#include "tests/patch/ModuleTestRoot.h"
#include "tests/runtime/RecordingInterface.h"

#include "bench/PerSample.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

using namespace PRT;

namespace
{
constexpr Index kBlock = 128;
constexpr size_t kFrame = 4096;

// Takes what the patch sends and lets it go, as a handler that drains at once would.
class DiscardingInterface : public test::RecordingInterface
{
public:
    void queueHandlerEvent(EventVariant&& event) override { benchmark::DoNotOptimize(event); }
    void flushParameterNotifications(MillisecondTime) override {}
};

void echoAnalyser(benchmark::State& state)
{
    EngineCore engine;
    DiscardingInterface sink;
    engine.registerInterface(&sink);
    engine.setPatcher(PatcherPtr(new test::ModuleTestRoot<Quillmore::PRTSubpatcher_55>()));
    engine.prepareToProcess(48000.0f, kBlock, false);
    std::vector<float> left(kBlock), right(kBlock), outLeft(kBlock), outRight(kBlock);
    const SampleValue* inputs[] = {left.data(), right.data()};
    SampleValue* outputs[] = {outLeft.data(), outRight.data()};
    std::minstd_rand random(5);
    std::uniform_real_distribution<float> noise(-0.3f, 0.3f);
    for (float& x : left)
        x = noise(random);
    for (auto _ : state)
        engine.process(inputs, 2, outputs, 2, kBlock, nullptr, nullptr);
    reportPerSample(state, kBlock);
    engine.unregisterInterface(&sink);
}
BENCHMARK(echoAnalyser);

std::vector<float> noiseFrame()
{
    std::minstd_rand random(9);
    std::uniform_real_distribution<float> noise(-0.3f, 0.3f);
    std::vector<float> frame(kFrame);
    for (float& x : frame)
        x = noise(random);
    return frame;
}

void framePowerSpectrum(benchmark::State& state)
{
    dsp::FramePowerSpectrum transform;
    const std::vector<float> frame = noiseFrame();
    std::vector<float> power(kFrame);
    for (auto _ : state)
    {
        transform.compute(frame.data(), power.data());
        benchmark::DoNotOptimize(power.data());
    }
    reportPerSample(state, kFrame);
}
BENCHMARK(framePowerSpectrum);

// The 4096-point transform of the interleaved complex frame (imaginary parts 0), bit reversal by
// swapping, then spans 2 to 4096 with one twiddle table, and the powers of all 4096 bins.
void plainComplexTransform(benchmark::State& state)
{
    std::vector<float> cosTable(kFrame), sinTable(kFrame);
    for (size_t i = 0; i < kFrame; ++i)
    {
        cosTable[i] = static_cast<float>(std::cos(6.283185307179586 * static_cast<double>(i) / kFrame));
        sinTable[i] = static_cast<float>(std::sin(6.283185307179586 * static_cast<double>(i) / kFrame));
    }
    const std::vector<float> input = noiseFrame();
    std::vector<float> data(2 * kFrame), power(kFrame);
    for (auto _ : state)
    {
        for (size_t i = 0; i < kFrame; ++i)
        {
            data[2 * i] = input[i];
            data[2 * i + 1] = 0.0f;
        }
        for (size_t l = 0; l < kFrame; ++l)
        {
            size_t r = 0;
            for (size_t bit = 0; bit < 12; ++bit)
                r |= ((l >> bit) & 1u) << (11 - bit);
            if (r > l)
            {
                std::swap(data[2 * l], data[2 * r]);
                std::swap(data[2 * l + 1], data[2 * r + 1]);
            }
        }
        for (size_t d = 2; d <= kFrame; d *= 2)
        {
            const size_t h = d / 2, step = kFrame / d;
            for (size_t s = 0; s < kFrame; s += d)
                for (size_t j = 0; j < h; ++j)
                {
                    const size_t k = j * step, a = 2 * (s + j), b = 2 * (s + j + h);
                    const float tr = data[b] * cosTable[k] + data[b + 1] * sinTable[k];
                    const float ti = data[b + 1] * cosTable[k] - data[b] * sinTable[k];
                    data[b] = data[a] - tr;
                    data[b + 1] = data[a + 1] - ti;
                    data[a] += tr;
                    data[a + 1] += ti;
                }
        }
        for (size_t k = 0; k < kFrame; ++k)
        {
            const float m = std::sqrt(data[2 * k] * data[2 * k] + data[2 * k + 1] * data[2 * k + 1]);
            power[k] = m * m;
        }
        benchmark::DoNotOptimize(power.data());
    }
    reportPerSample(state, kFrame);
}
BENCHMARK(plainComplexTransform);
} // namespace
