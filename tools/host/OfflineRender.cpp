#include "tools/host/OfflineRender.h"

#include "tools/host/HostError.h"

#include <cmath>

namespace Quillmore::Host
{
juce::AudioBuffer<float> renderThrough(juce::AudioPluginInstance& instance, const juce::AudioBuffer<float>& input,
                                       BlockSizes& blockSizes)
{
    const int inputs = instance.getTotalNumInputChannels();
    const int outputs = instance.getTotalNumOutputChannels();
    if (input.getNumChannels() != inputs)
        throw HostError("the input has " + std::to_string(input.getNumChannels()) + " channel(s), the plug-in expects "
                        + std::to_string(inputs));
    if (blockSizes.maximum() > instance.getBlockSize())
        throw HostError("blocks of " + std::to_string(blockSizes.maximum()) + " samples exceed the prepared size of "
                        + std::to_string(instance.getBlockSize()));

    const int length = input.getNumSamples();
    juce::AudioBuffer<float> output(outputs, length);
    juce::AudioBuffer<float> work(juce::jmax(inputs, outputs), blockSizes.maximum());
    juce::MidiBuffer midi;

    for (int start = 0; start < length;)
    {
        const int count = juce::jmin(blockSizes.next(), length - start);
        work.clear();
        for (int channel = 0; channel < inputs; ++channel)
            work.copyFrom(channel, 0, input, channel, start, count);

        juce::AudioBuffer<float> block(work.getArrayOfWritePointers(), work.getNumChannels(), count);
        midi.clear();
        instance.processBlock(block, midi);

        for (int channel = 0; channel < outputs; ++channel)
            output.copyFrom(channel, start, work, channel, 0, count);
        start += count;
    }
    return output;
}

juce::AudioBuffer<float> withSilenceAppended(const juce::AudioBuffer<float>& input, double seconds, double sampleRate)
{
    const int extra = static_cast<int>(std::llround(juce::jmax(0.0, seconds) * sampleRate));
    juce::AudioBuffer<float> result(input.getNumChannels(), input.getNumSamples() + extra);
    result.clear();
    for (int channel = 0; channel < input.getNumChannels(); ++channel)
        result.copyFrom(channel, 0, input, channel, 0, input.getNumSamples());
    return result;
}
} // namespace Quillmore::Host
