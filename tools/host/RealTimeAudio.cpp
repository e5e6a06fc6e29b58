#include "tools/host/RealTimeAudio.h"

#include "tools/host/BlockSizes.h"
#include "tools/host/HostError.h"
#include "tools/host/OfflineRender.h"

#include <pthread.h>

#include <chrono>
#include <cmath>
#include <ctime>

namespace Quillmore::Host
{
RealTimeAudio::RealTimeAudio(juce::AudioPluginInstance& instanceToPlay, juce::AudioBuffer<float> signal)
    : instance(instanceToPlay)
    , loop(std::move(signal))
{
    if (loop.getNumSamples() == 0)
        throw HostError("nothing to play");
    thread = std::thread([this] { play(); });
}

RealTimeAudio::~RealTimeAudio()
{
    stopping = true;
    thread.join();
}

double RealTimeAudio::threadCpuSeconds() const
{
    clockid_t clock {};
    timespec time {};
    if (pthread_getcpuclockid(const_cast<std::thread&>(thread).native_handle(), &clock) != 0
        || clock_gettime(clock, &time) != 0)
        return 0.0;
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) * 1e-9;
}

void RealTimeAudio::play()
{
    auto blockSizes = BlockSizes::fixed(instance.getBlockSize());
    const auto blockDuration = std::chrono::duration<double>(instance.getBlockSize() / instance.getSampleRate());
    auto due = std::chrono::steady_clock::now();
    while (!stopping)
    {
        PluginStream stream(instance, loop, 0, blockSizes);
        while (!stopping && stream.position() < loop.getNumSamples())
        {
            const auto& output = stream.next(static_cast<int>(loop.getNumSamples() - stream.position()));
            float loudest = peak.load();
            for (int channel = 0; channel < output.getNumChannels(); ++channel)
                for (int i = 0; i < output.getNumSamples(); ++i)
                {
                    const float sample = output.getSample(channel, i);
                    if (!std::isfinite(sample))
                        finite = false;
                    else
                        loudest = std::max(loudest, std::abs(sample));
                }
            peak = loudest;
            ++blocks;

            due += std::chrono::duration_cast<std::chrono::steady_clock::duration>(blockDuration * output.getNumSamples()
                                                                                     / instance.getBlockSize());
            std::this_thread::sleep_until(due);
        }
    }
}
} // namespace Quillmore::Host
