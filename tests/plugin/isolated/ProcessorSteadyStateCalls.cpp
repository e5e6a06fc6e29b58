// In process, on the processor with its patch (counting heap calls inside a plug-in loaded by a host
// would mean hooking the host's allocator: fragile). Once the first block has run, processBlock and the
// forwarding of parameter changes must neither touch the heap nor take a lock on the audio thread,
// whatever the host throws at it: parameter changes between and ahead of blocks, section switches,
// bypass, host bypass, tempo changes, blocks of every size.
#include "tests/common/AudioThreadCallCounter.h"

#include "plugin/QuillmoreAudioProcessor.h"
#include "tests/plugin/ProcessorPlayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <limits>
#include <cmath>
#include <mutex>
#include <thread>
#include <random>
#include <vector>

namespace
{
// A transport whose tempo the test moves.
class TempoPlayHead : public juce::AudioPlayHead
{
public:
    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo position;
        position.setBpm(bpm);
        position.setIsPlaying(true);
        return position;
    }

    double bpm = 120.0;
};

struct Layout
{
    const char* name;
    juce::AudioChannelSet input, output;
    int maximumBlock;
};

void PrintTo(const Layout& layout, std::ostream* out)
{
    *out << layout.name;
}

class ProcessorSteadyState : public testing::TestWithParam<Layout>
{
protected:
    void SetUp() override
    {
        if (!AudioThreadCallCounter::available)
            GTEST_SKIP() << "a sanitizer replaces the allocation and lock functions in this build";
    }
};
} // namespace

// The counter must see what it is meant to see, or a zero below would prove nothing.
TEST(AudioThreadCallCounter, SeesAllocationsAndLocksOfTheCountingThreadOnly)
{
    if (!AudioThreadCallCounter::available)
        GTEST_SKIP() << "a sanitizer replaces the allocation and lock functions in this build";

    std::mutex mutex;
    juce::CriticalSection section;
    const auto calls = AudioThreadCallCounter::callsDuring([&] {
        std::vector<float> numbers(100);
        juce::AudioBuffer<float> buffer(2, 100); // JUCE allocates with malloc, not operator new
        const std::lock_guard<std::mutex> lock(mutex);
        const juce::ScopedLock scoped(section);
    });
    EXPECT_EQ(calls.heap, 4); // two allocations, two releases
    EXPECT_EQ(calls.locks, 2);

    std::atomic<bool> go{false}, done{false};
    std::thread other([&] {
        while (!go)
            std::this_thread::yield();
        std::vector<float> numbers(100);
        const std::lock_guard<std::mutex> lock(mutex);
        done = true;
    });
    const auto elsewhere = AudioThreadCallCounter::callsDuring([&] {
        go = true;
        while (!done)
            std::this_thread::yield();
    });
    other.join();
    EXPECT_EQ(elsewhere.heap, 0);
    EXPECT_EQ(elsewhere.locks, 0);
}

