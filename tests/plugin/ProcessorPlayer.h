#pragma once

#include "plugin/QuillmoreAudioProcessor.h"

#include <functional>
#include <stdexcept>

// Plays a processor the way a host does: a bus layout, a prepare, host blocks cut from a long input
// with one processBlock each, parameters set through their host values.
namespace ProcessorPlayer
{
inline constexpr double sampleRate = 48000.0;

inline void prepare(QuillmoreAudioProcessor& processor, int maximumBlockSize,
                    const juce::AudioChannelSet& input = juce::AudioChannelSet::stereo(),
                    const juce::AudioChannelSet& output = juce::AudioChannelSet::stereo(), double rate = sampleRate)
{
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add(input);
    layout.outputBuses.add(output);
    if (!processor.setBusesLayout(layout))
        throw std::runtime_error("bus layout refused");
    processor.setRateAndBufferSizeDetails(rate, maximumBlockSize);
    processor.prepareToPlay(rate, maximumBlockSize);
}

// Host parameter value in the parameter's own range, set the way an editor or a host sets it.
inline void setHostValue(QuillmoreAudioProcessor& processor, const juce::String& id, float value)
{
    auto* parameter = processor.apvts.getParameter(id);
    if (parameter == nullptr)
        throw std::out_of_range("no parameter " + id.toStdString());
    parameter->setValueNotifyingHost(parameter->convertTo0to1(value));
}

// Plays the input through in host blocks whose sizes nextBlockSize gives, and returns the output.
inline juce::AudioBuffer<float> render(QuillmoreAudioProcessor& processor, const juce::AudioBuffer<float>& input,
                                       const std::function<int()>& nextBlockSize, bool hostBypass = false)
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

inline juce::AudioBuffer<float> render(QuillmoreAudioProcessor& processor, const juce::AudioBuffer<float>& input,
                                       int blockSize, bool hostBypass = false)
{
    return render(processor, input, [blockSize] { return blockSize; }, hostBypass);
}
} // namespace ProcessorPlayer
