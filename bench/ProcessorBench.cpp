// Renders through the plug-in's processor at 48 kHz stereo in 256-sample blocks and reports how many
// seconds of audio one CPU second renders (realtime_factor) and the share of one core that real-time
// playback takes (cpu_percent = 100 / realtime_factor): noise at the default settings, with every
// module at work (both springs, the echo with feedback and its filter's LFO, full warble, hiss and
// dropouts), and with echo and springs in the mix for noise, for noise below the smallest normal float
// and for silence a minute after a loud burst (the last two keep the patch's numbers in the denormal
// range, which costs a processor that does not flush them many times the time per block). CPU time is
// the process's (std::clock), so any thread the processor might use counts too. ProcessorMemory
// reports the heap that one instance takes once prepared, at 48 and 192 kHz.
#include "plugin/QuillmoreAudioProcessor.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <ctime>
#include <memory>
#include <utility>

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

template <size_t n>
void set(QuillmoreAudioProcessor& processor, const std::pair<const char*, float> (&settings)[n])
{
    for (const auto& [id, value] : settings)
    {
        auto* parameter = processor.apvts.getParameter(id);
        parameter->setValueNotifyingHost(parameter->convertTo0to1(value));
    }
}

// Echo and springs fully in the mix with tails that decay by some 24 dB a second, so that a minute
// after the input stops they are deep in the denormal range (below 1e-38, some 760 dB down).
void setTails(QuillmoreAudioProcessor& processor)
{
    const std::pair<const char*, float> settings[] = { { "EchoMix", 100.0f },   { "EchoFdbck", 50.0f },
                                                       { "SpringMix", 100.0f }, { "SpringDecay", 70.0f },
                                                       { "EchoToSpring", 100.0f } };
    set(processor, settings);
}

// Every module at work: both spring models, the echo with feedback and its filter swept by the LFO,
// every warble source at full, hiss and dropouts.
void setEverythingOn(QuillmoreAudioProcessor& processor)
{
    const std::pair<const char*, float> settings[] = {
        { "HeadsOn", 1.0f },    { "SpaceOn", 1.0f },      { "EchoMix", 50.0f },          { "EchoFdbck", 90.0f },
        { "EchoFilterLFOAmount", 60.0f }, { "EchoFilterLFOSpeed", 0.5f }, { "SpringMix", 60.0f },
        { "SpringAB", 50.0f },  { "EchoToSpring", 50.0f }, { "MstrWarble", 100.0f },     { "Wow", 100.0f },
        { "Flutter", 100.0f },  { "StDrift", 100.0f },    { "Instability", 100.0f },     { "Blips", 100.0f },
        { "NoiseAmnt", 50.0f }, { "Degrade", 100.0f },    { "Saturate", 50.0f } };
    set(processor, settings);
}

enum class Scenario
{
    defaults,        // noise at the default settings
    everythingOn,    // noise with every module at work
    tails,           // noise with the echo and springs in the mix
    denormalInput,   // the same, fed noise far below the smallest normal float
    silentTail       // the same, fed silence long after a loud burst: tails deep in the denormal range
};

// Renders through the processor in a loop and reports how many seconds of audio one CPU second
// renders. The denormal scenarios must cost about what the tails scenario costs: a processor that let
// denormal numbers through would take many times longer per block.
void render(benchmark::State& state, Scenario scenario)
{
    QuillmoreAudioProcessor processor;
    processor.setPlayConfigDetails(channels, channels, sampleRate, blockSize);
    processor.prepareToPlay(sampleRate, blockSize);
    if (scenario == Scenario::everythingOn)
        setEverythingOn(processor);
    else if (scenario != Scenario::defaults)
        setTails(processor);

    // One second of input, played in a loop.
    auto source = noise(static_cast<int>(sampleRate) / blockSize * blockSize);
    juce::AudioBuffer<float> block(channels, blockSize);
    juce::MidiBuffer midi;
    int position = 0;
    auto play = [&] {
        for (int channel = 0; channel < channels; ++channel)
            block.copyFrom(channel, 0, source, channel, position, blockSize);
        position = (position + blockSize) % source.getNumSamples();
        processor.processBlock(block, midi);
    };

    if (scenario == Scenario::denormalInput)
        source.applyGain(1.0e-39f);
    if (scenario == Scenario::silentTail)
    {
        // A second of loud noise, then a minute of silence while the tails decay, not timed.
        for (int i = 0; i < source.getNumSamples() / blockSize; ++i)
            play();
        source.clear();
        for (int i = 0; i < 60 * static_cast<int>(sampleRate) / blockSize; ++i)
            play();
    }

    const std::clock_t cpuStart = std::clock();
    for (auto _ : state)
    {
        play();
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

void ProcessorRender48kStereo256(benchmark::State& state)
{
    render(state, Scenario::defaults);
}
BENCHMARK(ProcessorRender48kStereo256)->MeasureProcessCPUTime()->MinTime(2.0)->Unit(benchmark::kMicrosecond);

void ProcessorEverythingOn48kStereo256(benchmark::State& state)
{
    render(state, Scenario::everythingOn);
}
BENCHMARK(ProcessorEverythingOn48kStereo256)->MeasureProcessCPUTime()->MinTime(2.0)->Unit(benchmark::kMicrosecond);

void ProcessorTails(benchmark::State& state)
{
    render(state, Scenario::tails);
}
BENCHMARK(ProcessorTails)->MeasureProcessCPUTime()->MinTime(2.0)->Unit(benchmark::kMicrosecond);

void ProcessorDenormalInput(benchmark::State& state)
{
    render(state, Scenario::denormalInput);
}
BENCHMARK(ProcessorDenormalInput)->MeasureProcessCPUTime()->MinTime(2.0)->Unit(benchmark::kMicrosecond);

void ProcessorSilentTail(benchmark::State& state)
{
    render(state, Scenario::silentTail);
}
BENCHMARK(ProcessorSilentTail)->MeasureProcessCPUTime()->MinTime(2.0)->Unit(benchmark::kMicrosecond);
// The heap in use, mapped blocks included.
size_t heapInUse()
{
    const auto info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// The heap one instance takes, constructed and prepared for 256-sample blocks at the rate given in
// Hz, in MiB; the first instance made before it has set up what all instances share.
void ProcessorMemory(benchmark::State& state)
{
    const auto rate = static_cast<double>(state.range(0));
    std::make_unique<QuillmoreAudioProcessor>().reset();
    double mebibytes = 0.0;
    for (auto _ : state)
    {
        const size_t before = heapInUse();
        auto processor = std::make_unique<QuillmoreAudioProcessor>();
        processor->setPlayConfigDetails(channels, channels, rate, blockSize);
        processor->prepareToPlay(rate, blockSize);
        mebibytes = static_cast<double>(heapInUse() - before) / (1024.0 * 1024.0);
    }
    state.counters["memory_mb"] = mebibytes;
}
BENCHMARK(ProcessorMemory)->Arg(48000)->Arg(192000)->Iterations(1)->Unit(benchmark::kMillisecond);
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