TEST_P(ProcessorSteadyState, BlocksAndForwardedChangesAfterTheFirstBlockNeitherAllocateNorLock)
{
    const auto& layout = GetParam();
    QuillmoreAudioProcessor processor;
    TempoPlayHead playHead;
    processor.setPlayHead(&playHead);
    ProcessorPlayer::prepare(processor, layout.maximumBlock, layout.input, layout.output);

    const int channels = juce::jmax(layout.input.size(), layout.output.size());
    juce::AudioBuffer<float> block(channels, layout.maximumBlock);
    juce::MidiBuffer midi;
    std::mt19937 random(5);
    float phase = 0.0f;
    auto fill = [&](int samples) {
        block.setSize(channels, samples, false, false, true);
        for (int i = 0; i < samples; ++i, phase += 0.05f)
            for (int channel = 0; channel < channels; ++channel)
                block.setSample(channel, i, 0.5f * std::sin(phase));
    };

    auto& parameters = processor.getParameters();
    std::vector<juce::RangedAudioParameter*> ranged;
    for (auto* parameter : parameters)
        if (auto* each = dynamic_cast<juce::RangedAudioParameter*>(parameter))
            ranged.push_back(each);
    auto randomValue = [&](juce::RangedAudioParameter& parameter) {
        return parameter.convertFrom0to1(std::uniform_real_distribution<float>(0.0f, 1.0f)(random));
    };

    // The first block, with every parameter forwarded on the audio thread ahead of it: the runtime's
    // queues make room for a thread when it first sends.
    for (auto* parameter : ranged)
        processor.parameterChanged(parameter->paramID, randomValue(*parameter));
    fill(layout.maximumBlock);
    processor.processBlock(block, midi);

    AudioThreadCallCounter::Calls total;
    float loudest = 0.0f;
    for (int n = 0; n < 4000; ++n)
    {
        // Between blocks, as a host's other threads would: a parameter at random, now and then a
        // section switch, the bypass or a tempo change, each value anywhere in its range.
        parameters[std::uniform_int_distribution<int>(0, parameters.size() - 1)(random)]->setValueNotifyingHost(
            std::uniform_real_distribution<float>(0.0f, 1.0f)(random));
        if (n % 97 == 0)
            playHead.bpm = std::uniform_real_distribution<double>(40.0, 240.0)(random);
        if (n % 500 == 0)
            ProcessorPlayer::setHostValue(processor, "TrueBypass", n % 1000 == 0 ? 1.0f : 0.0f);

        // On the audio thread, as JUCE's VST3 client hands over the host's automation ahead of a block
        // (through the parameter state, whose own listener lock is the framework's): a few changes per
        // block while the patch runs.
        const bool hostBypass = n % 300 < 20;
        std::vector<std::pair<const juce::String*, float>> automation;
        for (int k = hostBypass ? 0 : static_cast<int>(random() % 5); k > 0; --k)
        {
            auto* parameter = ranged[random() % ranged.size()];
            automation.emplace_back(&parameter->paramID, randomValue(*parameter));
        }

        fill(std::uniform_int_distribution<int>(1, layout.maximumBlock)(random));
        const auto calls = AudioThreadCallCounter::callsDuring([&] {
            for (const auto& [id, value] : automation)
                processor.parameterChanged(*id, value);
            if (hostBypass)
                processor.processBlockBypassed(block, midi);
            else
                processor.processBlock(block, midi);
        });
        total.heap += calls.heap;
        total.locks += calls.locks;
        loudest = std::max(loudest, block.getMagnitude(0, block.getNumSamples()));
    }

    EXPECT_EQ(total.heap, 0) << layout.name;
    EXPECT_EQ(total.locks, 0) << layout.name;
    EXPECT_GT(loudest, 0.1f) << "audio came through";
    processor.setPlayHead(nullptr);
}

// A host may keep the plug-in bypassed for minutes while its transport runs a tempo ramp and its
// automation goes on: whatever reaches the patch meanwhile must not pile up on the audio thread.
TEST(ProcessorSteadyStateHostBypass, LongBypassWithTempoAndAutomationNeitherAllocatesNorLocks)
{
    if (!AudioThreadCallCounter::available)
        GTEST_SKIP() << "a sanitizer replaces the allocation and lock functions in this build";

    QuillmoreAudioProcessor processor;
    TempoPlayHead playHead;
    processor.setPlayHead(&playHead);
    constexpr int blockSize = 256;
    ProcessorPlayer::prepare(processor, blockSize);

    juce::AudioBuffer<float> block(2, blockSize);
    juce::MidiBuffer midi;
    const juce::String automated[] = {"EchoTime", "Saturate", "Output", "HeadsOn"};
    int step = 0;
    // One block of each kind first, so that the audio thread has sent through the runtime's queues.
    auto automate = [&] {
        for (const auto& id : automated)
            processor.parameterChanged(id, static_cast<float>(step % 2));
        playHead.bpm = 60.0 + 0.01 * step;
        ++step;
    };
    automate();
    processor.processBlock(block, midi);
    automate();
    processor.processBlockBypassed(block, midi);

    AudioThreadCallCounter::Calls total;
    for (int n = 0; n < 5000; ++n)
    {
        block.clear();
        const auto calls = AudioThreadCallCounter::callsDuring([&] {
            automate();
            processor.processBlockBypassed(block, midi);
        });
        total.heap += calls.heap;
        total.locks += calls.locks;
    }

    EXPECT_EQ(total.heap, 0);
    EXPECT_EQ(total.locks, 0);
    processor.setPlayHead(nullptr);
}

