// Renders noise through the plug-in's processor at 48 kHz stereo in 256-sample blocks and reports how
// many seconds of audio one CPU second renders (realtime_factor) and the share of one core that real-time
// playback takes (cpu_percent = 100 / realtime_factor). CPU time is the process's (std::clock), so any
// thread the processor might use counts too.
#include "plugin/QuillmoreAudioProcessor.h"

#include <benchmark/benchmark.h>

#include <ctime>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 256;
constexpr int channels = 2;

juce::AudioBuffer<float> noise(int length)
{
    juce::AudioBuffer<float> buffer(channels, length);
    juce::Random random(1);
    for (int channel = 0; channel < channels; ++channel)
        for (int i = 0; i < length; ++i)
            buffer.setSample(channel, i, 0.5f * (2.0f * random.nextFloat() - 1.0f));
    return buffer;
}

void ProcessorRender48kStereo256(benchmark::State& state)
{
    QuillmoreAudioProcessor processor;
    processor.setPlayConfigDetails(channels, channels, sampleRate, blockSize);
    processor.prepareToPlay(sampleRate, blockSize);

    // One second of input, played in a loop.
    const auto source = noise(static_cast<int>(sampleRate) / blockSize * blockSize);
    juce::AudioBuffer<float> block(channels, blockSize);
    juce::MidiBuffer midi;
    int position = 0;

    const std::clock_t cpuStart = std::clock();
    for (auto _ : state)
    {
        for (int channel = 0; channel < channels; ++channel)
            block.copyFrom(channel, 0, source, channel, position, blockSize);
        position = (position + blockSize) % source.getNumSamples();

        processor.processBlock(block, midi);
        benchmark::DoNotOptimize(block.getReadPointer(0));
        benchmark::ClobberMemory();
    }

    const double cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const double audioSeconds = static_cast<double>(state.iterations()) * blockSize / sampleRate;
    if (cpuSeconds > 0.0)
    {
        state.counters["realtime_factor"] = audioSeconds / cpuSeconds;
        state.counters["cpu_percent"] = 100.0 * cpuSeconds / audioSeconds;
    }
    processor.releaseResources();
}
BENCHMARK(ProcessorRender48kStereo256)->MeasureProcessCPUTime()->MinTime(2.0)->Unit(benchmark::kMicrosecond);
} // namespace

int main(int argc, char** argv)
{
    // The processor's parameter state and timers expect JUCE's message manager.
    juce::ScopedJuceInitialiser_GUI juce;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
