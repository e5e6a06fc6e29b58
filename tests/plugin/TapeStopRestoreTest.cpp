// In process, on the processor with its patch: a TapeStop value that changes runs its chain (a
// restore of 0 after 1 starts the tape again), one that does not change reaches nothing, so steady
// automation or restoring the same state never restarts the tape with its 180 ms of silence.
#include "plugin/QuillmoreAudioProcessor.h"
#include "tests/plugin/ProcessorPlayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{
constexpr double rate = ProcessorPlayer::sampleRate;
constexpr int hostBlock = 480;

struct Restorable
{
    juce::MemoryBlock state;
    void save(QuillmoreAudioProcessor& processor) { processor.getStateInformation(state); }
    void restore(QuillmoreAudioProcessor& processor) const
    {
        processor.setStateInformation(state.getData(), static_cast<int>(state.getSize()));
    }
};

// The quietest 10 ms window of a steady 440 Hz sine played for the given time, by its RMS.
float quietestWindow(QuillmoreAudioProcessor& processor, double seconds)
{
    const int length = static_cast<int>(seconds * rate);
    juce::AudioBuffer<float> input(2, length);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < length; ++i)
            input.setSample(channel, i, 0.25f * static_cast<float>(std::sin(juce::MathConstants<double>::twoPi * 440.0 * i / rate)));
    const auto output = ProcessorPlayer::render(processor, input, hostBlock);
    const int window = static_cast<int>(0.01 * rate);
    float quietest = 1.0f;
    for (int start = 0; start + window <= length; start += window / 2)
        quietest = std::min(quietest, output.getRMSLevel(0, start, window));
    return quietest;
}
} // namespace

TEST(TapeStopRestore, OnlyAChangedTapeStopRunsItsChain)
{
    QuillmoreAudioProcessor processor;
    ProcessorPlayer::prepare(processor, hostBlock);
    ProcessorPlayer::setHostValue(processor, "SpaceOn", 0.0f); // the Heads alone: no echo to fill a gap
    quietestWindow(processor, 4.0); // past the start-up
    const float running = quietestWindow(processor, 1.0);
    ASSERT_GT(running, 0.1f) << "the tape runs";

    Restorable runningState;
    runningState.save(processor);
    runningState.restore(processor);
    EXPECT_GT(quietestWindow(processor, 1.0), 0.5f * running) << "the same TapeStop restored: no restart";
    ProcessorPlayer::setHostValue(processor, "TapeStop", 0.0f);
    EXPECT_GT(quietestWindow(processor, 1.0), 0.5f * running) << "the same TapeStop set: no restart";

    ProcessorPlayer::setHostValue(processor, "TapeStop", 1.0f);
    EXPECT_LT(quietestWindow(processor, 4.0), 1e-4f) << "stopped";
    runningState.restore(processor);
    EXPECT_LT(quietestWindow(processor, 0.5), 1e-3f) << "the start's silence";
    EXPECT_GT(quietestWindow(processor, 1.5), 0.2f * running) << "a restore of 0 after 1 started the tape";
}
