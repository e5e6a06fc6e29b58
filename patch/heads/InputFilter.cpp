#include "patch/heads/InputFilter.h"

#include "patch/core/SteadySignal.h"

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
    if (!filter.prepare(getSampleRate(), static_cast<std::uint32_t>(getBlockSize()), filterMode, changed))
        return;
    if (getSampleRate() != lastRateSent)
        runSampleRateChain(getSampleRate());
}

void Quillmore::PRTSubpatcher_51::processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n)
{
    SampleValue* c = cutoff.get();
    numberTilde_obj_32.process(getZeroBuffer(), c, n);

    // The glide in place: only the samples where the updater checks design the filter. A glide that
    // a step would leave where it is, towards a steady cut-off, stays there for the whole block (a
    // settled glide costs a fill).
    dsp::Slide s = slide;
    const float x = c[0];
    dsp::Slide probe = s;
    if (sameBits(probe.next(x), s.value()) && holdsOneValue(c, n))
    {
        std::fill(c, c + n, s.value());
    }
    else
    {
        for (Index i = 0; i < n; ++i)
            c[i] = s.next(c[i]);
    }
    slide = s;

    filter.process(inputs[0], inputs[1], outputs[0], outputs[1], n,
                   [&](Index i) { return dsp::FilterSettings{c[i], filterQ, filterGain, filterMode}; });
}

} // namespace PRT
