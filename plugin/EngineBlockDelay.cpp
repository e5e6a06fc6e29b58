#include "plugin/EngineBlockDelay.h"

#include "patch/core/PatchLatency.h"

#include <algorithm>

namespace
{
constexpr int beyondBlock = PRT::patchSamplesLateBeyondBlock;
}

void EngineBlockDelay::prepare(int blockSize)
{
    for (auto& channel : held)
        channel.assign(static_cast<size_t>(blockSize + beyondBlock), 0.0f);
}

void EngineBlockDelay::process(const float* const* inputs, float* const* outputs, int frames, bool writeOutputs)
{
    for (size_t channel = 0; channel < held.size(); ++channel)
    {
        float* kept = held[channel].data();
        if (writeOutputs)
            std::copy_n(kept, frames, outputs[channel]);
        std::copy_n(kept + frames, beyondBlock, kept);
        std::copy_n(inputs[channel], frames, kept + beyondBlock);
    }
}
