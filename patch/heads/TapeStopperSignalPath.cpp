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

// The values of one sample, from the ramps' values and the envelopes' states before it; whether any
// state moves at that sample.
Quillmore::PRTSubpatcher_53::SampleStep Quillmore::PRTSubpatcher_53::stepOnce(float levelRampValue, float stopValue,
                                                                          float startValue, float hiss) const
{
    SampleStep step;
    step.cubed = (stopValue * stopValue) * stopValue;
    step.gate = stopGateState + 0.001f * ((step.cubed < stopThreshold ? 1.0f : 0.0f) - stopGateState);
    step.flagged = stopFlag == 1.0f ? step.gate : 0.0f;
    step.offset = step.flagged + runOffsetA;
    const float wanted = step.offset * levelRampValue;
    step.level = levelState + (wanted > levelState ? 0.0005f : 0.5f) * (wanted - levelState);
    const float hissEdge = clampUnit(static_cast<float>(static_cast<double>(step.level + runOffsetB) - 0.25));
    step.curve = startCurveOf(startValue);
    const float wantedDelay = step.cubed * stopDelayScale * stopDelayEnable + step.curve * startCurveSamples * startEnable;
    step.delay = delayTimeState + (wantedDelay > delayTimeState ? 1.0f / 185.0f : 0.2f) * (wantedDelay - delayTimeState);
    const bool edgeMoves = (hissEdgeState == 1.0f && hissEdge == 0.0f) || (hissEdgeState != 1.0f && hissEdge != 0.0f);
    step.moves = step.gate != stopGateState || step.level != levelState || step.delay != delayTimeState || edgeMoves
                 || hiss != hissSlide.value();
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
    dsp::Slide hissGlide = hissSlide;
    const float nextHiss = hissGlide.next(hissTarget);
    const SampleStep first = stepOnce(levelRamp.value(), stopRamp.value(), startRamp.value(), nextHiss);
    float crossfadeFirst = crossfadeRamp.value();
    float steadyDirect = directGainOf(crossfadeFirst);
    float steadyDelayed = delayedGainOf(crossfadeFirst);

    if (rampsSteady && !first.moves)
    {
        // Settled: with steady ramps and no envelope moving at this sample, none moves at any other,
        // and every signal of the block is a constant.
        const SettledFill fill{{steadyDirect, steadyDelayed, nextHiss, first.gate, first.flagged, first.offset,
                                first.level, first.cubed, first.curve, first.delay},
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
        SampleValue* level = levelRampSignal.get();
        SampleValue* crossfade = crossfadeSignal.get();
        SampleValue* stop = stopRampSignal.get();
        SampleValue* start = startRampSignal.get();
        levelRamp.render(level, n);
        crossfadeRamp.render(crossfade, n);
        stopRamp.render(stop, n);
        startRamp.render(start, n);
        crossfadeFirst = crossfade[0];
        steadyDirect = directGainOf(crossfade[0]);
        steadyDelayed = delayedGainOf(crossfade[0]);
        renderMovingBlock(level, crossfade, stop, start, crossfadeSteady, startSteady, n);
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
                                                    bool crossfadeSteady, bool startSteady, Index n)
{
    const auto [direct, delayedShare, hiss, gate, flagged, offset, outLevel, cubed, curve, smoothed] = envelopeSignals();

    const float steadyDirect = directGainOf(crossfade[0]);
    const float steadyDelayed = delayedGainOf(crossfade[0]);
    const float steadyCurve = startCurveOf(start[0]);
    const float threshold = stopThreshold;
    const bool stopped = stopFlag == 1.0f;
    const float offsetA = runOffsetA;
    const float offsetB = runOffsetB;
    const float stopCurveScale = stopDelayScale * stopDelayEnable;
    const float startCurveScale = startCurveSamples * startEnable;
    const float hissGoal = hissTarget;
    const double msPerSample = 1000.0 / static_cast<double>(getSampleRate());
    dsp::Slide hissGlide = hissSlide;
    float gateState = stopGateState;
    float levelNow = levelState;
    float edge = hissEdgeState;
    float delayNow = delayTimeState;

    for (Index i = 0; i < n; ++i)
    {
        direct[i] = crossfadeSteady ? steadyDirect : directGainOf(crossfade[i]);
        delayedShare[i] = crossfadeSteady ? steadyDelayed : delayedGainOf(crossfade[i]);
        hiss[i] = hissGlide.next(hissGoal);

        // The level gate closes once the cubed stop ramp reaches the threshold, smoothed over 1000
        // samples; it counts only while stopped.
        const float a = stop[i];
        const float a3 = (a * a) * a;
        cubed[i] = a3;
        gateState += 0.001f * ((a3 < threshold ? 1.0f : 0.0f) - gateState);
        gate[i] = gateState;
        flagged[i] = stopped ? gateState : 0.0f;
        offset[i] = flagged[i] + offsetA;

        // The output level rises slowly and falls almost at once.
        const float wanted = offset[i] * level[i];
        levelNow += (wanted > levelNow ? 0.0005f : 0.5f) * (wanted - levelNow);
        outLevel[i] = levelNow;

        // The hiss closes once the level has fallen to 0.25 after a stop.
        const float hissEdge = clampUnit(static_cast<float>(static_cast<double>(levelNow + offsetB) - 0.25));
        if (edge == 1.0f && hissEdge == 0.0f)
        {
            scheduleOwnClock(hissCloseClock, static_cast<double>(i) * msPerSample);
            edge = 0.0f;
        }
        else if (edge != 1.0f && hissEdge != 0.0f)
        {
            edge = 1.0f;
        }

        // The delay time: the stop curve 3 × sr × a³ plus the start curve, the time growing with a
        // 185-sample glide and shrinking within a few samples.
        curve[i] = startSteady ? steadyCurve : startCurveOf(start[i]);
        const float wantedDelay = a3 * stopCurveScale + curve[i] * startCurveScale;
        delayNow += (wantedDelay > delayNow ? 1.0f / 185.0f : 0.2f) * (wantedDelay - delayNow);
        smoothed[i] = delayNow;
    }
    hissSlide = hissGlide;
    stopGateState = gateState;
    levelState = levelNow;
    hissEdgeState = edge;
    delayTimeState = delayNow;
}

} // namespace PRT
