#include "patch/heads/TapeStopper.h"

#include "patch/core/GeneratedMath.h"
#include "patch/core/SignalBuffer.h"

namespace PRT
{

Quillmore::PRTSubpatcher_53::PRTSubpatcher_53() : GeneratedPatcher({"TapeStopper", 2, 3})
{
    toggle_obj_136.onValue = [this](float stopped) { tapeStopped = stopped; };
    number_obj_11.onValue = [this](float factor) { crossfadeBackFactor = factor; };
}

void Quillmore::PRTSubpatcher_53::setInertiaInput(float inertia)
{
    inertiaInput = inertia;
    message_obj_112.sendMessageBoxList(inertia * inertiaFactor);
    message_obj_112.output();
    number_obj_11.setNumberValue(scaleValue(inertia, 500.0f, 3000.0f, 0.333f, 0.13f, 1.0f));
}

void Quillmore::PRTSubpatcher_53::setupObjects()
{
    // Two seconds of tape at the sample rate, in the power of two that holds them.
    const float samples = 2.0f * getSampleRate();
    const auto capacity = static_cast<size_t>(nextPowerOfTwo(static_cast<uint64_t>(samples < 2.0f ? 2.0f : samples)));
    delaytilde_05_del_bufferobj.requestFrames(capacity);
    delaytilde_06_del_bufferobj.requestFrames(capacity);
    number_obj_11.setUp(NumberBox::floatFormat);
}

void Quillmore::PRTSubpatcher_53::processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n)
{
    copySignal(inputs[0], outputs[0], n);
    copySignal(inputs[1], outputs[1], n);
    fillSignalRange(outputs[2], n, 1.0f, 0);
}

} // namespace PRT
