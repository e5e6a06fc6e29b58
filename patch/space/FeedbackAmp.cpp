#include "patch/space/FeedbackAmp.h"

#include "patch/core/Arctangent.h"

#include <cmath>

namespace PRT
{

Quillmore::PRTSubpatcher_48::PRTSubpatcher_32::PRTSubpatcher_32() : GeneratedPatcher({"FeedbackAmp", 2, 2})
{
    number_obj_69.setRange(0.0f, 120.0f);
    number_obj_69.onValue = [this](float percent) {
        feedback = percent;
        const float g = std::pow(percent * 0.01f, 0.7f);
        gainTarget = std::isnan(g) ? 0.0f : g;
    };
    numberTilde_obj_35.onReport = [this](float g) { slider_obj_7.setSliderFromRange(g, 0.0f, 1.0f); };
}

void Quillmore::PRTSubpatcher_48::PRTSubpatcher_32::setupObjects()
{
    numberTilde_obj_35.setUp(SignalMonitor::FollowInput);
    number_obj_69.setUp(NumberBox::floatFormat);
}

void Quillmore::PRTSubpatcher_48::PRTSubpatcher_32::processBlock(const SampleValue* const* inputs,
                                                                 SampleValue* const* outputs, Index n)
{
    // The gain is read once per block: a new EchoFdbck glides from the block's first sample.
    const SampleValue* g = gain.render(gainTarget, n);
    SampleValue* aL = atanL.get();
    SampleValue* aR = atanR.get();
    dsp::arctangent(inputs[0], aL, n);
    dsp::arctangent(inputs[1], aR, n);
    SampleValue* outL = outputs[0];
    SampleValue* outR = outputs[1];
    for (Index i = 0; i < n; ++i)
    {
        outR[i] = aR[i] * g[i];
        outL[i] = aL[i] * g[i];
    }
    numberTilde_obj_35.process(g, nullptr, n);
}

} // namespace PRT
