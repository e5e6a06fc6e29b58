#include "plugin/EngineBlockBridge.h"

#include <algorithm>

void EngineBlockBridge::prepare(int blockSize)
{
    engineBlockSize = blockSize;
    inputFifoBuffer.setSize(2, fifoCapacity);
    outputFifoBuffer.setSize(2, fifoCapacity);
    inputFifoBuffer.clear();
    outputFifoBuffer.clear();
    inputFifo.reset();
    outputFifo.reset();
    for (int channel = 0; channel < 2; ++channel)
    {
        engineInput[channel].assign(static_cast<size_t>(engineBlockSize), 0.0f);
        engineOutput[channel].assign(static_cast<size_t>(engineBlockSize), 0.0f);
        engineInputChannels[channel] = engineInput[channel].data();
        engineOutputChannels[channel] = engineOutput[channel].data();
    }

    // The buffer is clear: marking one block written primes the output with silence.
    const juce::AbstractFifo::ScopedWrite priming(outputFifo, engineBlockSize);
}

void EngineBlockBridge::release()
{
    inputFifoBuffer.setSize(0, 0);
    outputFifoBuffer.setSize(0, 0);
    inputFifo.reset();
    outputFifo.reset();
}

void EngineBlockBridge::writeInput(const float* left, const float* right, int frames)
{
    const int writable = juce::jmin(frames, inputFifo.getFreeSpace());
    const auto write = [&](int fifoStart, int inputStart, int count) {
        for (int channel = 0; channel < 2; ++channel)
        {
            const float* source = channel == 1 && right != nullptr ? right : left;
            if (source == nullptr)
                inputFifoBuffer.clear(channel, fifoStart, count);
            else
                inputFifoBuffer.copyFrom(channel, fifoStart, source + inputStart, count);
        }
    };

    const juce::AbstractFifo::ScopedWrite region(inputFifo, writable);
    if (region.blockSize1 > 0)
        write(region.startIndex1, 0, region.blockSize1);
    if (region.blockSize2 > 0)
        write(region.startIndex2, region.blockSize1, region.blockSize2);
}

bool EngineBlockBridge::engineBlockIsWaiting() const
{
    return inputFifo.getNumReady() >= engineBlockSize && outputFifo.getFreeSpace() >= engineBlockSize;
}

void EngineBlockBridge::takeEngineInput()
{
    const juce::AbstractFifo::ScopedRead region(inputFifo, engineBlockSize);
    for (int channel = 0; channel < 2; ++channel)
    {
        const float* fifo = inputFifoBuffer.getReadPointer(channel);
        float* destination = engineInput[channel].data();
        std::copy_n(fifo + region.startIndex1, region.blockSize1, destination);
        std::copy_n(fifo + region.startIndex2, region.blockSize2, destination + region.blockSize1);
    }
}

void EngineBlockBridge::putEngineOutput(const juce::AbstractFifo::ScopedWrite& region)
{
    for (int channel = 0; channel < 2; ++channel)
    {
        float* fifo = outputFifoBuffer.getWritePointer(channel);
        const float* source = engineOutput[channel].data();
        std::copy_n(source, region.blockSize1, fifo + region.startIndex1);
        std::copy_n(source + region.blockSize1, region.blockSize2, fifo + region.startIndex2);
    }
}

void EngineBlockBridge::readOutput(float* left, float* right, int frames)
{
    const int readable = juce::jmin(frames, outputFifo.getNumReady());
    {
        const juce::AbstractFifo::ScopedRead region(outputFifo, readable);
        const auto read = [&](int fifoStart, int outputStart, int count) {
            std::copy_n(outputFifoBuffer.getReadPointer(0, fifoStart), count, left + outputStart);
            if (right != nullptr)
                std::copy_n(outputFifoBuffer.getReadPointer(1, fifoStart), count, right + outputStart);
        };
        read(region.startIndex1, 0, region.blockSize1);
        read(region.startIndex2, region.blockSize1, region.blockSize2);
    }

    // Only when the FIFOs were cut short (never with the priming in place) is anything missing.
    silence(left, right, readable, frames);
}

void EngineBlockBridge::silence(float* left, float* right, int from, int to)
{
    std::fill(left + from, left + to, 0.0f);
    if (right != nullptr)
        std::fill(right + from, right + to, 0.0f);
}