// What a host does outside of steady playback: a fresh instance's first block, blocks after a
// re-prepare at another rate and size, a block after the message thread changed parameters many
// thousand times while no block ran, hostile values among them, and blocks on threads the processor
// has never seen (hosts with worker pools). None of them may allocate or lock either.
TEST(ProcessorBlocksAfterTheHostsOtherCalls, NeitherAllocateNorLock)
{
    if (!AudioThreadCallCounter::available)
        GTEST_SKIP() << "a sanitizer replaces the allocation and lock functions in this build";

    QuillmoreAudioProcessor processor;
    TempoPlayHead playHead;
    processor.setPlayHead(&playHead);
    juce::MidiBuffer midi;
    juce::AudioBuffer<float> block(2, 2048);
    auto countedBlock = [&](int samples) {
        block.setSize(2, samples, false, false, true);
        for (int i = 0; i < samples; ++i)
            for (int channel = 0; channel < 2; ++channel)
                block.setSample(channel, i, 0.25f * std::sin(0.03f * static_cast<float>(i)));
        return AudioThreadCallCounter::callsDuring([&] { processor.processBlock(block, midi); });
    };
    auto expectNone = [](const AudioThreadCallCounter::Calls& calls, const char* what) {
        EXPECT_EQ(calls.heap, 0) << what;
        EXPECT_EQ(calls.locks, 0) << what;
    };

    ProcessorPlayer::prepare(processor, 512);
    expectNone(countedBlock(512), "a fresh instance's first block");
    for (int n = 0; n < 20; ++n)
        countedBlock(512);

    const struct
    {
        double rate;
        int maximumBlock;
    } prepares[] = { { 96000.0, 2048 }, { 44100.0, 64 }, { 48000.0, 512 }, { 48000.0, 512 } };
    for (const auto& prepare : prepares)
    {
        ProcessorPlayer::prepare(processor, prepare.maximumBlock, juce::AudioChannelSet::stereo(),
                                 juce::AudioChannelSet::stereo(), prepare.rate);
        expectNone(countedBlock(prepare.maximumBlock), "the first block after a prepare");
        expectNone(countedBlock(prepare.maximumBlock / 2 + 1), "the second block after a prepare");
    }

    // A knob dragged while the transport stands: every parameter, over and over, and hostile values.
    std::mt19937 random(11);
    for (int n = 0; n < 100000; ++n)
    {
        auto* parameter = processor.getParameters()[static_cast<int>(random() % 48)];
        parameter->setValueNotifyingHost(std::uniform_real_distribution<float>(0.0f, 1.0f)(random));
    }
    for (const char* id : { "EchoSyncDiv", "EchoSyncOn", "Input", "Output", "Saturate", "EchoTime" })
        for (const float hostile : { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), -3.0e38f })
            processor.parameterChanged(id, hostile);
    playHead.bpm = 133.0;
    expectNone(countedBlock(512), "a block after 100000 changes");

    // Each block on a thread of its own, with a change and a new tempo ahead of it.
    for (int n = 0; n < 8; ++n)
    {
        ProcessorPlayer::setHostValue(processor, "EchoTime", 100.0f + 50.0f * static_cast<float>(n));
        ProcessorPlayer::setHostValue(processor, "TrueBypass", static_cast<float>(n % 2));
        playHead.bpm = 90.0 + n;
        AudioThreadCallCounter::Calls calls;
        std::thread worker([&] { calls = countedBlock(std::max(1, 64 * n)); });
        worker.join();
        expectNone(calls, "a block on a new thread");
    }
    EXPECT_GT(block.getMagnitude(0, block.getNumSamples()), 0.01f) << "audio came through";
    processor.setPlayHead(nullptr);
}

