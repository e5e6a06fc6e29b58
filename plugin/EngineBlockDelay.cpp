#include "plugin/EngineBlockDelay.h"

#include <algorithm>

void EngineBlockDelay::prepare(int blockSize)
{
    for (auto& channel : previous)
        channel.assign(static_cast<size_t>(blockSize), 0.0f);
}

void EngineBlockDelay::process(const float* const* inputs, float* const* outputs, int frames, bool writeOutputs)
{
    for (size_t channel = 0; channel < previous.size(); ++channel)
    {
        float* kept = previous[channel].data();
        if (writeOutputs)
            std::copy_n(kept, frames, outputs[channel]);
        std::copy_n(inputs[channel], frames, kept);
    }
}
