#include "tools/host/WavFiles.h"

#include "tools/host/HostError.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <limits>

namespace Quillmore::Host
{
AudioData readWav(const juce::File& file)
{
    auto stream = file.createInputStream();
    if (stream == nullptr)
        throw HostError("cannot open " + file.getFullPathName().toStdString());

    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatReader> reader(wav.createReaderFor(stream.release(), true));
    if (reader == nullptr)
        throw HostError("cannot read " + file.getFullPathName().toStdString() + " as a WAV file");
    if (reader->lengthInSamples > std::numeric_limits<int>::max())
        throw HostError(file.getFullPathName().toStdString() + " is too long");

    AudioData data { juce::AudioBuffer<float>(static_cast<int>(reader->numChannels), static_cast<int>(reader->lengthInSamples)),
                     reader->sampleRate };
    if (!reader->read(&data.samples, 0, data.samples.getNumSamples(), 0, true, true))
        throw HostError("cannot read the samples of " + file.getFullPathName().toStdString());
    return data;
}

void writeFloatWav(const juce::File& file, const juce::AudioBuffer<float>& samples, double sampleRate)
{
    if (!file.getParentDirectory().createDirectory() || (file.exists() && !file.deleteFile()))
        throw HostError("cannot replace " + file.getFullPathName().toStdString());

    juce::WavAudioFormat wav;
    auto stream = file.createOutputStream();
    if (stream == nullptr)
        throw HostError("cannot write " + file.getFullPathName().toStdString());

    // 32 bits per sample makes JUCE's WAV writer store IEEE floats.
    std::unique_ptr<juce::AudioFormatWriter> writer(wav.createWriterFor(stream.get(), sampleRate,
                                                                        static_cast<unsigned>(samples.getNumChannels()),
                                                                        32, {}, 0));
    if (writer == nullptr)
        throw HostError("cannot write a WAV file with " + std::to_string(samples.getNumChannels()) + " channels at "
                        + std::to_string(sampleRate) + " Hz");
    stream.release(); // the writer owns the stream now

    if (!writer->writeFromAudioSampleBuffer(samples, 0, samples.getNumSamples()) || !writer->flush())
        throw HostError("cannot write " + file.getFullPathName().toStdString());
}
} // namespace Quillmore::Host
