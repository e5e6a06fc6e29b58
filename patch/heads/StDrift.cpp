#include "patch/heads/Instability.h"

#include <cmath>

namespace PRT
{

Quillmore::PRTSubpatcher_54::PRTSubpatcher_37::PRTSubpatcher_37() : GeneratedPatcher({"StDrift", 1, 2})
{
    for (NumberBox* box : {&number_obj_8, &number_obj_16, &number_obj_18})
        box->setFormat(NumberBox::floatFormat);
    number_obj_8.setRange(0.0f, 1.0f);
    number_obj_16.setRange(0.0f, 1.0f);
    number_obj_8.onValue = [this](float speed) {
        number_obj_16.setNumberValue(speed);
        driftRateHz = speed * driftRateScale;
    };
    number_obj_16.onValue = [this](float gain) { rightDriftGain = gain; };
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_37::createChildren()
{
    instability = createChild<PRTSubpatcher_36>();
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_37::setAmountInput(float amount)
{
    number_obj_8.setNumberValue(amount * driftSpeedScale);
    float curve = std::pow(amount, driftCurveExponent);
    if (std::isnan(curve))
        curve = 0.0f;
    number_obj_18.setNumberValue(curve);
    leftDriftGain = curve;
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_37::setupObjects()
{
    number_obj_18.setUp(NumberBox::floatFormat);
    numberTilde_obj_26.setUp(SignalMonitor::FollowInput);
    seedRandomStateFromClock(driftRandom, 0);
    offsetTarget = static_cast<float>(nextRandomBits(driftRandom)) * kRandomBitsScale - 1.0f;
    number_obj_8.setUp(NumberBox::floatFormat);
    number_obj_16.setUp(NumberBox::floatFormat);
    instability->setupObjects();
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_37::allocateDataRefs()
{
    cosineTable.requestFrames(dsp::kCosineTableSize, 1, getSampleRate());
    cosineTable.allocateNow();
    GeneratedPatcher::allocateDataRefs();
    bindCosineTable();
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_37::bindCosineTable()
{
    const Float64Buffer* view = cosineTable.getView();
    oscillator.bindTable(view != nullptr ? dsp::SampleSpan{view->getData(), view->getSize()} : dsp::SampleSpan{});
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_37::processDataViewUpdate(DataRefIndex index, MillisecondTime time)
{
    GeneratedPatcher::processDataViewUpdate(index, time);
    if (index == Quillmore::cosineTableIndex)
        bindCosineTable();
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_37::prepareSignalObjects(bool changed)
{
    if (operatorsPrepared && !changed)
        return;
    operatorsPrepared = true;
    offsetPhasor.prepare(getSampleRate());
    previousOffsetPhase = 0.0f;
    oscillator.prepare(getSampleRate());
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_37::processBlock(const SampleValue* const* inputs,
                                                                  SampleValue* const* outputs, Index n)
{
    SampleValue* left = outputs[0];
    SampleValue* right = outputs[1];
    SampleValue* x = a.get();

    SampleValue* instabilityOutputs[] = {x};
    instability->process(nullptr, 0, instabilityOutputs, 1, n);
    const float leftGain = leftDriftGain;
    for (Index i = 0; i < n; ++i)
        left[i] = leftGain * x[i];
    scope_obj_103.process(left, n);

    // The random offset: a new target at each wrap of the phase, glided to from where it stood. The
    // right cosine runs at the input plus the offset, in the same loop, where its work overlaps the
    // offset's recursion.
    const float rate = driftRateHz > 0.0001f ? driftRateHz : 0.0001f;
    const SampleValue* in = inputs[0];
    const float rightGain = rightDriftGain;
    dsp::RampPhasor phasor = offsetPhasor;
    dsp::CosineOscillator cosine = oscillator;
    float previous = previousOffsetPhase, start = offsetStart, target = offsetTarget, last = lastOffset;
    for (Index i = 0; i < n; ++i)
    {
        const float phase = phasor.next(rate);
        if (phase < previous)
        {
            start = last;
            target = static_cast<float>(nextRandomBits(driftRandom)) * kRandomBitsScale - 1.0f;
        }
        previous = phase;
        last = start + (target - start) * phase;
        x[i] = last;
        right[i] = rightGain * cosine.next(in[i] + last);
    }
    offsetPhasor = phasor;
    oscillator = cosine;
    previousOffsetPhase = previous;
    offsetStart = start;
    offsetTarget = target;
    lastOffset = last;
    numberTilde_obj_26.process(x, nullptr, n);
    scope_obj_27.process(x, n);
    scope_obj_24.process(right, n);
}

} // namespace PRT
