#include "patch/space/SpringsHighPass.h"

namespace PRT
{

Quillmore::PRTSubpatcher_45::PRTSubpatcher_45() : GeneratedPatcher({"SpringsHighPass", 2, 2})
{
    loadbang.onFire = [this] {
        numberTilde_obj_30.setNumberTildeInput(loadBangValue);
        numberTilde_obj_18.setNumberTildeInput(loadBangValue);
    };
}

void Quillmore::PRTSubpatcher_45::setupObjects()
{
    numberTilde_obj_32.setUp(SignalMonitor::RampToSetValue);
    numberTilde_obj_18.setUp(SignalMonitor::RampToSetValue);
    numberTilde_obj_30.setUp(SignalMonitor::RampToSetValue);
}

void Quillmore::PRTSubpatcher_45::prepareSignalObjects(bool changed)
{
    if (filterSetUp && !changed)
        return;
    filterSetUp = true;
    updater.prepare(getSampleRate(), static_cast<std::uint32_t>(getBlockSize()), filterMode);
    left.reset();
    right.reset();
}

void Quillmore::PRTSubpatcher_45::processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n)
{
    // The signal objects have no signal input: in pass-through mode they give 0, and their
    // monitors never report.
    numberTilde_obj_32.process(getZeroBuffer(), cutoff.get(), n);
    numberTilde_obj_18.process(getZeroBuffer(), gain.get(), n);
    numberTilde_obj_30.process(getZeroBuffer(), q.get(), n);

    const SampleValue* xL = inputs[0];
    const SampleValue* xR = inputs[1];
    SampleValue* yL = outputs[0];
    SampleValue* yR = outputs[1];
    for (Index i = 0; i < n; ++i)
    {
        const dsp::BiquadCoefficients& c = updater.next(cutoff[i], q[i], gain[i], filterMode);
        yL[i] = left.process(xL[i], c);
        yR[i] = right.process(xR[i], c);
    }
}

} // namespace PRT
