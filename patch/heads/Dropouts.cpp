#include "patch/heads/Dropouts.h"

#include "patch/core/GeneratedMath.h"

#include <algorithm>
#include <cmath>

namespace PRT
{
namespace
{
// The left generator redraws its frequency 0.9 times and its level 4 times a second and glides for
// 650 ms; the right one 0.8, 8 and 720 ms, so the channels wander apart.
constexpr RandomControlGeneratorSetup leftSetup{
    "FreqDropoutsL",
    HashedText("Dropouts/FreqDropoutsL/number_obj-102"),
    HashedText("Dropouts/FreqDropoutsL/number_obj-122"),
    HashedText("Dropouts/FreqDropoutsL/number_obj-104"),
    HashedText("Dropouts/FreqDropoutsL/loadmess_obj-1"),
    HashedText("Dropouts/FreqDropoutsL/loadmess_obj-4"),
    HashedText("Dropouts/FreqDropoutsL/message_obj-99"),
    HashedText("Dropouts/FreqDropoutsL/number~_obj-101"),
    HashedText("Dropouts/FreqDropoutsL/button_obj-6"),
    0.9f,
    4.0f,
    650.0f};

constexpr RandomControlGeneratorSetup rightSetup{
    "FreqDropoutsR",
    HashedText("Dropouts/FreqDropoutsR/number_obj-102"),
    HashedText("Dropouts/FreqDropoutsR/number_obj-122"),
    HashedText("Dropouts/FreqDropoutsR/number_obj-104"),
    HashedText("Dropouts/FreqDropoutsR/loadmess_obj-1"),
    HashedText("Dropouts/FreqDropoutsR/loadmess_obj-4"),
    HashedText("Dropouts/FreqDropoutsR/message_obj-99"),
    HashedText("Dropouts/FreqDropoutsR/number~_obj-101"),
    HashedText("Dropouts/FreqDropoutsR/button_obj-6"),
    0.8f,
    8.0f,
    720.0f};

constexpr float degradeScaleAtNone = 40000.0f;
constexpr float degradeScaleAtFull = 10000.0f;
} // namespace

DropoutGenerator::DropoutGenerator(const RandomControlGeneratorSetup& setup, HashedText outputMonitorPath)
    : RandomControlGenerator(setup), outputMonitor(*this, outputMonitorPath, clocks::monitorA, 0.0f, 25.0f)
{
}

void DropoutGenerator::setDegrade(float degrade)
{
    degradeInput = degrade;
    degradeProduct = degrade * degradeFactor;
    amountBox.setNumberValue(degradeProduct);
}

void DropoutGenerator::setupVariantObjects()
{
    amountBox.setUp(NumberBox::floatFormat);
    outputMonitor.setUp(SignalMonitor::FollowInput);
}

void DropoutGenerator::finishOutput(SampleValue* output, Index n)
{
    outputMonitor.process(output, nullptr, n);
}

Quillmore::PRTSubpatcher_50::PRTSubpatcher_34::PRTSubpatcher_34()
    : DropoutGenerator(leftSetup, HashedText("Dropouts/FreqDropoutsL/number~_obj-111"))
{
}

Quillmore::PRTSubpatcher_50::PRTSubpatcher_35::PRTSubpatcher_35()
    : DropoutGenerator(rightSetup, HashedText("Dropouts/FreqDropoutsR/number~_obj-111"))
{
}

Quillmore::PRTSubpatcher_50::PRTSubpatcher_50() : GeneratedPatcher({"Dropouts", 2, 2})
{
    for (NumberBox* box : {&number_obj_28, &number_obj_16, &number_obj_3})
        box->setFormat(NumberBox::floatFormat);
    number_obj_3.setInitialValue(controlOffset);
    number_obj_28.setRange(0.0f, 100.0f);

    // Degrade deepens the generators and lowers the scale before the cosine map.
    number_obj_28.onValue = [this](float degrade) {
        const float scale = scaleValue(degrade, 0.0f, 100.0f, degradeScaleAtNone, degradeScaleAtFull, 1.0f);
        slider_3.setSliderFromRange(scale, 0.0f, degradeScaleAtNone);
        for (DropoutGenerator* generator : {freqDropoutsR, freqDropoutsL})
        {
            generator->updateTime(getTime());
            generator->setDegrade(degrade);
        }
    };
    slider_3.onValue = [this](float scale) { number_obj_16.setNumberValue(scale); };
    number_obj_16.onValue = [this](float scale) { cutoffScaleRight = cutoffScaleLeft = scale; };
    number_obj_3.onValue = [this](float offset) { controlOffsetRight = controlOffsetLeft = offset; };

    message_obj_2.onOutput = [this](const list& content) { number_obj_3.setNumberValue(firstOrZero(content)); };
    message_obj_61.onOutput = [this](const list& content) {
        const float q = firstOrZero(content);
        numberTilde_obj_52.setNumberTildeInput(q);
        numberTilde_obj_30.setNumberTildeInput(q);
    };
    message_obj_60.onOutput = [this](const list& content) {
        const float gain = firstOrZero(content);
        numberTilde_obj_54.setNumberTildeInput(gain);
        numberTilde_obj_31.setNumberTildeInput(gain);
    };
    loadbang.onFire = [this] {
        message_obj_2.output();
        message_obj_61.output();
        message_obj_60.output();
    };

    numberTilde_obj_38.onReport = [this](float control) { slider.setSliderFromRange(control, 0.0f, 1.0f); };
    numberTilde_obj_43.onReport = [this](float control) { slider_1.setSliderFromRange(control, 0.0f, 1.0f); };
    numberTilde_obj_10.onReport = [this](float hz) { slider_2.setSliderFromRange(hz, 0.0f, 20000.0f); };
    numberTilde_obj_11.onReport = [this](float hz) { slider_4.setSliderFromRange(hz, 0.0f, 20000.0f); };
}

void Quillmore::PRTSubpatcher_50::createChildren()
{
    freqDropoutsL = createChild<PRTSubpatcher_34>();
    freqDropoutsR = createChild<PRTSubpatcher_35>();
}

void Quillmore::PRTSubpatcher_50::setupObjects()
{
    numberTilde_obj_31.setUp(SignalMonitor::RampToSetValue);
    numberTilde_obj_30.setUp(SignalMonitor::RampToSetValue);
    message_obj_60.setUp({1.0f});
    message_obj_61.setUp({0.5f});
    numberTilde_obj_54.setUp(SignalMonitor::RampToSetValue);
    numberTilde_obj_52.setUp(SignalMonitor::RampToSetValue);
    for (SignalMonitor* tap : {&numberTilde_obj_38, &numberTilde_obj_11, &numberTilde_obj_10, &numberTilde_obj_24})
        tap->setUp(SignalMonitor::FollowInput);
    message_obj_2.setUp({controlOffset});
    number_obj_3.setUp(NumberBox::floatFormat);
    numberTilde_obj_43.setUp(SignalMonitor::FollowInput);
    number_obj_28.setUp(NumberBox::floatFormat);
    number_obj_16.setUp(NumberBox::floatFormat);
    freqDropoutsL->setupObjects();
    freqDropoutsR->setupObjects();
}

void Quillmore::PRTSubpatcher_50::prepareSignalObjects(bool changed)
{
    if (filtersPrepared && !changed)
        return;
    filtersPrepared = true;
    const auto blockSize = static_cast<std::uint32_t>(getBlockSize());
    left.updater.prepare(getSampleRate(), blockSize, filterModeLeft);
    right.updater.prepare(getSampleRate(), blockSize, filterModeRight);
    left.lowPass.reset();
    right.lowPass.reset();
}

float Quillmore::PRTSubpatcher_50::cutoffForControl(float x)
{
    const auto c = static_cast<float>(std::cos(static_cast<double>(x + 20000.0f) * 5e-5 * 3.141592));
    return c * 10000.0f + 10000.0f;
}

float Quillmore::PRTSubpatcher_50::rolloffFactor(float slid)
{
    return static_cast<float>(static_cast<double>((slid - 100.0f) * 5.5865923e-5f * 1.1925f) + 0.0075);
}

void Quillmore::PRTSubpatcher_50::renderRolloffSlide(SampleValue* slid, Index n)
{
    const float target = rolloffTarget;
    const float k = target > rolloffSlide ? 0.005f : 0.002f;
    float s = rolloffSlide;
    Index i = 0;
    for (; i < n; ++i)
    {
        const float next = s + k * (target - s);
        slid[i] = next;
        // A step that rounds to nothing never moves it again: the rest of the block holds.
        if (next == s)
            break;
        s = next;
    }
    if (i < n)
        std::fill(slid + i, slid + n, s);
    rolloffSlide = s;
}

void Quillmore::PRTSubpatcher_50::checkDesignAt(ChannelFilter& filter, ChannelLowPass& lowPass, Index i)
{
    if (filter.updater.samplesBeforeCheck() > 0)
    {
        filter.updater.skip(1);
        return;
    }
    filter.designed = cutoffForControl(filter.scale * filter.control[i]) * rolloffFactor(filter.slid[i]);
    if (filter.updater.redesignDue(filter.designed, filter.q[i], filter.gain[i], filter.mode))
        lowPass.design(filter.updater.designer().designAngle(filter.updater.lastFrequency()), filter.updater.lastQ());
}

Index Quillmore::PRTSubpatcher_50::controlReadSamples(const ChannelFilter& filter, Index n, Index* samples)
{
    constexpr Index capacity = RandomControlGenerator::maxSampledOutputs;
    Index count = 0;
    auto add = [&](Index i) {
        if (count > 0 && samples[count - 1] == i)
            return true;
        if (count == capacity)
            return false;
        samples[count++] = i;
        return true;
    };
    add(0);
    // The updater stepped as filterBothChannels steps it: a check resets its count whatever it finds.
    dsp::FilterCoefficientUpdater probe = filter.updater;
    for (Index i = 0; i < n;)
    {
        const std::uint32_t held = probe.samplesBeforeCheck();
        if (held == 0)
        {
            if (!add(i))
                return 0;
            probe.redesignDue(filter.designed, 1.0f, 1.0f, filter.mode);
            ++i;
            continue;
        }
        const auto run = static_cast<Index>(std::min<std::uint32_t>(n - i, held));
        probe.skip(run);
        i += run;
    }
    return add(n - 1) ? count : 0;
}

void Quillmore::PRTSubpatcher_50::filterBothChannels(const SampleValue* inL, const SampleValue* inR, SampleValue* outL,
                                                     SampleValue* outR, Index n)
{
    // The two recursions side by side. The updaters were prepared together and see the same blocks,
    // so their checks fall on the same samples; either's check is taken sample by sample anyway.
    ChannelLowPass l = left.lowPass;
    ChannelLowPass r = right.lowPass;
    Index i = 0;
    while (i < n)
    {
        const std::uint32_t held = std::min(left.updater.samplesBeforeCheck(), right.updater.samplesBeforeCheck());
        if (held == 0)
        {
            // The right channel's design first, as its filter runs first.
            checkDesignAt(right, r, i);
            checkDesignAt(left, l, i);
            outR[i] = r.process(inR[i]);
            outL[i] = l.process(inL[i]);
            ++i;
            continue;
        }
        const auto run = static_cast<Index>(std::min<std::uint32_t>(n - i, held));
        for (const Index end = i + run; i < end; ++i)
        {
            outL[i] = l.process(inL[i]);
            outR[i] = r.process(inR[i]);
        }
        left.updater.skip(run);
        right.updater.skip(run);
    }
    left.lowPass = l;
    right.lowPass = r;
}

void Quillmore::PRTSubpatcher_50::processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n)
{
    if (n == 0)
        return;
    SampleValue* zero = getZeroBuffer();
    numberTilde_obj_31.process(zero, gainLeft.get(), n);
    numberTilde_obj_30.process(zero, qLeft.get(), n);
    numberTilde_obj_54.process(zero, gainRight.get(), n);
    numberTilde_obj_52.process(zero, qRight.get(), n);

    SampleValue* cL = controlLeft.get();
    SampleValue* cR = controlRight.get();
    SampleValue* uL = passedLeft.get();
    SampleValue* uR = passedRight.get();
    SampleValue* s = slide.get();

    // Each generator works its control out only where it is read (see controlReadSamples).
    Index readLeft[RandomControlGenerator::maxSampledOutputs];
    Index readRight[RandomControlGenerator::maxSampledOutputs];
    const Index readCountLeft = controlReadSamples(left, n, readLeft);
    const Index readCountRight = controlReadSamples(right, n, readRight);
    auto addOffset = [n](SampleValue* control, float offset, const Index* read, Index count) {
        if (count == 0)
        {
            for (Index i = 0; i < n; ++i)
                control[i] += offset;
            return;
        }
        for (Index k = 0; k < count; ++k)
            control[read[k]] += offset;
    };

    SampleValue* generatorOut[] = {cL};
    freqDropoutsL->sampleOutputAt(readLeft, readCountLeft);
    freqDropoutsL->process(nullptr, 0, generatorOut, 1, n);
    addOffset(cL, controlOffsetLeft, readLeft, readCountLeft);
    numberTilde_obj_38.process(cL, uL, n);
    const float mapLeft = cutoffForControl(cutoffScaleLeft * uL[0]);
    numberTilde_obj_24.process(&mapLeft, nullptr, n); // a tap reads only the first sample

    generatorOut[0] = cR;
    freqDropoutsR->sampleOutputAt(readRight, readCountRight);
    freqDropoutsR->process(nullptr, 0, generatorOut, 1, n);
    addOffset(cR, controlOffsetRight, readRight, readCountRight);
    numberTilde_obj_43.process(cR, uR, n);

    renderRolloffSlide(s, n);
    const float factor = rolloffFactor(s[0]);

    left.bind(filterModeLeft, cutoffScaleLeft, uL, s, qLeft.get(), gainLeft.get());
    right.bind(filterModeRight, cutoffScaleRight, uR, s, qRight.get(), gainRight.get());
    filterBothChannels(inputs[0], inputs[1], outputs[0], outputs[1], n);

    const float cutoffRight = factor * cutoffForControl(cutoffScaleRight * uR[0]);
    numberTilde_obj_10.process(&cutoffRight, nullptr, n);
    const float cutoffLeft = mapLeft * factor;
    numberTilde_obj_11.process(&cutoffLeft, nullptr, n);
}

} // namespace PRT
