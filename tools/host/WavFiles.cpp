#include "tools/host/WavFiles.h"

#include "tools/host/HostError.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <cstring>
#include <limits>
#include <optional>
#include <string>

namespace Quillmore::Host
{
namespace
{
// Where the samples of a RIFF/RF64 WAVE file begin: just after its "data" chunk's header. The chunks
// are walked by their sizes; none when the file ends first.
std::optional<juce::int64> dataChunkStart(juce::InputStream& stream)
{
    char riff[12] {};
    if (stream.read(riff, 12) != 12 || (std::memcmp(riff, "RIFF", 4) != 0 && std::memcmp(riff, "RF64", 4) != 0)
        || std::memcmp(riff + 8, "WAVE", 4) != 0)
        return std::nullopt;
    for (;;)
    {
        char id[4] {};
        if (stream.read(id, 4) != 4)
            return std::nullopt;
        const auto size = static_cast<juce::uint32>(stream.readInt());
        if (stream.isExhausted() && std::memcmp(id, "data", 4) != 0)
            return std::nullopt;
        if (std::memcmp(id, "data", 4) == 0)
            return stream.getPosition();
        if (!stream.setPosition(stream.getPosition() + size + (size & 1u)))
            return std::nullopt;
    }
}

std::string named(const juce::File& file)
{
    return file.getFullPathName().toStdString();
}
} // namespace

AudioData readWav(const juce::File& file)
{
    auto stream = file.createInputStream();
    if (stream == nullptr)
        throw HostError("cannot open " + named(file));
    const juce::int64 fileSize = stream->getTotalLength();
    const auto samplesStart = dataChunkStart(*stream);
    if (!stream->setPosition(0))
        throw HostError("cannot read " + named(file));

    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatReader> reader(wav.createReaderFor(stream.release(), true));
    if (reader == nullptr)
        throw InputError("cannot read " + named(file) + " as a WAV file");
    // The host renders mono and stereo; a header's count above 32767 even reaches the framework's
    // reader as a count near 2^32 (it reads the 16-bit field as signed), with which it crashes.
    if (reader->numChannels > 2)
        throw InputError(named(file) + " has " + std::to_string(reader->numChannels & 0xffffu)
                         + " channels; only mono and stereo files can be read");
    const auto bits = reader->bitsPerSample;
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
        throw InputError(named(file) + ": " + std::to_string(bits) + "-bit samples cannot be read");

    // The length comes from the header: a header that claims more samples than the file holds is
    // never believed (an allocation and a render of its whole claim would follow).
    const auto claimedBytes = static_cast<juce::uint64>(reader->lengthInSamples) * reader->numChannels * (bits / 8);
    const auto heldBytes = samplesStart && *samplesStart <= fileSize ? static_cast<juce::uint64>(fileSize - *samplesStart) : 0u;
    if (reader->lengthInSamples < 0 || claimedBytes > heldBytes)
        throw InputError(named(file) + ": truncated or damaged WAV file (its header claims " + std::to_string(claimedBytes)
                         + " bytes of samples, the file holds " + std::to_string(heldBytes) + ")");
    if (reader->lengthInSamples > std::numeric_limits<int>::max())
        throw InputError(named(file) + " is too long");

    AudioData data { juce::AudioBuffer<float>(static_cast<int>(reader->numChannels), static_cast<int>(reader->lengthInSamples)),
                     reader->sampleRate };
    if (!reader->read(&data.samples, 0, data.samples.getNumSamples(), 0, true, true))
        throw HostError("cannot read the samples of " + named(file));
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
