#include "patch/space/EchoFilter.h"

#include "patch/core/SteadySignal.h"
#include "runtime/EngineInterface.h"

#include <algorithm>

namespace PRT
{

Quillmore::PRTSubpatcher_48::PRTSubpatcher_33::PRTSubpatcher_33() : GeneratedPatcher({"Biquad", 3, 2})
{
    message_obj_24.onOutput = [this](const list& report) { reportFrequency(report); };
    message_obj_17.onOutput = [this](const list& timer) {
        if (timer.size() >= 2)
            reportInterval = timer[1] > 0.0f ? timer[1] : 0.0f;
        setReportTimerOn(timer.size() >= 1 ? timer[0] : 0.0f);
    };
    loadbang_obj_18.onFire = [this] { message_obj_17.output(); };
    numberTilde_obj_21.onReport = [this](float swept) { message_obj_24.sendMessageBoxList(swept); };
}

void Quillmore::PRTSubpatcher_48::PRTSubpatcher_33::setupObjects()
{
    numberTilde_obj_30.setUp(SignalMonitor::RampToSetValue);
    numberTilde_obj_32.setUp(SignalMonitor::RampToSetValue);
    numberTilde_obj_21.setUp(SignalMonitor::FollowInput);
    numberTilde_obj_15.setUp(SignalMonitor::FollowInput);
    message_obj_24.setUp({809.3333f});
    message_obj_17.setUp({1.0f});
}

void Quillmore::PRTSubpatcher_48::PRTSubpatcher_33::scheduleLoadClocks()
{
    GeneratedPatcher::scheduleLoadClocks();
    if (reportTimerOn != 0.0f)
        setReportTimerOn(1.0f);
}

void Quillmore::PRTSubpatcher_48::PRTSubpatcher_33::setReportTimerOn(float on)
{
    reportTimerOn = on;
    if (EngineInterface* engine = getEngine())
        engine->flushClockEvents(this, clocks::periodicTick, false);
    if (on != 0.0f)
        scheduleOwnClock(clocks::periodicTick, 0.0);
}

void Quillmore::PRTSubpatcher_48::PRTSubpatcher_33::onClock(ClockId clockId, bool, ParameterValue)
{
    if (clockId != clocks::periodicTick)
        return;
    message_obj_24.output();
    if (EngineInterface* engine = getEngine())
        engine->flushClockEvents(this, clocks::periodicTick, false);
    // An interval of 0 would tick at the same time for ever: one sample is the shortest.
    if (reportTimerOn != 0.0f)
        scheduleOwnClock(clocks::periodicTick, std::max(reportInterval, 1000.0f * getInvSampleRate()));
}

void Quillmore::PRTSubpatcher_48::PRTSubpatcher_33::reportFrequency(const list& report)
{
    GeneratedPatcher* echoCore = getPatcher();
    if (echoCore == nullptr)
        return;
    echoCore->updateTime(getTime());
    Quillmore* top = dynamic_cast<Quillmore*>(&getTopLevel());
    if (top == nullptr) // a test's stand-in top level
        return;
    top->updateTime(getTime());
    if (report.size() >= 2)
    {
        top->applyParameterValue(params::EchoFiltMeter,
                                 top->convertFromNormalizedParameterValue(params::EchoFiltMeter, report[1]));
        top->applyParameterValue(params::EchoFiltMeter, report[0]);
    }
    else
    {
        top->applyParameterValue(params::EchoFiltMeter, report.size() == 1 ? report[0] : 0.0f);
    }
}

void Quillmore::PRTSubpatcher_48::PRTSubpatcher_33::prepareSignalObjects(bool changed)
{
    filter.prepare(getSampleRate(), static_cast<std::uint32_t>(getBlockSize()), filterMode, changed);
}

void Quillmore::PRTSubpatcher_48::PRTSubpatcher_33::processBlock(const SampleValue* const* inputs,
                                                                 SampleValue* const* outputs, Index n)
{
    // The two set values have no signal input: they output their targets, and never report.
    numberTilde_obj_30.process(getZeroBuffer(), q.get(), n);
    numberTilde_obj_32.process(getZeroBuffer(), frequency.get(), n);

    const SampleValue* target = frequency.get();
    const SampleValue* lfo = inputs[2];
    SampleValue* d = sweep.get();
    SampleValue* f = swept.get();
    float s = freqSmoothed;
    // Once a step leaves S as it was on a target that holds one value over the block, S stands still:
    // the rest of the sweep has no recursion left.
    const bool oneTarget = holdsOneValue(target, n);
    Index i = 0;
    while (i < n)
    {
        const float before = s;
        s += (target[i] - s) * 0.002f;
        d[i] = lfo[i] * s;
        f[i] = s + d[i];
        ++i;
        if (oneTarget && sameBits(s, before))
            break;
    }
    for (; i < n; ++i)
    {
        d[i] = lfo[i] * s;
        f[i] = s + d[i];
    }
    freqSmoothed = s;
    scope_obj_16.process(d, n);
    numberTilde_obj_15.process(d, nullptr, n);

    const SampleValue* qs = q.get();
    filter.process(inputs[0], inputs[1], outputs[0], outputs[1], n,
                   [&](Index i) { return dsp::FilterSettings{f[i], qs[i], 1.0f, filterMode}; });

    numberTilde_obj_21.process(f, nullptr, n);
    scope_obj_14.process(f, n);
}

} // namespace PRT
