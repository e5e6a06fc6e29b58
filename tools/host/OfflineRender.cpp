#include "tools/host/OfflineRender.h"

#include "tools/host/HostError.h"

namespace Quillmore::Host
{
PluginStream::PluginStream(juce::AudioPluginInstance& instanceToRun, const juce::AudioBuffer<float>& inputSignal,
                           juce::int64 inputStartSample, BlockSizes& sizes)
    : instance(instanceToRun)
    , input(inputSignal)
    , inputStart(inputStartSample)
    , blockSizes(sizes)
    , inputs(instanceToRun.getTotalNumInputChannels())
    , outputs(instanceToRun.getTotalNumOutputChannels())
{
    if (input.getNumChannels() != inputs)
        throw HostError("the input has " + std::to_string(input.getNumChannels()) + " channel(s), the plug-in expects "
                        + std::to_string(inputs));
    if (blockSizes.maximum() > instance.getBlockSize())
        throw HostError("blocks of " + std::to_string(blockSizes.maximum()) + " samples exceed the prepared size of "
                        + std::to_string(instance.getBlockSize()));
    work.setSize(juce::jmax(inputs, outputs), blockSizes.maximum());
}

const juce::AudioBuffer<float>& PluginStream::next(int limit)
{
    const int count = juce::jlimit(0, blockSizes.maximum(), juce::jmin(blockSizes.next(), limit));
    work.clear();

    // The part of this block that the input covers, in block positions.
    const auto inputEnd = inputStart + input.getNumSamples();
    const auto from = juce::jlimit<juce::int64>(done, done + count, inputStart);
    const auto to = juce::jlimit<juce::int64>(done, done + count, inputEnd);
    if (to > from)
        for (int channel = 0; channel < inputs; ++channel)
            work.copyFrom(channel, static_cast<int>(from - done), input, channel, static_cast<int>(from - inputStart),
                          static_cast<int>(to - from));

    juce::AudioBuffer<float> whole(work.getArrayOfWritePointers(), work.getNumChannels(), count);
    midi.clear();
    instance.processBlock(whole, midi);
    done += count;

    block.setDataToReferTo(work.getArrayOfWritePointers(), outputs, count);
    return block;
}

juce::AudioBuffer<float> renderThrough(juce::AudioPluginInstance& instance, const juce::AudioBuffer<float>& input,
                                       BlockSizes& blockSizes)
{
    PluginStream stream(instance, input, 0, blockSizes);
    const int length = input.getNumSamples();
    juce::AudioBuffer<float> output(instance.getTotalNumOutputChannels(), length);
    while (stream.position() < length)
    {
        const auto start = static_cast<int>(stream.position());
        const auto& block = stream.next(length - start);
        for (int channel = 0; channel < block.getNumChannels(); ++channel)
            output.copyFrom(channel, start, block, channel, 0, block.getNumSamples());
    }
    return output;
}
} // namespace Quillmore::Host
