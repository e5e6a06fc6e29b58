#pragma once

#include "plugin/QuillmoreAudioProcessor.h"
#include "tests/plugin/LaggedPassThroughPatcher.h"

#include <functional>
#include <string>
#include <vector>

// The processor with the lagged pass-through patcher in place of the patch, played the way a host
// plays it: host blocks cut from a long input, one processBlock each.
class ProcessorHarness
{
public:
    static constexpr double sampleRate = 48000.0;

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
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add(input);
        layout.outputBuses.add(output);
        if (!processor.setBusesLayout(layout))
            throw std::runtime_error("bus layout refused");
        processor.setRateAndBufferSizeDetails(sampleRate, maximumBlockSize);
        processor.prepareToPlay(sampleRate, maximumBlockSize);
    }

    // Host parameter value in the parameter's own range, set the way an editor or a host sets it.
    void setHostValue(const juce::String& id, float value)
    {
        auto* parameter = processor.apvts.getParameter(id);
        if (parameter == nullptr)
            throw std::out_of_range("no parameter " + id.toStdString());
        parameter->setValueNotifyingHost(parameter->convertTo0to1(value));
    }

    // Plays the input through in host blocks whose sizes nextBlockSize gives, and returns the output.
    juce::AudioBuffer<float> render(const juce::AudioBuffer<float>& input, const std::function<int()>& nextBlockSize,
                                    bool hostBypass = false)
    {
        const int inputs = processor.getTotalNumInputChannels();
        const int outputs = processor.getTotalNumOutputChannels();
        juce::AudioBuffer<float> result(outputs, input.getNumSamples());
        juce::AudioBuffer<float> block;
        juce::MidiBuffer midi;
        for (int position = 0; position < input.getNumSamples();)
        {
            const int n = juce::jmin(nextBlockSize(), input.getNumSamples() - position);
            block.setSize(juce::jmax(inputs, outputs), n, false, false, true);
            block.clear();
            for (int channel = 0; channel < inputs; ++channel)
                block.copyFrom(channel, 0, input, juce::jmin(channel, input.getNumChannels() - 1), position, n);
            if (hostBypass)
                processor.processBlockBypassed(block, midi);
            else
                processor.processBlock(block, midi);
            for (int channel = 0; channel < outputs; ++channel)
                result.copyFrom(channel, position, block, channel, 0, n);
            position += n;
        }
        return result;
    }

    juce::AudioBuffer<float> render(const juce::AudioBuffer<float>& input, int blockSize, bool hostBypass = false)
    {
        return render(input, [blockSize] { return blockSize; }, hostBypass);
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
