#include "runtime/NullPatcher.h"

#include <algorithm>

namespace PRT
{

void NullPatcher::prepareToProcess(float newSampleRate, Index maxBlockSize, bool)
{
    sampleRate = newSampleRate;
    blockSize = maxBlockSize;
}

void NullPatcher::process(const SampleValue* const*, Index, SampleValue* const* outputs, Index numOutputs,
                          Index sampleFrames)
{
    for (Index channel = 0; channel < numOutputs; ++channel)
        if (outputs[channel] != nullptr)
            std::fill(outputs[channel], outputs[channel] + sampleFrames, SampleValue(0));
}

} // namespace PRT
