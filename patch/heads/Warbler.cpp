#include "patch/heads/Warbler.h"

#include "patch/core/GeneratedMath.h"
#include "patch/core/SignalBuffer.h"

#include <cmath>

namespace PRT
{

Quillmore::PRTSubpatcher_54::PRTSubpatcher_54() : GeneratedPatcher({"Warbler", 2, 2, 3, 3})
{
    forwardsMusicalTime = true;
    number_obj_156.onValue = [this](float value) { instabilityNoiseGain = instabilityDepth = value; };
    number_obj_18.setRange(0.0f, 1.0f);
    number_obj_18.onValue = [this](float amount) {
        stDrift->updateTime(getTime());
        stDrift->setAmount(amount);
    };
    number_obj_36.setRange(0.0f, 1.0f);
    number_obj_36.onValue = [this](float depth) { flutterDepthTarget = depth; };
    number_obj_19.setRange(0.01f, 5.0f);
    number_obj_19.onValue = [this](float hz) { wowRateHz = hz; };
    number_obj_28.setRange(0.0f, 1.0f);
    number_obj_28.onValue = [this](float depth) { wowDepthTarget = depth; };
    number_obj_27.setRange(0.0f, 1000.0f);
    number_obj_27.onValue = [this](float depth) { masterDepthTarget = depth; };
    number_obj_79.onValue = [this](float gain) { blipsGain = gain; };
}

void Quillmore::PRTSubpatcher_54::createChildren()
{
    stDrift = createChild<PRTSubpatcher_37>();
    damageCrinkleL = createChild<PRTSubpatcher_38>();
}

void Quillmore::PRTSubpatcher_54::setInstabilityInput(float instability)
{
    number_obj_156.setNumberValue(instability * 0.0085f);
    const float rateDepth = std::pow(instability * 0.01f, 0.8f);
    instabilityRateDepth = std::isnan(rateDepth) ? 0.0f : rateDepth;
    button_obj_284.bangButton();
}

void Quillmore::PRTSubpatcher_54::setDriftInput(float drift)
{
    driftAmount = drift * 0.01f;
    button_obj_302.bangButton();
    number_obj_18.setNumberValue(driftAmount);
}

void Quillmore::PRTSubpatcher_54::setFlutterInput(float flutter)
{
    number_obj_36.setNumberValue(flutter * 0.01f);
}

void Quillmore::PRTSubpatcher_54::setWowInput(float wow)
{
    wowAmount = wow * 0.01f;
    button_obj_285.bangButton();
    number_obj_28.setNumberValue(wow * 0.005f);
}

void Quillmore::PRTSubpatcher_54::setMasterInput(float masterWarble)
{
    reportGainL = reportGainR = masterWarble * 0.01f;
    number_obj_27.setNumberValue(masterWarble * 10.0f);
}

void Quillmore::PRTSubpatcher_54::setBlipsInput(float blips)
{
    blipsAmount = blips * 0.01f;
    number_obj_79.setNumberValue(3.0f * safeSqrt(blipsAmount));
    button_obj_293.bangButton();
    damageCrinkleL->updateTime(getTime());
    damageCrinkleL->number_obj_10.setNumberValue(blips);
}

void Quillmore::PRTSubpatcher_54::setupObjects()
{
    // 200 ms of tape at the sample rate, in the power of two that holds them.
    const float samples = std::floor(getSampleRate() / 5.0f);
    const auto capacity = static_cast<size_t>(nextPowerOfTwo(static_cast<uint64_t>(samples < 2.0f ? 2.0f : samples)));
    delaytilde_07_del_bufferobj.requestFrames(capacity);
    delaytilde_08_del_bufferobj.requestFrames(capacity);
    for (NumberBox* box : {&number_obj_156, &number_obj_18, &number_obj_36, &number_obj_19, &number_obj_28,
                           &number_obj_27, &number_obj_79})
        box->setUp(NumberBox::floatFormat);
    damageCrinkleL->number_obj_10.setUp(NumberBox::floatFormat);
    stDrift->instability->number_obj_28.setUp(NumberBox::floatFormat);
}

void Quillmore::PRTSubpatcher_54::onClock(ClockId clockId, bool hasValue, ParameterValue value)
{
    if (!hasValue || (clockId != leftReportClock && clockId != rightReportClock))
        return;
    // A warble of 0.5 is no deflection.
    const float report = value * reportScale + reportOffset;
    Quillmore& top = static_cast<Quillmore&>(getTopLevel());
    if (clockId == rightReportClock)
    {
        top.updateTime(getTime());
        top.applyParameterValue(params::WarbleR, report);
        slider_obj_371.setSliderFromRange(report, 0.0f, 1.0f);
    }
    else
    {
        slider_obj_370.setSliderFromRange(report, 0.0f, 1.0f);
        top.updateTime(getTime());
        top.applyParameterValue(params::WarbleL, report);
    }
}

void Quillmore::PRTSubpatcher_54::processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n)
{
    copySignal(inputs[0], outputs[0], n);
    copySignal(inputs[1], outputs[1], n);
    for (int extra = 2; extra < 5; ++extra)
        fillSignalRange(outputs[extra], n, 0.0f, 0);
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_37::createChildren()
{
    instability = createChild<PRTSubpatcher_36>();
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_37::setAmount(float amount)
{
    driftAmount = amount;
    instability->updateTime(getTime());
    instability->number_obj_28.setNumberValue(amount);
}

} // namespace PRT
