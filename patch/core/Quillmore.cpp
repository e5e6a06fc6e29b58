#include "patch/core/Quillmore.h"

#include "patch/core/SignalBuffer.h"

namespace PRT
{

void Quillmore::prepareToProcess(float sampleRate, Index maxBlockSize, bool force)
{
    GeneratedPatcher::prepareToProcess(sampleRate, maxBlockSize, force);
    prepareMusicalTime();
}

void Quillmore::processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n)
{
    // Until the modules are routed, the input passes straight through.
    copySignal(inputs[0], outputs[0], n);
    copySignal(inputs[1], outputs[1], n);
    endBlockMusicalTime(n);
}

} // namespace PRT
