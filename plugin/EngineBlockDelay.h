#pragma once

#include <array>
#include <vector>

// Holds the engine's input for one engine block, so that the host's bypass answers exactly as late as
// the patch, which works on the previous block's input on every path. It keeps every block, bypassed
// or not, so that switching the bypass neither jumps in time nor plays stale audio.
//
// prepare runs while no block is processed; process belongs to the audio thread and neither allocates
// nor locks.
class EngineBlockDelay
{
public:
    // Sizes both channels to blockSize samples of silence.
    void prepare(int blockSize);

    // Writes the previous block into outputs when writeOutputs, then keeps the inputs. frames must be
    // the prepared block size; inputs and outputs must not overlap.
    void process(const float* const* inputs, float* const* outputs, int frames, bool writeOutputs);

private:
    std::array<std::vector<float>, 2> previous;
};
