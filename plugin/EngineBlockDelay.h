#pragma once

#include <array>
#include <vector>

// Holds the engine's input back by one engine block and the patch's sample beyond it, so that the
// host's bypass answers exactly as late as the patch, which works on the previous block's input and
// is one sample later still on every path. It keeps every block, bypassed or not, so that switching
// the bypass neither jumps in time nor plays stale audio.
//
// prepare runs while no block is processed; process belongs to the audio thread and neither allocates
// nor locks.
class EngineBlockDelay
{
public:
    // Sizes both channels for blockSize samples and fills the delay with silence.
    void prepare(int blockSize);

    // Writes the delayed input into outputs when writeOutputs, then keeps the inputs. frames must be
    // the prepared block size; inputs and outputs must not overlap.
    void process(const float* const* inputs, float* const* outputs, int frames, bool writeOutputs);

private:
    // The samples still to come out: the ones beyond the block first, then the last block's input.
    std::array<std::vector<float>, 2> held;
};
