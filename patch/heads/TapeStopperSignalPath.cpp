// The tape stopper's signal path: its four ramps, the level and hiss envelopes, the delay time of
// the stop and start curves, and the two delay lines.
#include "patch/heads/TapeStopper.h"

#include <cmath>
#include <cstring>

namespace PRT
{
namespace
{
constexpr double quarterTurn = 1.570796;

float directGainOf(float crossfade)
{
    return static_cast<float>(std::cos(static_cast<double>(crossfade) * quarterTurn));
}

float delayedGainOf(float crossfade)
{
    return static_cast<float>(std::sin(static_cast<double>(crossfade) * quarterTurn));
}

float clampUnit(float x)
{
    return x < 0.0f ? 0.0f : (x > 1.0f ? 1.0f : x);
}

// The start ramp s onto the start curve before its scale: 0 until sin(s × π/2) passes 0.72.
float startCurveOf(float s)
{
    const auto lifted = static_cast<float>(static_cast<double>(delayedGainOf(s)) - 0.72);
    return clampUnit(lifted);
}
} // namespace

void Quillmore::PRTSubpatcher_53::prepareSignalObjects(bool changed)
{
    settledFill.samples = 0; // the buffers may have been reallocated
    if (linesPrepared && !changed)
        return;
    linesPrepared = true;
    const float sampleRate = getSampleRate();
    if (!(sampleRate == lastSampleRate))
        runSampleRateChain(sampleRate);
    delaytilde_05.prepare(sampleRate);
    delaytilde_06.prepare(sampleRate);
}

// One sample of the envelopes and the delay time, from the ramps' values and the states before it.
Quillmore::PRTSubpatcher_53::SampleStep Quillmore::PRTSubpatcher_53::stepOnce(const EnvelopeState& before,
                                                                          float levelRampValue, float stopValue,
                                                                          float curve) const
{
    SampleStep step;
    EnvelopeState& after = step.after;

    // The level gate closes once the cubed stop ramp reaches the threshold, smoothed over 1000
    // samples; it counts only while stopped.
    step.cubed = (stopValue * stopValue) * stopValue;
    after.gate = before.gate + 0.001f * ((step.cubed < stopThreshold ? 1.0f : 0.0f) - before.gate);
    step.flagged = stopFlag == 1.0f ? after.gate : 0.0f;
    step.offset = step.flagged + runOffsetA;

    // The output level rises slowly and falls almost at once.
    const float wanted = step.offset * levelRampValue;
    after.level = before.level + (wanted > before.level ? 0.0005f : 0.5f) * (wanted - before.level);

    // The hiss edge falls once the level has fallen to 0.25 after a stop, and rises once it is above.
    const float edge = clampUnit(static_cast<float>(static_cast<double>(after.level + runOffsetB) - 0.25));
    if (before.hissEdge == 1.0f ? edge == 0.0f : edge != 0.0f)
        after.hissEdge = before.hissEdge == 1.0f ? 0.0f : 1.0f;
    else
        after.hissEdge = before.hissEdge;

    // The delay time: the stop curve 3 × sr × a³ plus the start curve, the time growing with a
    // 185-sample glide and shrinking within a few samples.
    const float wantedDelay = step.cubed * (stopDelayScale * stopDelayEnable) + curve * (startCurveSamples * startEnable);
    after.delay = before.delay + (wantedDelay > before.delay ? 1.0f / 185.0f : 0.2f) * (wantedDelay - before.delay);
    return step;
}

void Quillmore::PRTSubpatcher_53::processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n)
{
    if (n == 0)
        return;
    const auto [direct, delayedShare, hiss, gate, flagged, offset, outLevel, cubed, curve, smoothed] = envelopeSignals();

    // A ramp without segments holds its value over the block: its trigonometry is done once.
    const bool crossfadeSteady = crossfadeRamp.segmentCount() == 0;
    const bool startSteady = startRamp.segmentCount() == 0;
    const bool rampsSteady = crossfadeSteady && startSteady && stopRamp.segmentCount() == 0 && levelRamp.segmentCount() == 0;
    // Settled: with steady ramps and no state moving at the first sample, none moves at any other,
    // and every signal of the block is a constant.
    bool settled = false;
    SampleStep first{};
    float firstHiss = 0.0f;
    float firstCurve = 0.0f;
    if (rampsSteady)
    {
        dsp::Slide hissGlide = hissSlide;
        firstHiss = hissGlide.next(hissTarget);
        firstCurve = startCurveOf(startRamp.value());
        first = stepOnce(envelope, levelRamp.value(), stopRamp.value(), firstCurve);
        settled = firstHiss == hissSlide.value() && first.after.gate == envelope.gate
                  && first.after.level == envelope.level && first.after.hissEdge == envelope.hissEdge
                  && first.after.delay == envelope.delay;
    }

    SampleValue* level = levelRampSignal.get();
    SampleValue* crossfade = crossfadeSignal.get();
    SampleValue* stop = stopRampSignal.get();
    SampleValue* start = startRampSignal.get();
    if (!settled)
    {
        levelRamp.render(level, n);
        crossfadeRamp.render(crossfade, n);
        stopRamp.render(stop, n);
        startRamp.render(start, n);
    }
    const float crossfadeFirst = settled ? crossfadeRamp.value() : crossfade[0];
    const float steadyDirect = directGainOf(crossfadeFirst);
    const float steadyDelayed = delayedGainOf(crossfadeFirst);

    if (settled)
    {
        const SettledFill fill{{steadyDirect, steadyDelayed, firstHiss, first.after.gate, first.flagged, first.offset,
                                first.after.level, first.cubed, firstCurve, first.after.delay},
                               {direct, delayedShare, hiss, gate, flagged, offset, outLevel, cubed, curve, smoothed},
                               n};
        const bool inPlace = n <= settledFill.samples &&
                             std::memcmp(fill.values.data(), settledFill.values.data(), sizeof fill.values) == 0 &&
                             std::memcmp(&fill.buffers, &settledFill.buffers, sizeof fill.buffers) == 0;
        if (!inPlace)
        {
            SampleValue* const buffers[] = {direct, delayedShare, hiss, gate, flagged, offset, outLevel, cubed, curve, smoothed};
            for (std::size_t k = 0; k < fill.values.size(); ++k)
                fillSignalRange(buffers[k], n, fill.values[k], 0);
            settledFill = fill;
        }
    }
    else
    {
        settledFill.samples = 0;
        renderMovingBlock(level, crossfade, stop, start, steadyDirect, steadyDelayed, crossfadeSteady, startSteady, n);
    }

    numberTilde_obj_40.process(hiss, outputs[2], n);
    numberTilde_obj_42.process(&crossfadeFirst, nullptr, n); // a monitor reads the first sample only
    numberTilde_obj_28.process(gate, nullptr, n);
    numberTilde_obj_191.process(flagged, nullptr, n);
    numberTilde_obj_46.process(offset, nullptr, n);
    numberTilde_obj_152.process(outLevel, nullptr, n);
    SampleValue* time = delayTime.get();
    numberTilde_obj_378.process(smoothed, time, n);

    if (crossfadeSteady && steadyDelayed == 0.0f)
    {
        // Only the direct signal is heard, and the lines just record.
        for (int c = 1; c >= 0; --c)
        {
            const SampleValue* in = inputs[c];
            SampleValue* out = outputs[c];
            for (Index i = 0; i < n; ++i)
                out[i] = in[i] * steadyDirect * outLevel[i];
        }
        delaytilde_06.record(inputs[1], time[n - 1], n);
        delaytilde_05.record(inputs[0], time[n - 1], n);
    }
    else
    {
        SampleValue* y = delayed.get();
        delaytilde_06.process(inputs[1], time, y, n);
        for (Index i = 0; i < n; ++i)
            outputs[1][i] = (inputs[1][i] * direct[i] + y[i] * delayedShare[i]) * outLevel[i];
        delaytilde_05.process(inputs[0], time, y, n);
        for (Index i = 0; i < n; ++i)
            outputs[0][i] = (inputs[0][i] * direct[i] + y[i] * delayedShare[i]) * outLevel[i];
    }

    scope_obj_32.process(direct, n);
    scope_obj_321.process(delayedShare, n);
    scope_obj_7.process(outputs[2], n);
    scope_obj_27.process(gate, n);
    scope_obj_104.process(flagged, n);
    scope_obj_41.process(offset, n);
    scope_obj_13.process(outLevel, n);
    scope_obj_132.process(cubed, n);
    scope_obj_204.process(time, n);
    scope_obj_172.process(curve, n);
}

