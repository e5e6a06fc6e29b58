#include "patch/space/DryWetDelay.h"

#include "patch/core/DryGainForWet.h"

#include <cmath>

namespace PRT
{

Quillmore::PRTSubpatcher_47::PRTSubpatcher_47() : GeneratedPatcher({"DryWetDelay", 4, 3})
{
    slider_obj_1.onValue = [this](float target) { wetTarget = target; };
    number_obj_38.onValue = [this](float mode) { mixMode = mode; };
    numberTilde_obj_25.onReport = [this](float dryValue) { slider_obj_48.setSliderFromRange(dryValue, 0.0f, 1.0f); };
}

void Quillmore::PRTSubpatcher_47::setMixInput(float echoMixPercent)
{
    mixInput = echoMixPercent;
    const float mix = echoMixPercent * mixFactor;
    slider_obj_1.setSliderFromRange(mix, 0.0f, 1.0f);
    cubeInput = mix;
}

void Quillmore::PRTSubpatcher_47::setupObjects()
{
    numberTilde_obj_25.setUp(SignalMonitor::FollowInput);
    numberTilde_obj_35.setUp(SignalMonitor::FollowInput);
    number_obj_38.setUp(NumberBox::floatFormat);
}

void Quillmore::PRTSubpatcher_47::processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n)
{
    // A target that is not finite (a "valin" of NaN) is not followed: the gains hold.
    const float dryTarget = dsp::dryGainForWet(cubeInput, mixMode);
    const SampleValue* dryGlide = dry.render(std::isfinite(dryTarget) ? dryTarget : dry.value(), n);
    // In ramp mode the dry gain's monitor puts its own value in the gain's place.
    numberTilde_obj_25.process(dryGlide, dryGain.get(), n);
    const SampleValue* w = wet.render(std::isfinite(wetTarget) ? wetTarget : wet.value(), n);
    numberTilde_obj_35.process(w, nullptr, n);

    const SampleValue* d = dryGain.get();
    const SampleValue* xL = inputs[0];
    const SampleValue* xR = inputs[1];
    const SampleValue* eL = inputs[2];
    const SampleValue* eR = inputs[3];
    SampleValue* outL = outputs[0];
    SampleValue* outR = outputs[1];
    SampleValue* feed = outputs[2];
    for (Index i = 0; i < n; ++i)
    {
        const float wetL = w[i] * eL[i];
        const float wetR = w[i] * eR[i];
        outL[i] = d[i] * xL[i] + wetL;
        outR[i] = d[i] * xR[i] + wetR;
        feed[i] = wetL + wetR;
    }
}

} // namespace PRT
