#include "patch/core/SpringModelA.h"

#include "patch/core/SignalBuffer.h"
#include "runtime/EngineInterface.h"

namespace PRT
{

void SpringModelA::setUpDelayLines(EngineInterface* engine)
{
    for (int k = 0; k < numDelayLines; ++k)
    {
        DelayLine& line = delayLines[static_cast<size_t>(k)];
        if (!line.view)
            continue;
        const DelaySize size = delaySizeOf(k);
        line.maximumDelay = size.maximumDelay;
        line.extraState = 0.0;

        Float64Buffer& storage = *line.view;
        storage.setSize(static_cast<size_t>(size.storage));
        if (engine != nullptr)
            engine->sendDataRefUpdated(k);
        const size_t frames = storage.getSize();
        line.wrapMask = frames > 0 ? static_cast<uint64_t>(frames) - 1 : 0;
        double* samples = storage.getData();
        for (size_t i = 0; i < frames && samples != nullptr; ++i)
            samples[i] = 0.0;

        if (line.readPosition >= line.maximumDelay || line.writePosition >= line.maximumDelay)
            line.readPosition = line.writePosition = 0;
    }
    dcPreviousInputLeft = dcPreviousOutputLeft = 0.0f;
    dcPreviousInputRight = dcPreviousOutputRight = 0.0f;
}

void SpringModelA::gen01Perform(const SampleValue*, const SampleValue*, Controls, float, SampleValue* out1,
                                SampleValue* out2, Index n)
{
    fillSignalRange(out1, n, 0.0f, 0);
    fillSignalRange(out2, n, 0.0f, 0);
}

} // namespace PRT
