#include "patch/space/DryWetSprings.h"

#include "patch/core/DryGainForWet.h"
#include "patch/core/FourLanes.h"

#include <cmath>

namespace PRT
{

Quillmore::PRTSubpatcher_46::PRTSubpatcher_46() : GeneratedPatcher({"DryWetSprings", 6, 2})
{
    slider_obj_37.onValue = [this](float target) { blendTarget = target; };
    number_obj_53.onValue = [this](float mode) { mixMode = mode; };
    // Each monitor's report moves its display slider.
    auto show = [](Slider& slider) {
        return [&slider](float value) { slider.setSliderFromRange(value, 0.0f, 1.0f); };
    };
    numberTilde_obj_47.onReport = show(slider_obj_40);
    numberTilde_obj_36.onReport = show(slider_obj_41);
    numberTilde_obj_45.onReport = show(slider_obj_72);
    numberTilde_obj_46.onReport = show(slider_obj_48);
}

void Quillmore::PRTSubpatcher_46::setBlendInput(float springAB)
{
    blendInput = springAB;
    blendProduct = springAB * blendFactor;
    slider_obj_37.setSliderFromRange(blendProduct, 0.0f, 1.0f);
}

void Quillmore::PRTSubpatcher_46::setupObjects()
{
    numberTilde_obj_47.setUp(SignalMonitor::FollowInput);
    numberTilde_obj_36.setUp(SignalMonitor::FollowInput);
    numberTilde_obj_46.setUp(SignalMonitor::FollowInput);
    numberTilde_obj_45.setUp(SignalMonitor::FollowInput);
    number_obj_53.setUp(NumberBox::floatFormat);
}

void Quillmore::PRTSubpatcher_46::processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n)
{
    SampleValue* ab = blendSignal.get();
    SampleValue* wA = aWeight.get();
    SampleValue* m = mixSignal.get();
    SampleValue* d = drySignal.get();
    // A NaN that reached a target or a one-pole (a host's NaN parameter) would stay in the one-pole
    // for good: a one-pole that is not finite starts again from 0, a target that is not finite is held.
    for (dsp::OnePoleSmoother* smoother : {&blend, &mix, &dry})
        if (!std::isfinite(smoother->value()))
            smoother->setValue(0.0f);
    const float toBlend = std::isfinite(blendTarget) ? blendTarget : blend.value();
    const float toMix = std::isfinite(mixTarget) ? mixTarget : mix.value();
    const float mode = std::isfinite(mixMode) ? mixMode : 0.0f;
    // The one-poles settle within seconds of a change; a settled one costs a fill (render), and the
    // dry gain's target only moves while the mix does.
    blend.render(ab, n, toBlend);
    for (Index i = 0; i < n; ++i)
        wA[i] = 1.0f - ab[i] * ab[i];
    const float mixBefore = mix.value();
    mix.render(m, n, toMix);
    if (n > 0 && m[0] == mixBefore)
        dry.render(d, n, dsp::dryGainForWet(mixBefore, mode));
    else
        for (Index i = 0; i < n; ++i)
            d[i] = dry.next(dsp::dryGainForWet(m[i], mode));
    // Nobody reads the monitors' outputs: only their reports count.
    numberTilde_obj_47.process(wA, nullptr, n);
    numberTilde_obj_36.process(ab, nullptr, n);
    numberTilde_obj_45.process(m, nullptr, n);
    numberTilde_obj_46.process(d, nullptr, n);

    const SampleValue* wL = inputs[0];
    const SampleValue* wR = inputs[1];
    const SampleValue* aL = inputs[2];
    const SampleValue* aR = inputs[3];
    const SampleValue* bL = inputs[4];
    const SampleValue* bR = inputs[5];
    SampleValue* outL = outputs[0];
    SampleValue* outR = outputs[1];
    // Four samples at once, spelled out: an output may be one of the inputs, which keeps the compiler
    // from vectorising the loop itself; loads and stores keep the order of the samples one by one.
    using lanes::FourFloats;
    const auto four = [](const SampleValue* from) { return lanes::load(from, FourFloats{}); };
    Index i = 0;
    for (; i + 4 <= n; i += 4)
    {
        const FourFloats abI = four(ab + i), wAI = four(wA + i), mI = four(m + i), dI = four(d + i);
        const FourFloats springR = four(bR + i) * abI + wAI * four(aR + i);
        const FourFloats springL = four(bL + i) * abI + wAI * four(aL + i);
        const FourFloats r = dI * four(wR + i) + springR * mI;
        lanes::store(outR + i, r);
        // Read after the right output's store, as one by one.
        const FourFloats l = dI * four(wL + i) + springL * mI;
        lanes::store(outL + i, l);
    }
    for (; i < n; ++i)
    {
        const float springR = bR[i] * ab[i] + wA[i] * aR[i];
        const float springL = bL[i] * ab[i] + wA[i] * aL[i];
        outR[i] = d[i] * wR[i] + springR * m[i];
        outL[i] = d[i] * wL[i] + springL * m[i];
    }
}

} // namespace PRT
