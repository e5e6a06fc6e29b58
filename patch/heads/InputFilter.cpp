#include "patch/heads/InputFilter.h"

#include <algorithm>

namespace PRT
{

Quillmore::PRTSubpatcher_51::PRTSubpatcher_51() : GeneratedPatcher({"InputFilter", 2, 2})
{
    slide.setRise(slideLength);
    slide.setFall(slideLength);
    message_obj_1.onOutput = [this](const list& content) { filterGain = firstOrZero(content); };
    loadbang.onFire = [this] { message_obj_1.output(); };
    button_obj_10.onBang = [this] { runSampleRateChain(getSampleRate()); };
}

void Quillmore::PRTSubpatcher_51::setQInput(float q)
{
    const double value = q;
    filterQ = static_cast<float>(value > maximumQ ? maximumQ : std::max(static_cast<double>(minimumQ), value));
}

void Quillmore::PRTSubpatcher_51::setupObjects()
{
    numberTilde_obj_32.setUp(SignalMonitor::RampToSetValue);
    message_obj_1.setUp({1.0f});
}

void Quillmore::PRTSubpatcher_51::runSampleRateChain(float sampleRate)
{
    lastRateSent = sampleRate;
    slideLength = sampleRate * slideSeconds;
    slide.setRise(slideLength);
    slide.setFall(slideLength);
}

void Quillmore::PRTSubpatcher_51::prepareSignalObjects(bool changed)
{
    if (filterPrepared && !changed)
        return;
    filterPrepared = true;
    updater.prepare(getSampleRate(), static_cast<std::uint32_t>(getBlockSize()), filterMode);
    left.reset();
    right.reset();
    if (getSampleRate() != lastRateSent)
        runSampleRateChain(getSampleRate());
}

void Quillmore::PRTSubpatcher_51::processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n)
{
    SampleValue* c = cutoff.get();
    numberTilde_obj_32.process(getZeroBuffer(), c, n);

    // The glide in place: only the samples where the updater checks design the filter.
    dsp::Slide s = slide;
    for (Index i = 0; i < n; ++i)
        c[i] = s.next(c[i]);
    slide = s;

    const SampleValue* inL = inputs[0];
    const SampleValue* inR = inputs[1];
    SampleValue* outL = outputs[0];
    SampleValue* outR = outputs[1];
    dsp::BiquadState l = left;
    dsp::BiquadState r = right;
    dsp::runInCoefficientStretches(
        updater, n, [&](Index i) { return updater.next(c[i], filterQ, filterGain, filterMode); },
        [&](Index begin, Index end, const dsp::BiquadCoefficients& k) {
            for (Index i = begin; i < end; ++i)
            {
                outL[i] = l.process(inL[i], k);
                outR[i] = r.process(inR[i], k);
            }
        });
    left = l;
    right = r;
}

} // namespace PRT
