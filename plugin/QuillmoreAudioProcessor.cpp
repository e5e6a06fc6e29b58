#include "plugin/QuillmoreAudioProcessor.h"

QuillmoreAudioProcessor::QuillmoreAudioProcessor()
    : AudioProcessor(BusesProperties()
                         .withInput("Input", juce::AudioChannelSet::stereo(), true)
                         .withOutput("Output", juce::AudioChannelSet::stereo(), true))
{
}

void QuillmoreAudioProcessor::prepareToPlay(double, int) {}

void QuillmoreAudioProcessor::releaseResources() {}

bool QuillmoreAudioProcessor::isBusesLayoutSupported(const BusesLayout& layouts) const
{
    const auto in = layouts.getMainInputChannelSet();
    const auto out = layouts.getMainOutputChannelSet();
    const auto mono = juce::AudioChannelSet::mono();
    const auto stereo = juce::AudioChannelSet::stereo();
    return (in == mono && out == mono) || (in == mono && out == stereo) || (in == stereo && out == stereo);
}

void QuillmoreAudioProcessor::processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    juce::ScopedNoDenormals noDenormals;
    const int inputs = getTotalNumInputChannels();
    // A mono input feeds every output channel.
    if (inputs == 1)
        for (int ch = 1; ch < buffer.getNumChannels(); ++ch)
            buffer.copyFrom(ch, 0, buffer, 0, 0, buffer.getNumSamples());
}

juce::AudioProcessorEditor* QuillmoreAudioProcessor::createEditor()
{
    // The framework's generic editor stands in until the product's own editor exists.
    return new juce::GenericAudioProcessorEditor(*this);
}

void QuillmoreAudioProcessor::getStateInformation(juce::MemoryBlock&) {}

void QuillmoreAudioProcessor::setStateInformation(const void*, int) {}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new QuillmoreAudioProcessor();
}
