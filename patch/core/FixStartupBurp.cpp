#include "patch/core/FixStartupBurp.h"

namespace PRT
{

Quillmore::PRTSubpatcher_56::PRTSubpatcher_56() : GeneratedPatcher({"FixStartupBurp", 0, 2})
{
    loadBang.onFire = [this] { button.bangButton(); };
    button.onBang = [this] {
        burstContent.output();
        rampContent.output();
    };
    rampContent.onOutput = [this](const list& values) { rampLine.receiveValues(values); };
    burstContent.onOutput = [this](const list& values) { burstLine.receiveValues(values); };

    rampLine.onOutput = [this](float value) {
        rampSignal.set(value);
        if (GeneratedPatcher* parent = getPatcher())
            parent->updateTime(getTime());
        if (onRampValue)
            onRampValue(value);
    };
    burstLine.onOutput = [this](float value) { burstSignal.set(value); };
}

void Quillmore::PRTSubpatcher_56::setupObjects()
{
    rampContent.setUp({0, 0, 0, 300, 1, 200});
    rampSignal.setLastValue(rampLine.getValue());
    burstContent.setUp({0, 0, 0.3f, 5, 0.3f, 10, 0, 5});
    burstSignal.setLastValue(burstLine.getValue());
    noise.seedFromClock(0);
}

void Quillmore::PRTSubpatcher_56::processBlock(const SampleValue* const*, SampleValue* const* outputs, Index n)
{
    rampSignal.render(outputs[0], n);

    SampleValue* burst = burstAmplitude.get();
    SampleValue* white = noiseSignal.get();
    burstSignal.render(burst, n);
    // The noise burst only for a caller that takes it (the top level discards it).
    if (outputs[1] == getDummyBuffer())
        return;
    for (Index i = 0; i < n; ++i)
        white[i] = noise.next();
    for (Index i = 0; i < n; ++i)
        outputs[1][i] = white[i] * burst[i];
}

} // namespace PRT
