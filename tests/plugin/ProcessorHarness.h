#pragma once

#include "plugin/QuillmoreAudioProcessor.h"
#include "tests/plugin/LaggedPassThroughPatcher.h"
#include "tests/plugin/ProcessorPlayer.h"

#include <functional>
#include <string>
#include <vector>

// The processor with the lagged pass-through patcher in place of the patch, played the way a host
// plays it (ProcessorPlayer).
class ProcessorHarness
{
public:
    ProcessorHarness() : processor(makePatcherWithHostIds()), patcher(*LaggedPassThroughPatcher::current) {}

    // The IDs of the host parameters, as a processor that runs no patch has them.
    static const std::vector<std::string>& hostParameterIds()
    {
        static const auto ids = [] {
            QuillmoreAudioProcessor bare(nullptr);
            std::vector<std::string> found;
            for (auto* parameter : bare.getParameters())
                if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*>(parameter))
                    found.push_back(ranged->paramID.toStdString());
            return found;
        }();
        return ids;
    }

    void prepare(int maximumBlockSize, const juce::AudioChannelSet& input = juce::AudioChannelSet::stereo(),
                 const juce::AudioChannelSet& output = juce::AudioChannelSet::stereo())
    {
        ProcessorPlayer::prepare(processor, maximumBlockSize, input, output);
    }

    void setHostValue(const juce::String& id, float value) { ProcessorPlayer::setHostValue(processor, id, value); }

    juce::AudioBuffer<float> render(const juce::AudioBuffer<float>& input, const std::function<int()>& nextBlockSize,
                                    bool hostBypass = false)
    {
        return ProcessorPlayer::render(processor, input, nextBlockSize, hostBypass);
    }

    juce::AudioBuffer<float> render(const juce::AudioBuffer<float>& input, int blockSize, bool hostBypass = false)
    {
        return ProcessorPlayer::render(processor, input, blockSize, hostBypass);
    }

    // Host blocks of silence.
    void processSilence(int blocks, int blockSize)
    {
        juce::AudioBuffer<float> silence(2, blocks * blockSize);
        silence.clear();
        render(silence, blockSize);
    }

    QuillmoreAudioProcessor processor;
    LaggedPassThroughPatcher& patcher;

private:
    static PRT::PatcherFactoryFunction makePatcherWithHostIds()
    {
        LaggedPassThroughPatcher::hostParameterIds = hostParameterIds();
        return &LaggedPassThroughPatcher::make;
    }
};
