#include "patch/heads/DamageCrinkle.h"

#include "patch/core/GeneratedMath.h"
#include "runtime/EngineInterface.h"

#include <cmath>

namespace PRT
{
namespace
{
// |bits × 2^-23 − 1|, a value in [0, 1], then the generator's step.
float drawUnit(RandomState& state)
{
    return std::fabs(static_cast<float>(nextRandomBits(state)) * kRandomBitsScale - 1.0f);
}

// A tick period of 0 ms (before the load-time routine set the base, or a base emptied by a message)
// would fire the tick at one time again and again; it comes at most once per millisecond instead.
constexpr float minimumTickMs = 1.0f;
} // namespace

Quillmore::PRTSubpatcher_54::PRTSubpatcher_38::PRTSubpatcher_38() : GeneratedPatcher({"DamageCrinkleL", 0, 1})
{
    envelopeValues.reserve(8);
    connectObjects();
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_38::connectObjects()
{
    for (NumberBox* box : {&number_obj_10, &number_obj_153, &number_obj_4, &number_obj_200, &number_obj_13,
                           &number_obj_9, &number_obj_34, &number_obj_36, &number_obj_26, &number_obj_32,
                           &number_obj_28, &number_obj_30, &number_obj_21})
        box->setFormat(NumberBox::floatFormat);
    number_obj_21.setInitialValue(followerAddend);

    number_obj_10.setRange(0.0f, 100.0f);
    number_obj_10.onValue = [this](float b) {
        tickShortenMs = 5.0f * b;
        button_obj_202.bangButton();
        const float rate = 0.015f * b;
        blipRateBase = rate * rate + 0.01f;
        number_obj_153.setNumberValue(blipRateBase * blipRateFactor);
    };
    button_obj_202.onBang = [this] { number_obj_200.setNumberValue(tickBaseMs - tickShortenMs); };
    number_obj_153.onValue = [this](float hz) { blipRateHz = hz; };
    number_obj_4.onValue = [this](float factor) { blipRateFactor = factor; };
    number_obj_200.onValue = [this](float ms) { blipTickIntervalMs = ms > 0.0f ? ms : 0.0f; };
    number_obj_13.onValue = [this](float samples) {
        message_obj_18.sendMessageBoxList(samples);
        slideDownSamples = samples;
    };
    number_obj_9.onValue = [this](float samples) {
        message_obj_16.sendMessageBoxList(samples);
        slideUpSamples = samples;
    };
    message_obj_18.onOutput = [this](const list& content) { slideDownSamples = content[0]; };
    message_obj_16.onOutput = [this](const list& content) { slideUpSamples = content[0]; };
    number_obj_34.onValue = [this](float ms) { blipEnvelope[3] = ms; };
    number_obj_36.onValue = [this](float ms) { blipEnvelope[5] = ms; };
    number_obj_32.onValue = [this](float ms) { blipEnvelope[1] = ms; };
    number_obj_28.onValue = [this](float level) { blipEnvelope[2] = level; };
    number_obj_30.onValue = [this](float level) { blipEnvelope[4] = level; };
    // The start level is the hot inlet: it rebuilds the envelope and starts it.
    number_obj_26.onValue = [this](float level) {
        blipEnvelope[0] = level;
        startEnvelope();
    };
    number_obj_21.onValue = [this](float addend) { followerAddend = addend; };
    message_obj_198.onOutput = [this](const list& content) {
        tickBaseMs = content[0];
        number_obj_200.setNumberValue(tickBaseMs - tickShortenMs);
    };
    message_obj_146.onOutput = [this](const list&) { applyFollowerTimes(); };
    message_obj_1.onOutput = [this](const list& content) { envelope.receive(content); };

    button_obj_167.onBang = [this] {
        button_obj_52.bangButton();
        if (GeneratedPatcher* warbler = getPatcher())
            warbler->updateTime(getTime());
    };
    button_obj_52.onBang = [this] { startBlip(); };
    button_obj_47.onBang = [this] {
        const float r = drawUnit(blipShapeRandom) * 30.0f;
        number_obj_36.setNumberValue(r + 1.0f);
        number_obj_34.setNumberValue(r + 20.0f);
    };
    button_obj_57.onBang = [this] { message_obj_146.output(); };
    button_obj_174.onBang = [this] { drawRate(); };
    button_obj_117.onBang = [this] { button_obj_174.bangButton(); };

    loadbang_obj_72.onFire = [this] { handleLoadBang(); };
    numberTilde_obj_119.onReport = [this](float value) { follower.receive(value); };
    numberTilde_obj_150.onReport = [this](float phase) {
        slider_obj_148.setSliderValue(scaleValue(phase < 0.0f ? 0.0f : (phase > 1.0f ? 1.0f : phase), 0.0f, 1.0f,
                                                 0.0f, 128.0f, 1.0f));
    };
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_38::startEnvelope()
{
    envelopeValues.clear();
    for (const float value : blipEnvelope)
        envelopeValues.push(value);
    message_obj_1.sendMessageBoxList(envelopeValues);
    message_obj_1.output();
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_38::startBlip()
{
    button_obj_47.bangButton();
    startEnvelope();
    button_obj_57.bangButton();
    button_obj_174.bangButton();
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_38::applyFollowerTimes()
{
    const list& content = message_obj_146.getContent();
    const float v = content.size() > 0 ? content[0] : 0.0f;
    if (content.size() > 1)
        slewFallFactor = slewRiseFactor = content[1];
    number_obj_13.setNumberValue(v * slewFallFactor);
    number_obj_9.setNumberValue(v * slewRiseFactor);
    follower.setRampTime(v);
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_38::drawRate()
{
    const float r = drawUnit(blipRateRandom) * 100.0f;
    message_obj_146.sendMessageBoxList(r + 30.0f + followerAddend);
    number_obj_4.setNumberValue((r + 30.0f) / 250.0f);
    number_obj_153.setNumberValue(blipRateBase * blipRateFactor);
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_38::runPeriodicTick()
{
    button_obj_117.bangButton();
    if (EngineInterface* engine = getEngine())
        engine->flushClockEvents(this, clocks::periodicTick, false);
    if (blipTickOn != 0.0f)
        scheduleOwnClock(clocks::periodicTick,
                         blipTickIntervalMs >= minimumTickMs ? blipTickIntervalMs : minimumTickMs);
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_38::handleLoadBang()
{
    slideDownSamples = message_obj_18.getContent()[0];
    slideUpSamples = message_obj_16.getContent()[0];
    message_obj_198.output();
    button_obj_52.bangButton();
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_38::setupObjects()
{
    number_obj_153.setUp(NumberBox::floatFormat);
    number_obj_10.setUp(NumberBox::floatFormat);
    numberTilde_obj_150.setUp(SignalMonitor::FollowInput);
    number_obj_4.setUp(NumberBox::floatFormat);
    seedRandomStateFromClock(blipRateRandom, 0);
    message_obj_24.setUp({0.0f, 0.0f, 1.0f, 15.0f, 0.0f, 100.0f});
    message_obj_198.setUp({1800.0f});
    numberTilde_obj_119.setUp(SignalMonitor::FollowInput);
    number_obj_200.setUp(NumberBox::floatFormat);
    message_obj_1.setUp({0.0f, 0.0f, 1.0f, 24.0f, 0.0f, 5.0f});
    number_obj_26.setUp(NumberBox::floatFormat);
    message_obj_16.setUp({1817.0f});
    message_obj_146.setUp({115.47564f});
    number_obj_9.setUp(0);
    number_obj_32.setUp(0);
    number_obj_28.setUp(NumberBox::floatFormat);
    message_obj_18.setUp({3634.0f});
    number_obj_13.setUp(0);
    number_obj_34.setUp(0);
    seedRandomStateFromClock(blipShapeRandom, 0);
    number_obj_30.setUp(NumberBox::floatFormat);
    number_obj_36.setUp(0);
    number_obj_21.setUp(0);
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_38::scheduleLoadClocks()
{
    GeneratedPatcher::scheduleLoadClocks();
    if (blipTickOn != 0.0f)
    {
        blipTickOn = 1.0f;
        if (EngineInterface* engine = getEngine())
            engine->flushClockEvents(this, clocks::periodicTick, false);
        scheduleOwnClock(clocks::periodicTick, 0.0);
    }
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_38::onClock(ClockId clockId, bool, ParameterValue)
{
    if (clockId == blipClock)
        button_obj_167.bangButton();
    else if (clockId == clocks::periodicTick)
        runPeriodicTick();
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_38::prepareSignalObjects(bool changed)
{
    if (operatorsPrepared && !changed)
        return;
    operatorsPrepared = true;
    blipPhasor.prepare(getSampleRate());
    blipDelta.reset();
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_38::processBlock(const SampleValue* const*, SampleValue* const* outputs,
                                                                  Index n)
{
    SampleValue* out = outputs[0];
    SampleValue* phase = s0.get();
    const float rate = blipRateHz;
    dsp::RampPhasor phasor = blipPhasor;
    dsp::SampleDelta delta = blipDelta;
    for (Index i = 0; i < n; ++i)
    {
        const float p = phasor.next(rate);
        phase[i] = p;
        blipWrap.next(delta.next(p) < 0.0f ? 1.0f : 0.0f, i);
    }
    blipPhasor = phasor;
    blipDelta = delta;
    numberTilde_obj_150.process(phase, nullptr, n);
    scope_obj_147.process(phase, n);

    SampleValue* followed = s1.get();
    follower.render(followed, n);
    slew.setRise(slideUpSamples);
    slew.setFall(slideDownSamples);
    dsp::Slide slide = slew;
    for (Index i = 0; i < n; ++i)
        out[i] = slide.next(followed[i]);
    slew = slide;
    scope_obj_48.process(out, n);

    envelope.render(phase, n);
    numberTilde_obj_119.process(phase, nullptr, n);
}

} // namespace PRT
