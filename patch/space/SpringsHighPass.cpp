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
    filter.prepare(getSampleRate(), static_cast<std::uint32_t>(getBlockSize()), filterMode, changed);
}

void Quillmore::PRTSubpatcher_45::processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n)
{
    // The signal objects have no signal input: in pass-through mode they give 0, and their
    // monitors never report.
    numberTilde_obj_32.process(getZeroBuffer(), cutoff.get(), n);
    numberTilde_obj_18.process(getZeroBuffer(), gain.get(), n);
    numberTilde_obj_30.process(getZeroBuffer(), q.get(), n);

    filter.process(inputs[0], inputs[1], outputs[0], outputs[1], n,
                   [&](Index i) { return dsp::FilterSettings{cutoff[i], q[i], gain[i], filterMode}; });
}

} // namespace PRT
