#include "patch/heads/NoiseDucker.h"

#include "patch/core/FastPower.h"

#include <cmath>
#include <limits>

namespace PRT
{

NoiseDuckerCompressor::NoiseDuckerCompressor(const Paths& paths)
    : GeneratedPatcher({"compressor", 2, 2}), flonum(*this, paths.flonum), flonum_1(*this, paths.flonum_1),
      flonum_2(*this, paths.flonum_2), number_obj_47(*this, paths.number_obj_47),
      message_obj_45(*this, paths.message_obj_45), loadbang_obj_46(*this, paths.loadbang_obj_46),
      rmsBuffer(*this, paths.rmsBufferName)
{
    flonum.setRange(-96.0f, 0.0f);
    flonum.onValue = [this](float dB) { threshold = dB; };
    flonum_1.setRange(1.0f, std::numeric_limits<float>::infinity());
    flonum_1.onValue = [this](float value) { ratio = value; };
    flonum_2.onValue = [this](float ms) { releaseMs = ms; };
    number_obj_47.onValue = [this](float ms) { attackMs = ms; };
    message_obj_45.onOutput = [this](const list& values) { flonum_1.setNumberValue(firstElement(values)); };
    loadbang_obj_46.onFire = [this] { message_obj_45.output(); };
}

void NoiseDuckerCompressor::setTimeInput(float time)
{
    timeInput = time;
    number_obj_47.setNumberValue((time + attackOffset) * attackScale);
    flonum_2.setNumberValue(time);
}

void NoiseDuckerCompressor::setupObjects()
{
    const float rate = getSampleRate();
    rms.setUp(static_cast<int>(rate));
    rmsBuffer.requestFrames(static_cast<size_t>(rate + 1.0f));
    flonum_2.setUp(NumberBox::floatFormat);
    number_obj_47.setUp(0);
    flonum.setUp(NumberBox::floatFormat);
    message_obj_45.setUp({3.0f});
    flonum_1.setUp(NumberBox::floatFormat);
}

void NoiseDuckerCompressor::prepareSignalObjects(bool changed)
{
    if (rmsPrepared && !changed)
        return;
    rmsPrepared = true;
    const float rate = getSampleRate();
    rms.prepare(rate);
    // A second of history at any rate a host may use; rates beyond that keep the storage they have
    // (only the last 1000 samples are read).
    constexpr float largestRate = 1.0e6f;
    if (rate > static_cast<float>(rmsBuffer.getFrameCount()) && rate <= largestRate)
    {
        rmsBuffer.requestFrames(static_cast<size_t>(rate + 1.0f));
        rmsBuffer.allocate();
    }
    bindHistory();
}

void NoiseDuckerCompressor::bindHistory()
{
    double* samples = rmsBuffer.getSamples();
    const size_t frames = rmsBuffer.getFrameCount();
    if (samples != rms.history().data || frames != rms.history().size)
        rms.bind({samples, frames});
}

void NoiseDuckerCompressor::processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n)
{
    // The storage may have been replaced since the last block (a data-view update).
    bindHistory();

    // The key's level, as a mean square.
    SampleValue* level = meanSquares.get();
    const float loudest = rms.meanSquares(inputs[1], level, n);

    // The gain target: 1 at or below the threshold; above it, and only there (where it is finite for
    // any key and any ratio), 10^((threshold − level) × (1 − 1/ratio) / 20), the level in dB being
    // 10 log10(mean square), that is (threshold power / mean square)^((1 − 1/ratio) / 2).
    const float r = std::fabs(ratio);
    const float inverse = r > 0.0f ? 1.0f / r : 0.0f; // a NaN ratio counts as an infinite one
    const float exponent = (1.0f - inverse) * 0.5f;
    const auto thresholdPower = static_cast<float>(std::pow(10.0, static_cast<double>(threshold) * 0.1));
    // A key that stays at or below the threshold for the whole block (the usual case) has the target
    // 1 throughout, and no power needs working out. (The threshold power is above 0 or NaN: the
    // loudest level is above it exactly when some level is.)
    const bool anyAbove = loudest > thresholdPower;
    // Three passes that each vectorise: the quotient (at least 10^−30, which also turns a NaN level
    // into that), its power, and the choice.
    SampleValue* target = targets.get();
    if (anyAbove)
    {
        for (Index i = 0; i < n; ++i)
        {
            const float quotient = thresholdPower / level[i];
            target[i] = quotient > 1e-30f ? quotient : 1e-30f;
        }
        for (Index i = 0; i < n; ++i)
            target[i] = dsp::fastPow(target[i], exponent);
        for (Index i = 0; i < n; ++i)
            target[i] = level[i] > thresholdPower ? target[i] : 1.0f;
    }

    // A linear ramp to the target, restarted whenever the target changes: down over the attack
    // length, up over the release length (NaN lengths act as one sample).
    const double rate = getSampleRate();
    const float releaseSamples = static_cast<float>(static_cast<double>(releaseMs * static_cast<float>(rate)) * 0.001);
    const float attackSamples = static_cast<float>(static_cast<double>(attackMs * static_cast<float>(rate)) * 0.001);
    const float upSteps = releaseSamples > 1.0f ? releaseSamples : 1.0f;
    const float downSteps = attackSamples > 1.0f ? attackSamples : 1.0f;
    const float upStep = 1.0f / upSteps;
    const float downStep = 1.0f / downSteps;
    float current = gainCurrent;
    float steps = gainSteps;
    float increment = gainIncrement;
    float lastTarget = gainLastTarget;
    const SampleValue* audio = inputs[0];
    SampleValue* out = outputs[0];
    SampleValue* gainOut = outputs[1];
    if (n > 0 && !anyAbove && lastTarget == 1.0f && !(steps > 0.0f))
    {
        // Settled at unity with the target staying there: the gain is 1 at every sample.
        for (Index i = 0; i < n; ++i)
        {
            out[i] = audio[i];
            gainOut[i] = 1.0f;
        }
        gainCurrent = 1.0f;
        return;
    }
    for (Index i = 0; i < n; ++i)
    {
        const float t = anyAbove ? target[i] : 1.0f;
        if (t != lastTarget)
        {
            if (t > current)
            {
                steps = upSteps;
                increment = (t - current) * upStep;
            }
            else if (t < current)
            {
                steps = downSteps;
                increment = (t - current) * downStep;
            }
        }
        lastTarget = t;
        if (steps > 0.0f)
        {
            current += increment;
            steps -= 1.0f;
        }
        else
        {
            current = t;
        }
        out[i] = audio[i] * current;
        gainOut[i] = current;
    }
    gainCurrent = current;
    gainSteps = steps;
    gainIncrement = increment;
    gainLastTarget = lastTarget;
}

void NoiseDucker::processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n)
{
    const SampleValue* compressorInputs[] = {inputs[0], inputs[1]};
    SampleValue* compressorOutputs[] = {outputs[0], nullptr};
    compressor->process(compressorInputs, 2, compressorOutputs, 2, n);
}

} // namespace PRT
