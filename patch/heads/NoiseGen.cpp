#include "patch/heads/NoiseGen.h"

#include "patch/core/GeneratedMath.h"

#include <algorithm>
#include <cmath>

namespace PRT
{

Quillmore::PRTSubpatcher_40::PRTSubpatcher_40() : GeneratedPatcher({"NoiseGen", 0, 2})
{
    number_obj_46.onValue = [this](float amount) { hissGainLeft = hissGainRight = amount * amount; };
    loadmess_obj_26.onFire = [this] { message_obj_15.output(); };
    message_obj_15.onOutput = [this](const list& values) {
        const float target = firstElement(values);
        biquad->updateTime(getTime());
        biquad->numberTilde_obj_18.setNumberTildeInput(target);
    };
}

void Quillmore::PRTSubpatcher_40::createChildren()
{
    biquad = createChild<PRTSubpatcher_29>();
}

void Quillmore::PRTSubpatcher_40::setupObjects()
{
    message_obj_15.setUp({1.2f});
    number_obj_46.setUp(NumberBox::floatFormat);
    noiseLeft.seedFromClock(seedOffset);
    noiseRight.seedFromClock(seedOffset);
    biquad->setupObjects();
}

void Quillmore::PRTSubpatcher_40::processBlock(const SampleValue* const*, SampleValue* const* outputs, Index n)
{
    SampleValue* white[] = {whiteLeft.get(), whiteRight.get()};
    // The generators in locals, so that their states stay in registers while the noise is written.
    // Both in one loop: their two chains of operations run side by side.
    dsp::NoiseGenerator l = noiseLeft;
    dsp::NoiseGenerator r = noiseRight;
    for (Index i = 0; i < n; ++i)
    {
        white[0][i] = l.next();
        white[1][i] = r.next();
    }
    noiseLeft = l;
    noiseRight = r;

    SampleValue* coloured[] = {colouredLeft.get(), colouredRight.get()};
    biquad->process(white, 2, coloured, 2, n);

    const float gains[] = {hissGainLeft, hissGainRight};
    for (int c = 0; c < 2; ++c)
    {
        const SampleValue* in = coloured[c];
        SampleValue* out = outputs[c];
        const float g = gains[c];
        for (Index i = 0; i < n; ++i)
            out[i] = static_cast<float>(static_cast<double>(in[i] * g) * hissScale);
    }
}

Quillmore::PRTSubpatcher_40::PRTSubpatcher_29::PRTSubpatcher_29() : GeneratedPatcher({"Biquad", 2, 2})
{
    loadbang_obj_1.onFire = [this] { message_obj_41.output(); };
    loadbang_obj_4.onFire = [this] { message_obj_3.output(); };
    message_obj_41.onOutput = [this](const list& mode) {
        // A NaN takes the lower end.
        const float m = firstElement(mode);
        filterMode = static_cast<int64_t>(m > 15.0f ? 15.0f : (m >= 0.0f ? m : 0.0f));
    };
    message_obj_3.onOutput = [this](const list& q) { filterQ = firstElement(q); };
}

void Quillmore::PRTSubpatcher_40::PRTSubpatcher_29::setFrequencyInput(float noiseFreq)
{
    const float pitch =
        scaleValue(noiseFreq, frequencyInLow, frequencyInHigh, frequencyOutLow, frequencyOutHigh, 1.0f);
    const float position = pitch / 127.0f;
    const double semitones = (static_cast<double>(position) * 119.589417 + 15.48682 - 69.0) / 12.0;
    float hz = 440.0f * static_cast<float>(std::pow(2.0, semitones));
    if (std::isnan(hz))
        hz = 0.0f;
    numberTilde_obj_32.setNumberTildeInput(hz);
}

void Quillmore::PRTSubpatcher_40::PRTSubpatcher_29::setupObjects()
{
    message_obj_41.setUp({2.0f});
    numberTilde_obj_32.setUp(SignalMonitor::RampToSetValue);
    message_obj_3.setUp({0.2f});
    numberTilde_obj_18.setUp(SignalMonitor::RampToSetValue);
}

void Quillmore::PRTSubpatcher_40::PRTSubpatcher_29::prepareSignalObjects(bool changed)
{
    filter.prepare(getSampleRate(), static_cast<std::uint32_t>(getBlockSize()), filterMode, changed);
}

void Quillmore::PRTSubpatcher_40::PRTSubpatcher_29::processBlock(const SampleValue* const* inputs,
                                                                  SampleValue* const* outputs, Index n)
{
    // Neither number~ has a signal input: they ramp to their set values and never report.
    SampleValue* f = frequency.get();
    SampleValue* g = gain.get();
    numberTilde_obj_32.process(getZeroBuffer(), f, n);
    numberTilde_obj_18.process(getZeroBuffer(), g, n);

    filter.process(inputs[0], inputs[1], outputs[0], outputs[1], n,
                   [&](Index i) { return dsp::FilterSettings{f[i], filterQ, g[i], filterMode}; });
}

} // namespace PRT