// Every module audible and working hard, at the sample rates and host block sizes at the ends of what
// hosts use: the delay and spring lines are sized by the rate and the engine block by the host's
// largest block, so a buffer that only some rates or sizes outgrow would show here. Spring size, echo
// time and order move now and then.
TEST(ProcessorSteadyStateEveryRate, EverythingOnAtEveryRateAndBlockSizeNeitherAllocatesNorLocks)
{
    if (!AudioThreadCallCounter::available)
        GTEST_SKIP() << "a sanitizer replaces the allocation and lock functions in this build";

    const std::pair<const char*, float> everythingOn[] = {
        { "EchoMix", 50.0f },  { "EchoFdbck", 120.0f }, { "SpringMix", 50.0f }, { "EchoToSpring", 100.0f },
        { "MstrWarble", 100.0f }, { "Wow", 100.0f },   { "Flutter", 100.0f },  { "Blips", 100.0f },
        { "Instability", 100.0f }, { "StDrift", 100.0f }, { "Degrade", 100.0f }, { "NoiseAmnt", 100.0f },
        { "EchoFilterLFOAmount", 100.0f } };
    const juce::String springSize("SpringSize"), echoTime("EchoTime"), order("Order");
    for (const double rate : { 22050.0, 88200.0, 192000.0 })
        for (const int maximumBlock : { 1, 97, 8192 })
        {
            QuillmoreAudioProcessor processor;
            ProcessorPlayer::prepare(processor, maximumBlock, juce::AudioChannelSet::stereo(), juce::AudioChannelSet::stereo(), rate);
            for (const auto& [id, value] : everythingOn)
                ProcessorPlayer::setHostValue(processor, id, value);
            juce::AudioBuffer<float> block(2, maximumBlock);
            juce::MidiBuffer midi;
            std::mt19937 random(3);
            auto fill = [&] {
                for (int channel = 0; channel < 2; ++channel)
                    for (int i = 0; i < maximumBlock; ++i)
                        block.setSample(channel, i, std::uniform_real_distribution<float>(-0.5f, 0.5f)(random));
            };
            fill();
            processor.processBlock(block, midi);

            AudioThreadCallCounter::Calls total;
            const int blocks = std::max(20, static_cast<int>(rate) * 2 / maximumBlock);
            for (int n = 0; n < blocks; ++n)
            {
                fill();
                const auto calls = AudioThreadCallCounter::callsDuring([&] {
                    if (n % 50 == 0)
                    {
                        processor.parameterChanged(springSize, 4.0f + static_cast<float>((n / 50) % 9));
                        processor.parameterChanged(echoTime, 1.0f + 700.0f * static_cast<float>((n / 50) % 8));
                        processor.parameterChanged(order, static_cast<float>((n / 50) % 2));
                    }
                    processor.processBlock(block, midi);
                });
                total.heap += calls.heap;
                total.locks += calls.locks;
            }
            EXPECT_EQ(total.heap, 0) << rate << " Hz, blocks of " << maximumBlock;
            EXPECT_EQ(total.locks, 0) << rate << " Hz, blocks of " << maximumBlock;
        }
}

INSTANTIATE_TEST_SUITE_P(Layouts, ProcessorSteadyState,
                         testing::Values(Layout { "stereo", juce::AudioChannelSet::stereo(), juce::AudioChannelSet::stereo(), 1024 },
                                         Layout { "monoToStereo", juce::AudioChannelSet::mono(), juce::AudioChannelSet::stereo(), 64 },
                                         Layout { "mono", juce::AudioChannelSet::mono(), juce::AudioChannelSet::mono(), 150 }),
                         [](const testing::TestParamInfo<Layout>& info) { return std::string(info.param.name); });
