// The warbler's block: its modulation sources summed into two delay times, the two tape delays, the
// reports and the display monitors.
#include "patch/heads/Warbler.h"

#include "patch/heads/DamageCrinkle.h"
#include "patch/heads/StDrift.h"

namespace PRT
{
namespace
{
float clampTo(float x, float low, float high)
{
    return x < low ? low : (x > high ? high : x);
}

// The patch's "+ 0.25", "× 0.2" and their kind compute in double and keep the float result.
float plusThenTimes(float x, double addend, double factor)
{
    return static_cast<float>((static_cast<double>(x) + addend) * factor);
}
} // namespace

void Quillmore::PRTSubpatcher_54::prepareSignalObjects(bool changed)
{
    if (operatorsPrepared && !changed)
        return;
    operatorsPrepared = true;
    const float sampleRate = getSampleRate();
    flutterLowPass.prepare(sampleRate);
    flutterHighPass.prepare(sampleRate);
    if (!(sampleRate == sampleRateSent))
        sendMessageBoxList(sampleRate);
    stepCoefficients.prepare(sampleRate, getBlockSize(), dsp::LowPass);
    stepPhasor.prepare(sampleRate);
    tripleRatePhasor.prepare(sampleRate);
    stepDelta.reset();
    stepFilter.reset();
    wanderPhasor.prepare(sampleRate);
    wanderHighPass.prepare(sampleRate);
    wanderLowPass.prepare(sampleRate);
    wanderDelta.reset();
    wowOscillator.prepare(sampleRate);
    delaytilde_08.prepare(sampleRate);
    delaytilde_07.prepare(sampleRate);
}

void Quillmore::PRTSubpatcher_54::processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n)
{
    SampleValue* master = masterDepth.get();
    SampleValue* wowDepthSignal = wowDepth.get();
    SampleValue* centre = baseDelay.get();
    SampleValue* band = flutterBand.get();
    SampleValue* lowCut = wanderCutoff.get();
    SampleValue* flutterDepth = flutter.get();
    SampleValue* highCut = wanderHighCut.get();
    SampleValue* step = stepPhase.get();
    SampleValue* triple = tripleRatePhase.get();
    SampleValue* stepped = steppedNoise.get();
    SampleValue* wanderNoiseSignal = scratch.get();
    SampleValue* wander = wanderPhase.get();
    SampleValue* instabilitySignal = instability.get();

    // The depth smoothers glide to targets that hold over the block, and once settled they fill it:
    // each on its own, the same samples as step by step.
    masterDepthSmoother.render(master, n, masterDepthTarget);
    wowDepthSmoother.render(wowDepthSignal, n, wowDepthTarget);
    baseDelaySmoother.render(centre, n, baseDelayTarget);
    flutterDepthSmoother.render(flutterDepth, n, flutterDepthTarget);

    // Every other recursion that depends on nothing computed in this block, side by side in one loop
    // so that their latencies overlap: the flutter noise and its slide, the two instability cut-off
    // slides, and the held noise of the stepped and the wander branch. Operator state lives in
    // locals meanwhile (the block buffers may not alias it, so it stays in registers).
    flutterSlide.setRise(flutterSlideUp);
    flutterSlide.setFall(flutterSlideDown);
    stepHold.setThreshold(stepThreshold);
    wanderHold.setThreshold(wanderThreshold);
    {
        dsp::NoiseGenerator noiseF = flutterNoise, noiseS = stepNoise, noiseW = wanderNoise;
        dsp::Slide slideF = flutterSlide, slideLow = wanderCutoffSlide, slideHigh = wanderHighCutSlide,
                   slew = wanderSlew;
        dsp::RampPhasor phasorS = stepPhasor, phasorT = tripleRatePhasor, phasorW = wanderPhasor;
        dsp::SampleAndHold holdS = stepHold, holdW = wanderHold;
        const float lowTarget = wanderCutoffTarget, highTarget = wanderHighCutTarget, stepHz = stepRate,
                    wanderHz = wanderRate, noiseGain = instabilityNoiseGain;
        for (Index i = 0; i < n; ++i)
        {
            band[i] = slideF.next(noiseF.next());
            lowCut[i] = clampTo(slideLow.next(lowTarget), 5.0f, 80.0f);
            highCut[i] = slideHigh.next(highTarget) + 2.0f;

            const float noise = noiseS.next();
            const float p = phasorS.next(stepHz);
            step[i] = p;
            triple[i] = phasorT.next(3.0f * p);
            stepped[i] = holdS.next(p, noise);

            const float scaledNoise = noiseW.next() * noiseGain;
            wanderNoiseSignal[i] = scaledNoise;
            const float w = phasorW.next(wanderHz);
            wander[i] = w;
            instabilitySignal[i] = slew.next(holdW.next(w, scaledNoise));
        }
        flutterNoise = noiseF;
        stepNoise = noiseS;
        wanderNoise = noiseW;
        flutterSlide = slideF;
        wanderCutoffSlide = slideLow;
        wanderHighCutSlide = slideHigh;
        wanderSlew = slew;
        stepPhasor = phasorS;
        tripleRatePhasor = phasorT;
        wanderPhasor = phasorW;
        stepHold = holdS;
        wanderHold = holdW;
    }
    numberTilde_obj_344.process(centre, nullptr, n);

    // Blips.
    SampleValue* blip = blips.get();
    SampleValue* crinkleOutputs[] = {blip};
    damageCrinkleL->process(nullptr, 0, crinkleOutputs, 1, n);
    const float blipGain = blipsGain;
    for (Index i = 0; i < n; ++i)
        blip[i] *= blipGain;
    numberTilde_obj_90.process(blip, nullptr, n);
    scope_obj_203.process(blip, n);

    // The flutter band: the slid noise between the two fifth-order Butterworth filters. The
    // instability's wander branch (below) band-limits its held noise between two more; each of its
    // filters runs beside one of the flutter band's, which shares out their arithmetic (without
    // instability, the flutter band's two run beside each other).
    dsp::ButterworthCascade::processTwoChains(flutterLowPass, flutterHighPass, band, flutterLowCut, flutterBandGain,
                                              flutterHighCut, wanderHighPass, wanderLowPass, instabilitySignal, highCut,
                                              lowCut, n);

    // The stereo drift, driven by the flutter band.
    SampleValue* driftIn = driftInput.get();
    for (Index i = 0; i < n; ++i)
        driftIn[i] = plusThenTimes(band[i], 0.25, 0.2);
    SampleValue* driftL = driftLeft.get();
    SampleValue* driftR = driftRight.get();
    const SampleValue* driftInputs[] = {driftIn};
    SampleValue* driftOutputs[] = {driftL, driftR};
    stDrift->process(driftInputs, 1, driftOutputs, 2, n);
    scope_obj_239.process(band, n);

    // The wander low-pass cut-off's display, and the flutter signal.
    SampleValue* zero = getZeroBuffer();
    numberTilde_obj_21.process(zero, heldFrequency.get(), n);
    scope_obj_42.process(lowCut, n);
    SampleValue* flutterSignal = flutterDepth;
    for (Index i = 0; i < n; ++i)
        flutterSignal[i] = band[i] * flutterDepth[i];

    // Instability, stepped branch: the noise held once per step-phasor cycle, through the biquad that
    // the three held values design, gives the rate modulation.
    numberTilde_obj_22.process(zero, heldGain.get(), n);
    numberTilde_obj_451.process(zero, heldQ.get(), n);
    tripleRateSnapshot.process(triple, n);
    scope_obj_446.process(step, n);
    for (Index i = 0; i < n; ++i)
        stepWrap.next(stepDelta.next(step[i]) < 0.0f ? 1.0f : 0.0f, i);
    const SampleValue* frequency = heldFrequency.get();
    const SampleValue* gain = heldGain.get();
    const SampleValue* q = heldQ.get();
    // The held noise stands for thousands of samples, and the filter settles on it: a fill then.
    dsp::runInCoefficientStretches(
        stepCoefficients, n,
        [&](Index i) -> const dsp::BiquadCoefficients& {
            return stepCoefficients.next(frequency[i], q[i], gain[i], dsp::LowPass);
        },
        [&](Index begin, Index end, const dsp::BiquadCoefficients& c) {
            stepFilter.render(stepped + begin, stepped + begin, end - begin, c);
        });
    SampleValue* rateMod = rateModulation.get();
    const float rateDepth = instabilityRateDepth;
    for (Index i = 0; i < n; ++i)
        rateMod[i] = static_cast<float>(static_cast<double>(stepped[i]) + 0.5) * rateDepth;
    scope_obj_420.process(rateMod, n);
    filteredNoiseSnapshot.process(stepped, n);

    // Instability, wander branch: the held, slewed noise, band-limited between the two cut-offs
    // beside the flutter band.
    scope_obj_48.process(highCut, n);
    scope_obj_146.process(wanderNoiseSignal, n);
    const auto depth = static_cast<float>(static_cast<double>(instabilityDepth) * 0.8);
    for (Index i = 0; i < n; ++i)
        instabilitySignal[i] *= depth;
    scope_obj_149.process(instabilitySignal, n);
    for (Index i = 0; i < n; ++i)
        wanderWrap.next(wanderDelta.next(wander[i]) < 0.0f ? 1.0f : 0.0f, i);
    scope_obj_141.process(wander, n);

    // Wow: the cosine at the wow rate plus the clamped rate modulation.
    const SampleValue* extraRate = inputs[4];
    SampleValue* rateOffset = scratch.get();
    const float modGain = wowRateModGain;
    for (Index i = 0; i < n; ++i)
        rateOffset[i] = clampTo(extraRate[i] + rateMod[i], 0.0f, 5.0f) * modGain;
    numberTilde_obj_29.process(rateOffset, nullptr, n);

    // Right, then left: the modulation sum, its report, the delay time and the delay. The wow (its
    // rate smoother and cosine) and the smoothing of the two drifts are recursions of their own; they
    // run here, in the loop that sums, so that their latencies overlap with its work. The right
    // report takes the place of the rate offset, sample by sample after reading it.
    const SampleValue* extraLeft = inputs[2];
    const SampleValue* extraRight = inputs[3];
    SampleValue* wowSignal = wow.get();
    SampleValue* sumRight = modulationRight.get();
    SampleValue* sumLeft = modulationLeft.get();
    SampleValue* reported = scratch.get();
    SampleValue* delay = delayTime.get();
    {
        dsp::OnePoleSmoother rate = wowRateSmoother, l = leftDriftSmoother, r = rightDriftSmoother;
        dsp::CosineOscillator oscillator = wowOscillator;
        const float baseRate = wowRateHz;
        const float gainRight = reportGainR;
        for (Index i = 0; i < n; ++i)
        {
            const float wowValue = oscillator.next(rate.next(rateOffset[i] + baseRate)) * wowDepthSignal[i];
            wowSignal[i] = wowValue;
            const float driftRightValue = r.next(driftR[i]);
            const float driftLeftValue = l.next(driftL[i]);
            const float rightExtra = (extraRight[i] + flutterSignal[i]) + instabilitySignal[i];
            const float leftExtra = (extraLeft[i] + flutterSignal[i]) + instabilitySignal[i];
            const float right = ((blip[i] + driftRightValue) + rightExtra) + wowValue;
            sumRight[i] = right;
            sumLeft[i] = ((blip[i] + driftLeftValue) + leftExtra) + wowValue;
            reported[i] = right * gainRight;
            delay[i] = right * master[i] + centre[i];
        }
        wowRateSmoother = rate;
        wowOscillator = oscillator;
        leftDriftSmoother = l;
        rightDriftSmoother = r;
    }
    rightReport.process(reported, n);
    delaytilde_08.process(inputs[1], delay, outputs[1], n);
    scope_obj_3.process(delay, n);

    const float gainLeft = reportGainL;
    for (Index i = 0; i < n; ++i)
    {
        reported[i] = sumLeft[i] * gainLeft;
        delay[i] = sumLeft[i] * master[i] + centre[i];
    }
    leftReport.process(reported, n);
    numberTilde_obj_325.process(sumLeft, nullptr, n);
    delaytilde_07.process(inputs[0], delay, outputs[0], n);
    scope_obj_2.process(delay, n);
    scope_obj_315.process(sumLeft, n);
    scope_obj_173.process(wowSignal, n);

    // The extra outputs: flutter plus instability twice, and the rate modulation.
    for (Index i = 0; i < n; ++i)
    {
        const float shared = flutterSignal[i] + instabilitySignal[i];
        outputs[3][i] = shared;
        outputs[2][i] = shared;
        outputs[4][i] = rateMod[i];
    }
}

} // namespace PRT
