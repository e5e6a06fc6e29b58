#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>
#include <vector>

// Carries stereo audio from host blocks of any size through an engine that runs on fixed blocks.
//
// The output FIFO starts with one engine block of silence in it. The frames waiting in the two FIFOs
// then always add up to exactly one engine block at the start of a host block: every host block finds
// all its output ready, whatever its size and whatever sizes came before, and the engine's output
// reaches the host exactly one engine block late (getLatencySamples). An unprimed output FIFO would
// instead answer host blocks that are not multiples of the engine block with runs of silence.
//
// prepare and release run while no block is processed; process belongs to the audio thread and
// neither allocates nor locks.
class EngineBlockBridge
{
public:
    static constexpr int fifoCapacity = 32768;
    // Host blocks are carried in passes of at most this many frames, so that a block of any length
    // fits into the FIFOs (which hold fewer than an engine block plus one pass).
    static constexpr int maximumFramesPerPass = 8192;

    // Sizes and clears the FIFOs and the engine block vectors and primes the output FIFO.
    void prepare(int engineBlockSize);
    // Frees the FIFO storage; process puts out silence until the next prepare.
    void release();

    bool isPrepared() const { return inputFifoBuffer.getNumSamples() == fifoCapacity; }
    int getEngineBlockSize() const { return engineBlockSize; }
    int getLatencySamples() const { return engineBlockSize; }

    // Moves numFrames frames of input through the FIFOs, calling runEngineBlock(inputs, outputs,
    // frames) with two channels of engineBlockSize frames each time a whole engine block is waiting,
    // and fills the output with as many frames. A null inputRight feeds inputLeft to both engine
    // channels, no input at all feeds silence; a null outputRight is left alone. Input and output may
    // be the same memory.
    template <typename RunEngineBlock>
    void process(const float* inputLeft, const float* inputRight, float* outputLeft, float* outputRight,
                 int numFrames, RunEngineBlock&& runEngineBlock)
    {
        if (!isPrepared())
        {
            silence(outputLeft, outputRight, 0, numFrames);
            return;
        }
        for (int offset = 0; offset < numFrames;)
        {
            const int frames = juce::jmin(maximumFramesPerPass, numFrames - offset);
            const float* left = inputLeft != nullptr ? inputLeft + offset : nullptr;
            const float* right = inputRight != nullptr ? inputRight + offset : left;
            // While nothing waits in the input FIFO, whole engine blocks go to the engine straight from
            // the host's buffer (whose output is written only after the pass): the same blocks as
            // through the FIFO, without two of its copies.
            int direct = 0;
            if (left != nullptr && inputFifo.getNumReady() == 0)
                for (; direct + engineBlockSize <= frames && outputFifo.getFreeSpace() >= engineBlockSize;
                     direct += engineBlockSize)
                {
                    const std::array<const float*, 2> inputs{left + direct, right + direct};
                    runIntoOutputFifo(inputs.data(), runEngineBlock);
                }
            writeInput(left != nullptr ? left + direct : nullptr, inputRight != nullptr ? right + direct : nullptr,
                       frames - direct);
            while (engineBlockIsWaiting())
            {
                takeEngineInput();
                runIntoOutputFifo(engineInputChannels.data(), runEngineBlock);
            }
            readOutput(outputLeft + offset, outputRight != nullptr ? outputRight + offset : nullptr, frames);
            offset += frames;
        }
    }

private:
    // One engine block into the output FIFO: written there by the engine itself where the block lies
    // in one piece (always, while every host block is a whole number of engine blocks), else through
    // the engine output vectors.
    template <typename RunEngineBlock>
    void runIntoOutputFifo(const float* const* inputs, RunEngineBlock& runEngineBlock)
    {
        const juce::AbstractFifo::ScopedWrite region(outputFifo, engineBlockSize);
        if (region.blockSize1 == engineBlockSize)
        {
            const std::array<float*, 2> outputs{outputFifoBuffer.getWritePointer(0, region.startIndex1),
                                                outputFifoBuffer.getWritePointer(1, region.startIndex1)};
            runEngineBlock(inputs, outputs.data(), engineBlockSize);
            return;
        }
        runEngineBlock(inputs, engineOutputChannels.data(), engineBlockSize);
        putEngineOutput(region);
    }

    void writeInput(const float* left, const float* right, int frames);
    bool engineBlockIsWaiting() const;
    void takeEngineInput();
    void putEngineOutput(const juce::AbstractFifo::ScopedWrite& region);
    void readOutput(float* left, float* right, int frames);
    static void silence(float* left, float* right, int from, int to);

    int engineBlockSize = 128;
    juce::AbstractFifo inputFifo{fifoCapacity};
    juce::AbstractFifo outputFifo{fifoCapacity};
    juce::AudioBuffer<float> inputFifoBuffer;
    juce::AudioBuffer<float> outputFifoBuffer;
    std::array<std::vector<float>, 2> engineInput;
    std::array<std::vector<float>, 2> engineOutput;
    std::array<const float*, 2> engineInputChannels{};
    std::array<float*, 2> engineOutputChannels{};
};
