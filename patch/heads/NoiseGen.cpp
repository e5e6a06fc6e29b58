#include "patch/heads/NoiseGen.h"

#include "patch/core/GeneratedMath.h"
#include "patch/core/SignalBuffer.h"

#include <cmath>

namespace PRT
{

Quillmore::PRTSubpatcher_40::PRTSubpatcher_40() : GeneratedPatcher({"NoiseGen", 0, 2})
{
    number_obj_46.onValue = [this](float amount) { hissGainLeft = hissGainRight = amount * amount; };
    loadmess_obj_26.onFire = [this] { message_obj_15.output(); };
}

void Quillmore::PRTSubpatcher_40::createChildren()
{
    biquad = createChild<PRTSubpatcher_29>();
}

void Quillmore::PRTSubpatcher_40::setupObjects()
{
    message_obj_15.setUp({1.2f});
    number_obj_46.setUp(NumberBox::floatFormat);
    seedRandomStateFromClock(noiseStateLeft, seedOffset);
    seedRandomStateFromClock(noiseStateRight, seedOffset);
    biquad->setupObjects();
}

void Quillmore::PRTSubpatcher_40::processBlock(const SampleValue* const*, SampleValue* const* outputs, Index n)
{
    fillSignalRange(outputs[0], n, 0.0f, 0);
    fillSignalRange(outputs[1], n, 0.0f, 0);
}

Quillmore::PRTSubpatcher_40::PRTSubpatcher_29::PRTSubpatcher_29() : GeneratedPatcher({"Biquad", 2, 2})
{
    loadbang_obj_1.onFire = [this] { message_obj_41.output(); };
    loadbang_obj_4.onFire = [this] { message_obj_3.output(); };
    message_obj_41.onOutput = [this](const list& mode) { filterMode = static_cast<int64_t>(firstElement(mode)); };
    message_obj_3.onOutput = [this](const list& q) { filterQ = firstElement(q); };
}

void Quillmore::PRTSubpatcher_40::PRTSubpatcher_29::setFrequencyInput(float noiseFreq)
{
    const float s = scaleValue(noiseFreq, frequencyInLow, frequencyInHigh, frequencyOutLow, frequencyOutHigh, 1.0f);
    float hz = 440.0f * std::pow(2.0f, ((s / 127.0f) * 119.589417f + 15.48682f - 69.0f) / 12.0f);
    if (std::isnan(hz))
        hz = 0.0f;
    numberTilde_obj_32.setNumberTildeInput(hz);
}

void Quillmore::PRTSubpatcher_40::PRTSubpatcher_29::setupObjects()
{
    message_obj_41.setUp({2.0f});
    numberTilde_obj_32.setUp(SignalMonitor::RampToSetValue);
    message_obj_3.setUp({0.2f});
    numberTilde_obj_18.setUp(SignalMonitor::RampToSetValue);
}

} // namespace PRT
