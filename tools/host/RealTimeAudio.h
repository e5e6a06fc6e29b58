#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <thread>

namespace Quillmore::Host
{
// Plays a signal through the prepared plug-in over and over on a thread of its own, a block at a
// time at the pace of real time, as a host's audio thread does while the user works in the plug-in's
// window. Stops when destroyed.
class RealTimeAudio
{
public:
    RealTimeAudio(juce::AudioPluginInstance& instance, juce::AudioBuffer<float> loop);
    ~RealTimeAudio();

    juce::int64 blocksPlayed() const { return blocks.load(); }

    // The loudest output sample so far (absolute value), and whether every sample so far was finite.
    float outputPeak() const { return peak.load(); }
    bool outputFinite() const { return finite.load(); }

    // The audio thread's processor time so far, in seconds.
    double threadCpuSeconds() const;

private:
    void play();

    juce::AudioPluginInstance& instance;
    const juce::AudioBuffer<float> loop;
    std::atomic<bool> stopping{false};
    std::atomic<juce::int64> blocks{0};
    std::atomic<float> peak{0.0f};
    std::atomic<bool> finite{true};
    std::thread thread;
};
} // namespace Quillmore::Host
