// In process, on the processor with its patch, called the way hosts call it: audio on one thread,
// automation of every parameter from another (500 changes a second), the state saved and set from a
// third, the message thread running its loop and reading what the editor reads. Built with
// ThreadSanitizer (tools/run-all-tests.sh does), any data race ends the test binary with a report and
// a failing status; in every build the output must stay finite and the audio thread must keep going.
#include "plugin/QuillmoreAudioProcessor.h"
#include "tests/plugin/ProcessorPlayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <random>
#include <thread>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;

// Plays a sine through the processor in host blocks of random sizes until told to stop, on a thread
// of its own, and checks every output sample.
class AudioThread
{
public:
    AudioThread(QuillmoreAudioProcessor& processorToPlay, int maximumBlock)
        : processor(processorToPlay), largestBlock(maximumBlock), thread([this] { run(); })
    {
    }

    ~AudioThread() { stop(); }

    void stop()
    {
        running = false;
        if (thread.joinable())
            thread.join();
    }

    std::atomic<long> blocks{0};
    std::atomic<long> nonFiniteSamples{0};

private:
    void run()
    {
        juce::AudioBuffer<float> block(2, largestBlock);
        juce::MidiBuffer midi;
        std::mt19937 random(1);
        double phase = 0.0;
        while (running)
        {
            const int samples = std::uniform_int_distribution<int>(1, largestBlock)(random);
            block.setSize(2, samples, false, false, true);
            for (int i = 0; i < samples; ++i, phase += 0.06)
                for (int channel = 0; channel < 2; ++channel)
                    block.setSample(channel, i, 0.5f * static_cast<float>(std::sin(phase + channel)));
            processor.processBlock(block, midi);
            for (int channel = 0; channel < 2; ++channel)
                for (int i = 0; i < samples; ++i)
                    if (!std::isfinite(block.getSample(channel, i)))
                        ++nonFiniteSamples;
            ++blocks;
        }
    }

    QuillmoreAudioProcessor& processor;
    const int largestBlock;
    std::atomic<bool> running{true};
    std::thread thread;
};

// Calls `action` every `period` on a thread of its own until stopped; counts the calls.
class PacedThread
{
public:
    PacedThread(std::chrono::microseconds periodBetweenCalls, std::function<void()> actionToRepeat)
        : period(periodBetweenCalls), action(std::move(actionToRepeat)), thread([this] { run(); })
    {
    }

    ~PacedThread() { stop(); }

    void stop()
    {
        running = false;
        if (thread.joinable())
            thread.join();
    }

    std::atomic<long> calls{0};

private:
    void run()
    {
        auto next = Clock::now();
        while (running)
        {
            action();
            ++calls;
            next += period;
            std::this_thread::sleep_until(next);
        }
    }

    const std::chrono::microseconds period;
    const std::function<void()> action;
    std::atomic<bool> running{true};
    std::thread thread;
};

// What the editor's timer reads, on the message thread.
float readEditorValues(QuillmoreAudioProcessor& processor)
{
    std::array<float, QuillmoreAudioProcessor::spectrumFrameSize> spectrum{};
    processor.readSpectrumFrame(spectrum.data(), static_cast<int>(spectrum.size()));
    return processor.warbleL.load() + processor.warbleR.load() + processor.echoFilterFrequency.load()
         + processor.outputLevelL.load() + processor.outputLevelR.load() + (processor.clipL.load() ? 1.0f : 0.0f)
         + (processor.clipR.load() ? 1.0f : 0.0f) + static_cast<float>(processor.activePanel.load())
         + static_cast<float>(processor.getCurrentPresetDisplayName().length()) + spectrum[0];
}

// Runs the message loop for the given time (the parameter state's timer writes parameter values into
// its tree there) and reads the editor's values on every tick, as the editor's timer does. JUCE's loop
// runs once per process: there is one test of it here.
class MessageThreadRun : private juce::Timer
{
public:
    MessageThreadRun(QuillmoreAudioProcessor& processorToRead, std::chrono::milliseconds duration)
        : processor(processorToRead), end(Clock::now() + duration)
    {
        startTimer(16);
        juce::MessageManager::getInstance()->runDispatchLoop();
    }

    float sum = 0.0f;
    long ticks = 0;

private:
    void timerCallback() override
    {
        sum += readEditorValues(processor);
        ++ticks;
        if (Clock::now() >= end)
        {
            stopTimer();
            juce::MessageManager::getInstance()->stopDispatchLoop();
        }
    }

    QuillmoreAudioProcessor& processor;
    const Clock::time_point end;
};
} // namespace

TEST(ConcurrentHostCalls, AudioWithEveryParameterAutomatedAndTheStateSetFromOtherThreadsAndTheEditorReading)
{
    QuillmoreAudioProcessor processor;
    ProcessorPlayer::prepare(processor, 512);

    // Two states that differ in parameters and preset fields, for the host to set in turn.
    juce::MemoryBlock states[2];
    processor.getStateInformation(states[0]);
    ProcessorPlayer::setHostValue(processor, "EchoTime", 700.0f);
    ProcessorPlayer::setHostValue(processor, "HeadsOn", 0.0f);
    processor.setCurrentPresetName("Elsewhere");
    processor.getStateInformation(states[1]);
    long statesSet = 0;
    auto saveAndRestore = [&] {
        juce::MemoryBlock saved;
        processor.getStateInformation(saved);
        const auto& state = states[statesSet++ % 2];
        processor.setStateInformation(state.getData(), static_cast<int>(state.getSize()));
    };

    // Every parameter in turn, in a fresh random order each round, to a random value.
    std::vector<juce::AudioProcessorParameter*> parameters(processor.getParameters().begin(),
                                                          processor.getParameters().end());
    std::vector<int> changesPerParameter(parameters.size(), 0);
    std::mt19937 random(2);
    size_t next = parameters.size();
    auto automate = [&] {
        if (next == parameters.size())
        {
            std::shuffle(parameters.begin(), parameters.end(), random);
            next = 0;
        }
        auto* parameter = parameters[next++];
        parameter->setValueNotifyingHost(std::uniform_real_distribution<float>(0.0f, 1.0f)(random));
        ++changesPerParameter[static_cast<size_t>(parameter->getParameterIndex())];
    };

    {
        AudioThread audio(processor, 512);
        PacedThread automation(std::chrono::microseconds(2000), automate);
        PacedThread hostState(std::chrono::microseconds(20000), saveAndRestore);
        const MessageThreadRun messageThread(processor, std::chrono::milliseconds(2500));
        hostState.stop();
        automation.stop();
        audio.stop();

        EXPECT_TRUE(std::isfinite(messageThread.sum));
        EXPECT_GT(messageThread.ticks, 10);
        EXPECT_EQ(audio.nonFiniteSamples.load(), 0);
        EXPECT_GT(audio.blocks.load(), 100) << "the audio thread kept going";
        EXPECT_GT(automation.calls.load(), 500);
        EXPECT_GT(hostState.calls.load(), 20);
    }
    for (size_t index = 0; index < changesPerParameter.size(); ++index)
        EXPECT_GE(changesPerParameter[index], 5) << processor.getParameters()[static_cast<int>(index)]->getName(100);
}
