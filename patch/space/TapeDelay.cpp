#include "patch/space/TapeDelay.h"

#include "patch/core/GeneratedMath.h"
#include "runtime/EngineInterface.h"

namespace PRT
{
namespace
{
// The five seconds of echo at the sample rate, in the power of two that holds them.
size_t delayCapacity(float sampleRate)
{
    const float samples = 5.0f * sampleRate;
    const auto maximumDelay = static_cast<uint64_t>(samples < 2.0f ? 2.0f : samples);
    return static_cast<size_t>(nextPowerOfTwo(maximumDelay));
}
} // namespace

Quillmore::PRTSubpatcher_48::PRTSubpatcher_48() : GeneratedPatcher({"TapeDelayOG", 2, 2})
{
    forwardsMusicalTime = true;
    number_obj_132.setRange(-1.0f, 1.0f);
    number_obj_132.onValue = [this](float offset) { stereoOffset = offset; };
    number_obj_68.onValue = [this](float rate) { lfoRate = rate; };
    number_obj_48.onValue = [this](float time) {
        echoTimeMs = time;
        message_obj_42.sendMessageBoxList(time);
    };
    toggle_obj_113.onValue = [this](float on) { syncWeight = on; };
    number_obj_101.setRange(0.0f, 18.0f);
    number_obj_101.onValue = [this](float division) { syncDivision = division; };
}

void Quillmore::PRTSubpatcher_48::createChildren()
{
    feedbackAmp = createChild<PRTSubpatcher_32>();
    biquad = createChild<PRTSubpatcher_33>();
}

void Quillmore::PRTSubpatcher_48::setLfoAmountInput(float amount)
{
    lfoAmountInput = amount;
    lfoAmount = amount * lfoAmountFactor;
}

void Quillmore::PRTSubpatcher_48::setHostTempoInput(float tempo)
{
    message_obj_30.sendMessageBoxList(tempo);
    hostTempo = firstElement(message_obj_30.getContent());
    button_obj_108.bangButton();
}

void Quillmore::PRTSubpatcher_48::setSyncOnInput(float syncOn)
{
    if (EngineInterface* engine = getEngine())
    {
        if (!syncDelayKeepsAll)
            engine->flushClockEvents(this, syncDelayClock, false);
        engine->scheduleClockEvent(this, syncDelayClock, getTime() + syncDelayMs);
    }
    toggle_obj_113.setToggleValue(syncOn);
}

void Quillmore::PRTSubpatcher_48::setupObjects()
{
    const size_t capacity = delayCapacity(getSampleRate());
    delaytilde_01_del_bufferobj.requestFrames(capacity);
    delaytilde_02_del_bufferobj.requestFrames(capacity);
    number_obj_132.setUp(NumberBox::floatFormat);
    number_obj_68.setUp(NumberBox::floatFormat);
    number_obj_48.setUp(NumberBox::floatFormat);
    number_obj_101.setUp(0);
    feedbackAmp->setupObjects();
    biquad->setupObjects();
}

void Quillmore::PRTSubpatcher_48::allocateDataRefs()
{
    // The LFO reads the top level's cosine table: 16384 samples.
    cosineTable.requestFrames(16384, 1, getSampleRate());
    GeneratedPatcher::allocateDataRefs();
}

void Quillmore::PRTSubpatcher_48::processBlock(const SampleValue* const*, SampleValue* const* outputs, Index n)
{
    fillSignalRange(outputs[0], n, 0.0f, 0);
    fillSignalRange(outputs[1], n, 0.0f, 0);
}

Quillmore::PRTSubpatcher_48::PRTSubpatcher_32::PRTSubpatcher_32() : GeneratedPatcher({"FeedbackAmp", 2, 2})
{
    number_obj_69.setRange(0.0f, 120.0f);
    number_obj_69.onValue = [this](float percent) { feedback = percent; };
}

Quillmore::PRTSubpatcher_48::PRTSubpatcher_33::PRTSubpatcher_33() : GeneratedPatcher({"Biquad", 3, 2})
{
    message_obj_24.onOutput = [this](const list& report) { reportFrequency(report); };
    message_obj_17.onOutput = [this](const list& timer) {
        if (timer.size() >= 2)
            reportInterval = timer[1] > 0.0f ? timer[1] : 0.0f;
        setReportTimerOn(timer.size() >= 1 ? timer[0] : 0.0f);
    };
    loadbang.onFire = [this] { message_obj_17.output(); };
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

void Quillmore::PRTSubpatcher_48::PRTSubpatcher_33::reportFrequency(const list& report)
{
    Quillmore& top = static_cast<Quillmore&>(getTopLevel());
    top.updateTime(getPatcher()->getTime());
    if (report.size() >= 2)
    {
        top.applyParameterValue(params::EchoFiltMeter,
                                top.convertFromNormalizedParameterValue(params::EchoFiltMeter, report[1]));
        top.applyParameterValue(params::EchoFiltMeter, report[0]);
    }
    else
    {
        top.applyParameterValue(params::EchoFiltMeter, report.size() == 1 ? report[0] : 0.0f);
    }
}

} // namespace PRT
