#include "patch/heads/NoiseGate.h"

#include "runtime/EngineInterface.h"

#include <cmath>

namespace PRT
{

Quillmore::PRTSubpatcher_42::PRTSubpatcher_42() : GeneratedPatcher({"NoiseGate", 3, 2})
{
    // Start-up: the slide lengths off and the trigger forced open for 3 ms (the envelope at 1 at
    // once), the threshold, and the fade gains held at 0; 500 ms later the lengths go on.
    loadbang_obj_1.onFire = [this] { button_obj_34.bangButton(); };
    button_obj_34.onBang = [this] {
        button_obj_26.bangButton();
        message_obj_72.output();
        message_obj_43.output();
    };
    button_obj_26.onBang = [this] {
        startDelay.trigger();
        message_obj_37.output();
        forceDelay.trigger();
        message_obj_24.output();
    };
    startDelay.onFire = [this] { toggle_obj_57.setToggleValue(firstElement(message_obj_38.getContent())); };
    forceDelay.onFire = [this] { message_obj_21.output(); };

    // After a new rate: the lengths in samples (from the fixed 48000), then the fade-in.
    rateDelay.onFire = [this] {
        message_obj_31.echoContent();
        message_obj_31.output();
        button_obj_49.bangButton();
        message_obj_29.echoContent();
        message_obj_29.output();
        message_obj_52.output();
    };

    button_obj_49.onBang = [this] { number_obj_14.setNumberValue(decayFactor * sampleCount); };
    button_obj_60.onBang = [this] {
        number_obj_55.setNumberValue(slideEnableDown * decaySamples);
        setSlideLengths(slideEnableUp * attackSamples, slideEnableDown * decaySamples);
    };
    toggle_obj_41.onValue = [this](float off) { number_obj_44.setNumberValue(off); };
    toggle_obj_57.onValue = [this](float on) {
        slideEnableDown = on;
        number_obj_55.setNumberValue(on * decaySamples);
        slideEnableUp = on;
        setSlideLengths(on * attackSamples, on * decaySamples);
    };
    number_obj_69.onValue = [this](float threshold) { trigger.setThresholds(threshold, threshold); };
    number_obj_18.onValue = [this](float samples) { attackSamples = samples; };
    number_obj_14.onValue = [this](float samples) { decaySamples = samples; };
    number_obj_44.onValue = [this](float off) { disableSignal.set(off); };

    message_obj_43.onOutput = [this](const list& segments) { fadeRamp.receiveValues(segments); };
    message_obj_52.onOutput = [this](const list& segments) { fadeRamp.receiveValues(segments); };
    message_obj_72.onOutput = [this](const list& values) { number_obj_69.setNumberValue(firstElement(values)); };
    message_obj_29.onOutput = [this](const list& values) {
        if (values.size() >= 2)
            attackFactor = values[1];
        attackCount = firstElement(values);
        number_obj_18.setNumberValue(attackCount * attackFactor);
    };
    message_obj_31.onOutput = [this](const list& values) { sampleCount = firstElement(values); };
    message_obj_24.onOutput = [this](const list& values) {
        const float x = firstElement(values);
        forceSignal.set(x);
        setSlideLengths(x, x);
    };
    message_obj_21.onOutput = [this](const list& values) { forceSignal.set(firstElement(values)); };
    message_obj_37.onOutput = [this](const list& values) { toggle_obj_57.setToggleValue(firstElement(values)); };
    message_obj_38.onOutput = [this](const list& values) { toggle_obj_57.setToggleValue(firstElement(values)); };
    fadeRamp.onOutput = [this](float gain) { gainLeft = gainRight = gain; };
}

void Quillmore::PRTSubpatcher_42::setSlideLengths(float up, float down)
{
    slideUp = up;
    slideDown = down;
    slide.setRise(up);
    slide.setFall(down);
}

void Quillmore::PRTSubpatcher_42::setGateTimeInput(float time)
{
    toggle_obj_41.setToggleValue(time == gateOffTime ? 1.0f : 0.0f);
    decayTime = time;
    const float product = time * decayScale;
    button_obj_49.bangButton();
    decayFactor = product;
    number_obj_14.setNumberValue(decayFactor * sampleCount);
    // Last, so that the slide takes the length just computed.
    button_obj_60.bangButton();
}

void Quillmore::PRTSubpatcher_42::setupObjects()
{
    message_obj_43.setUp({0, 0, 0, 200});
    numberTilde_obj_46.setUp(SignalMonitor::FollowInput);
    message_obj_52.setUp({0, 0, 1, 500});
    numberTilde_obj_63.setUp(SignalMonitor::FollowInput);
    message_obj_72.setUp({0.01f});
    number_obj_69.setUp(NumberBox::floatFormat);
    trigger.reset();
    number_obj_18.setUp(NumberBox::floatFormat);
    message_obj_29.setUp({48000});
    number_obj_14.setUp(NumberBox::floatFormat);
    message_obj_31.setUp({48000});
    number_obj_44.setUp(NumberBox::floatFormat);
    disableSignal.setLastValue(number_obj_44.getValue());
    message_obj_24.setUp({1});
    number_obj_55.setUp(NumberBox::floatFormat);
    message_obj_21.setUp({0});
    forceSignal.setLastValue(firstElement(message_obj_21.getContent()));
    message_obj_37.setUp({0});
    message_obj_38.setUp({1});
}

void Quillmore::PRTSubpatcher_42::prepareSignalObjects(bool)
{
    const float rate = getSampleRate();
    if (ratePrepared && rate == lastSampleRate)
        return;
    ratePrepared = true;
    lastSampleRate = rate;
    // 500 ms from the prepare itself.
    if (EngineInterface* engine = getEngine())
        updateTime(engine->getCurrentTime());
    rateDelay.trigger();
}

void Quillmore::PRTSubpatcher_42::processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n)
{
    SampleValue* off = disableValues.get();
    SampleValue* force = forceValues.get();
    SampleValue* g = envelope.get();
    disableSignal.render(off, n);
    forceSignal.render(force, n);

    // Trigger, slide and clip in one pass, their states in locals (in registers while g is written).
    const SampleValue* key = inputs[2];
    dsp::HysteresisTrigger t = trigger;
    dsp::Slide s = slide;
    float firstTrigger = 0.0f;
    for (Index i = 0; i < n; ++i)
    {
        const float open = t.next(force[i] + std::fabs(key[i]));
        if (i == 0)
            firstTrigger = open;
        const float envelopeValue = s.next(open) + off[i];
        // A NaN (from a gate-off value sent from outside) closes.
        g[i] = envelopeValue > 1.0f ? 1.0f : (envelopeValue > 0.0f ? envelopeValue : 0.0f);
    }
    trigger = t;
    slide = s;
    // Without an output, a monitor reads the first sample of its input only.
    numberTilde_obj_46.process(&firstTrigger, nullptr, n);
    numberTilde_obj_63.process(g, nullptr, n);
    scope_obj_32.process(g, n);

    const float gains[] = {gainLeft, gainRight};
    for (int c = 0; c < 2; ++c)
    {
        const SampleValue* in = inputs[c];
        SampleValue* out = outputs[c];
        const float gain = gains[c];
        for (Index i = 0; i < n; ++i)
            out[i] = in[i] * gain * g[i];
    }
}

} // namespace PRT
