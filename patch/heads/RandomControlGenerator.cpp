#include "patch/heads/RandomControlGenerator.h"

#include <algorithm>

namespace PRT
{

RandomControlGenerator::RandomControlGenerator(const RandomControlGeneratorSetup& setup)
    : GeneratedPatcher({setup.name, 0, 1}), frequencyRateBox(*this, setup.frequencyRateBox),
      levelRateBox(*this, setup.levelRateBox), amountBox(*this, setup.amountBox),
      frequencyRateLoad(*this, setup.frequencyRateLoad, clocks::loadObjectB, {setup.frequencyRedrawRate}),
      levelRateLoad(*this, setup.levelRateLoad, clocks::loadObjectA, {setup.levelDrawRate}),
      rampTimeBox(*this, setup.rampTimeBox), targetMonitor(*this, setup.targetMonitor, clocks::monitorB, 0.0f, 250.0f),
      reloadButton(*this, setup.reloadButton), rampTimeMs(setup.rampTimeMs)
{
    for (NumberBox* box : {&frequencyRateBox, &levelRateBox, &amountBox})
        box->setFormat(NumberBox::floatFormat);
    levelRateBox.setRange(0.0f, 10.0f);
    amountBox.setRange(0.0f, 1.0f);
    frequencyRateBox.onValue = [this](float rate) { frequencyRate = rate; };
    levelRateBox.onValue = [this](float rate) { levelRate = rate; };
    // A NaN from a message would stop every later level from gliding anywhere: it reads as 0.
    amountBox.onValue = [this](float value) { amount = value == value ? value : 0.0f; };
    frequencyRateLoad.onOutput = [this](const list& content) { frequencyRateBox.setNumberValue(firstOrZero(content)); };
    levelRateLoad.onOutput = [this](const list& content) { levelRateBox.setNumberValue(firstOrZero(content)); };
    rampTimeBox.onOutput = [this](const list& content) { ramp.setRampTime(firstOrZero(content)); };
    targetMonitor.onReport = [this](float level) {
        ramp.setRampTime(firstOrZero(rampTimeBox.getContent()));
        ramp.receive(level);
    };
    reloadButton.onBang = [this] {
        onReload();
        levelRateLoad.fire();
        frequencyRateLoad.fire();
    };
}

void RandomControlGenerator::setupObjects()
{
    frequencyDraw.seedFromClock();
    frequencyRateBox.setUp(NumberBox::floatFormat);
    levelDraw.seedFromClock();
    targetMonitor.setUp(SignalMonitor::FollowInput);
    levelRateBox.setUp(NumberBox::floatFormat);
    rampTimeBox.setUp({rampTimeMs});
    setupVariantObjects();
}

void RandomControlGenerator::setupVariantObjects()
{
    amountBox.setUp(NumberBox::floatFormat);
}

void RandomControlGenerator::allocateDataRefs()
{
    cosineTable.requestFrames(dsp::kCosineTableSize, 1, getSampleRate());
    cosineTable.allocateNow();
    GeneratedPatcher::allocateDataRefs();
    bindCosineTable();
}

void RandomControlGenerator::bindCosineTable()
{
    const Float64Buffer* view = cosineTable.getView();
    oscillator.bindTable(view != nullptr ? dsp::SampleSpan{view->getData(), view->getSize()} : dsp::SampleSpan{});
}

void RandomControlGenerator::processDataViewUpdate(DataRefIndex index, MillisecondTime time)
{
    GeneratedPatcher::processDataViewUpdate(index, time);
    if (index == Quillmore::cosineTableIndex)
        bindCosineTable();
}

void RandomControlGenerator::prepareSignalObjects(bool changed)
{
    if (operatorsPrepared && !changed)
        return;
    operatorsPrepared = true;
    frequencyDraw.prepare(getSampleRate());
    levelDraw.prepare(getSampleRate());
    oscillator.prepare(getSampleRate());
}

void RandomControlGenerator::sampleOutputAt(const Index* samples, Index count)
{
    sampledCount = 0;
    if (count == 0 || count > maxSampledOutputs || samples[0] != 0)
        return;
    for (Index k = 1; k < count; ++k)
        if (samples[k] <= samples[k - 1])
            return;
    std::copy(samples, samples + count, sampled.begin());
    sampledCount = count;
}

void RandomControlGenerator::processBlock(const SampleValue* const*, SampleValue* const* outputs, Index n)
{
    const Index sampledSamples = sampledCount;
    sampledCount = 0;
    if (n == 0)
        return;
    SampleValue* out = outputs[0];
    // A sample list for another block length renders the whole block.
    const bool whole = sampledSamples == 0 || sampled[sampledSamples - 1] != n - 1;

    // The cosine of the held frequency goes to the output, its phase step worked out again only
    // where a new frequency is drawn. The held level is needed only where the target monitor looks,
    // at the first sample; the rest of the block just keeps its draws in step.
    const float rate1 = frequencyRate;
    const float rate2 = levelRate;
    dsp::CosineOscillator cosine = oscillator;
    float frequency = frequencyDraw.held();
    std::uint32_t step = cosine.increment(frequency);
    // The frequency's draws, the cosine rendered up to each take at the step before it and from it
    // at the new one. Sampled, only the listed samples are rendered: the phase jumps over the rest
    // (one step of k increments is k steps of one, wrapping the same). The list ends with the last
    // sample, so the oscillator ends the block as it would have.
    Index at = 0;
    Index listed = 0;
    auto renderTo = [&](Index end) {
        if (whole)
            cosine.render(out + at, static_cast<std::size_t>(end - at), step);
        else
        {
            for (; listed < sampledSamples && sampled[listed] < end; ++listed)
            {
                const Index j = sampled[listed];
                if (j > at)
                    cosine.nextWithIncrement((j - at) * step);
                out[j] = cosine.nextWithIncrement(step);
                at = j + 1;
            }
            if (end > at)
                cosine.nextWithIncrement((end - at) * step);
        }
        at = end;
    };
    for (Index i = 0; i < n;)
    {
        const Index take = frequencyDraw.runToTake(rate1, i, n);
        renderTo(take);
        if (take == n)
            break;
        if (frequencyDraw.held() != frequency)
        {
            frequency = frequencyDraw.held();
            step = cosine.increment(frequency);
        }
        renderTo(take + 1);
        i = take + 1;
    }
    oscillator = cosine;
    levelDraw.runToTake(rate2, 0, 1);
    const float firstLevel = levelDraw.held();
    for (Index i = 1; i < n;)
        i = levelDraw.runToTake(rate2, i, n) + 1;
    frequencyDraw.endBlock(n);
    levelDraw.endBlock(n);

    SampleValue* g = glide.get();
    ramp.render(g, n);
    if (whole)
    {
        for (Index i = 0; i < n; ++i)
            out[i] *= g[i];
    }
    else
    {
        for (Index k = 0; k < sampledSamples; ++k)
            out[sampled[k]] *= g[sampled[k]];
    }
    finishOutput(out, n);

    // The monitor reads only the first sample of what it watches.
    const float firstTarget = firstLevel * amount;
    targetMonitor.process(&firstTarget, nullptr, n);
}

} // namespace PRT