Quillmore::PRTSubpatcher_53::EnvelopeSignals Quillmore::PRTSubpatcher_53::envelopeSignals()
{
    return { directGain.get(),   delayedGain.get(),   hissLevel.get(),     smoothedGate.get(), flaggedGate.get(),
             offsetGate.get(),   outputLevel.get(),   cubedStopRamp.get(), startCurve.get(),   smoothedDelay.get() };
}

void Quillmore::PRTSubpatcher_53::renderMovingBlock(const SampleValue* level, const SampleValue* crossfade,
                                                    const SampleValue* stop, const SampleValue* start,
                                                    float steadyDirect, float steadyDelayed, bool crossfadeSteady,
                                                    bool startSteady, Index n)
{
    const auto [direct, delayedShare, hiss, gate, flagged, offset, outLevel, cubed, curve, smoothed] = envelopeSignals();

    const float steadyCurve = startCurveOf(start[0]);
    const float hissGoal = hissTarget;
    const double msPerSample = 1000.0 / static_cast<double>(getSampleRate());
    dsp::Slide hissGlide = hissSlide;
    EnvelopeState state = envelope;

    for (Index i = 0; i < n; ++i)
    {
        direct[i] = crossfadeSteady ? steadyDirect : directGainOf(crossfade[i]);
        delayedShare[i] = crossfadeSteady ? steadyDelayed : delayedGainOf(crossfade[i]);
        hiss[i] = hissGlide.next(hissGoal);
        const float startCurve = startSteady ? steadyCurve : startCurveOf(start[i]);
        const SampleStep step = stepOnce(state, level[i], stop[i], startCurve);
        if (state.hissEdge == 1.0f && step.after.hissEdge == 0.0f)
            scheduleOwnClock(hissCloseClock, static_cast<double>(i) * msPerSample);
        state = step.after;
        cubed[i] = step.cubed;
        gate[i] = state.gate;
        flagged[i] = step.flagged;
        offset[i] = step.offset;
        outLevel[i] = state.level;
        curve[i] = startCurve;
        smoothed[i] = state.delay;
    }
    hissSlide = hissGlide;
    envelope = state;
}

} // namespace PRT
