#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>

// A WAV file written byte by byte, so that its header can say what it likes: a format chunk, an
// optional chunk of filler before the samples, and a data chunk whose size field is `claimedBytes`
// while `heldBytes` bytes (zeros) follow it.
struct CraftedWav
{
    std::uint16_t format = 3; // IEEE float; 1 is PCM
    std::uint16_t channels = 2;
    std::uint32_t sampleRate = 48000;
    std::uint16_t bitsPerSample = 32;
    std::uint32_t claimedBytes = 0;
    std::uint32_t heldBytes = 0;
    std::uint32_t fillerBytes = 0; // a "LIST" chunk before the data, when not 0

    juce::MemoryBlock bytes() const
    {
        juce::MemoryOutputStream out;
        const auto frameBytes = static_cast<std::uint16_t>(channels * (bitsPerSample / 8));
        const std::uint32_t filler = fillerBytes > 0 ? 8 + fillerBytes : 0;
        out.write("RIFF", 4);
        out.writeInt(static_cast<int>(4 + 24 + filler + 8 + claimedBytes));
        out.write("WAVE", 4);
        out.write("fmt ", 4);
        out.writeInt(16);
        out.writeShort(static_cast<short>(format));
        out.writeShort(static_cast<short>(channels));
        out.writeInt(static_cast<int>(sampleRate));
        out.writeInt(static_cast<int>(sampleRate * frameBytes));
        out.writeShort(static_cast<short>(frameBytes));
        out.writeShort(static_cast<short>(bitsPerSample));
        if (fillerBytes > 0)
        {
            out.write("LIST", 4);
            out.writeInt(static_cast<int>(fillerBytes));
            out.writeRepeatedByte(0, fillerBytes);
        }
        out.write("data", 4);
        out.writeInt(static_cast<int>(claimedBytes));
        out.writeRepeatedByte(0, heldBytes);
        return out.getMemoryBlock();
    }

    void writeTo(const juce::File& file) const
    {
        const auto data = bytes();
        file.replaceWithData(data.getData(), data.getSize());
    }
};
