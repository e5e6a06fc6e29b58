// What the warbler's parameters and timed control events compute: the depth terms and their sum
// (the centre delay), the flutter band, the reports, the periodic tick, the comparators and the two
// random rates.
#include "patch/heads/Warbler.h"

#include "patch/core/GeneratedMath.h"
#include "patch/core/MessageTags.h"
#include "patch/heads/DamageCrinkle.h"
#include "patch/heads/Instability.h"
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

float clampUnit(float x)
{
    return x < 0.0f ? 0.0f : (x > 1.0f ? 1.0f : x);
}
} // namespace

void Quillmore::PRTSubpatcher_54::connectObjects()
{
    // Formats until set-up; the weights and thresholds hold their values from before start-up.
    for (NumberBox* box : {&number_obj_27, &number_obj_19, &number_obj_28, &number_obj_18, &number_obj_36,
                           &number_obj_248, &number_obj_79, &number_obj_156, &number_obj_46, &number_obj_62,
                           &number_obj_40, &number_obj_134, &number_obj_331, &number_obj_332, &number_obj_342,
                           &number_obj_333, &number_obj_334, &number_obj_327})
        box->setFormat(NumberBox::floatFormat);
    number_obj_331.setInitialValue(0.5f);
    number_obj_332.setInitialValue(0.2f);
    number_obj_342.setInitialValue(0.2f);
    number_obj_333.setInitialValue(0.2f);
    number_obj_334.setInitialValue(0.2f);
    number_obj_40.setInitialValue(0.6f);
    number_obj_37.setInitialValue(2000.0f);
    number_obj_248.setInitialValue(flutterBandGain);

    // The fixed slides of the instability's cut-offs and of its held wander value, in samples.
    wanderCutoffSlide.setRise(16000.0f);
    wanderCutoffSlide.setFall(800.0f);
    wanderHighCutSlide.setRise(3500.0f);
    wanderHighCutSlide.setFall(2000.0f);
    wanderSlew.setRise(2500.0f);
    wanderSlew.setFall(1800.0f);

    number_obj_27.setRange(0.0f, 1000.0f);
    number_obj_27.onValue = [this](float depth) {
        masterDepthTarget = depth;
        baseDelayTarget = depth * depthSum();
    };
    number_obj_19.setRange(0.01f, 5.0f);
    number_obj_19.onValue = [this](float hz) { wowRateHz = hz; };
    number_obj_28.setRange(0.0f, 1.0f);
    number_obj_28.onValue = [this](float depth) { wowDepthTarget = depth; };
    number_obj_18.setRange(0.0f, 1.0f);
    number_obj_18.onValue = [this](float amount) {
        stDrift->updateTime(getTime());
        stDrift->setAmountInput(amount);
        PRTSubpatcher_37::PRTSubpatcher_36& source = *stDrift->instability;
        source.updateTime(stDrift->getTime());
        source.amountBox.setNumberValue(amount);
    };
    number_obj_36.setRange(0.0f, 1.0f);
    number_obj_36.onValue = [this](float flutterDepth) {
        flutterDepthTarget = flutterDepth;
        float s = std::pow(flutterDepth, 0.5f);
        if (std::isnan(s))
            s = 0.0f;
        number_obj_39.setNumberValue(scaleValue(s, 0.0f, 1.0f, 30.0f, 35.0f, 1.0f));
        number_obj_351.setNumberValue(scaleValue(s, 0.0f, 1.0f, 30.0f, 25.0f, 1.0f));
    };
    number_obj_39.onValue = [this](float hz) { flutterLowCut = hz; };
    number_obj_351.onValue = [this](float hz) { flutterHighCut = hz; };
    number_obj_248.onValue = [this](float gain) { flutterBandGain = gain; };
    number_obj_79.onValue = [this](float gain) { blipsGain = gain; };
    number_obj_156.onValue = [this](float gain) { instabilityNoiseGain = instabilityDepth = gain; };
    number_obj_46.onValue = [this](float hz) { wanderCutoffTarget = hz; };
    number_obj_62.onValue = [this](float hz) { wanderHighCutTarget = hz; };
    number_obj_40.onValue = [this](float threshold) { upperThreshold = threshold; };
    number_obj_134.setRange(0.0f, 1.0f);
    number_obj_134.onValue = [this](float threshold) { stepThreshold = wanderThreshold = threshold; };

    // A weight re-sums from the last term back to its own (each re-sum takes every term in force).
    number_obj_331.onValue = [this](float) {
        for (Button* resum : {&button_obj_302, &button_obj_293, &button_obj_284, &button_obj_283, &button_obj_285})
            resum->bangButton();
    };
    number_obj_332.onValue = [this](float) {
        for (Button* resum : {&button_obj_302, &button_obj_293, &button_obj_284, &button_obj_283})
            resum->bangButton();
    };
    number_obj_342.onValue = [this](float) {
        for (Button* resum : {&button_obj_302, &button_obj_293, &button_obj_284})
            resum->bangButton();
    };
    number_obj_333.onValue = [this](float) {
        for (Button* resum : {&button_obj_302, &button_obj_293})
            resum->bangButton();
    };
    number_obj_334.onValue = [this](float) { button_obj_302.bangButton(); };
    for (Button* resum : {&button_obj_285, &button_obj_283, &button_obj_284, &button_obj_293, &button_obj_302})
        resum->onBang = [this] { resumDepthTerms(); };
    number_obj_327.onValue = [this](float) { button_obj_329.bangButton(); };
    button_obj_329.onBang = [this] { baseDelayTarget = number_obj_27.getValue() * depthSum(); };

    button_obj_441.onBang = [this] { stepRate = (drawUnit(stepRandom) * 60.0f + 5.0f) * 0.1f; };
    button_obj_167.onBang = [this] { wanderRate = (drawUnit(wanderRandom) * 100.0f + 40.0f) * 0.1f; };
    button_obj_119.onBang = [this] { handleStartup(); };
    loadbang_obj_190.onFire = [this] { handleStartup(); };

    message_obj_98.onOutput = [this](const list& content) { wowRateModGain = firstOrZero(content); };
    message_obj_355.onOutput = [this](const list& content) { number_obj_331.setNumberValue(firstOrZero(content)); };
    message_obj_357.onOutput = [this](const list& content) { number_obj_332.setNumberValue(firstOrZero(content)); };
    message_obj_359.onOutput = [this](const list& content) { number_obj_342.setNumberValue(firstOrZero(content)); };
    message_obj_361.onOutput = [this](const list& content) { number_obj_333.setNumberValue(firstOrZero(content)); };
    message_obj_363.onOutput = [this](const list& content) { number_obj_334.setNumberValue(firstOrZero(content)); };
    message_obj_11.onOutput = [this](const list& content) { number_obj_248.setNumberValue(firstOrZero(content)); };
    message_obj_51.onOutput = [this](const list& content) { number_obj_37.setNumberValue(firstOrZero(content)); };
    message_obj_41.onOutput = [this](const list& content) { number_obj_40.setNumberValue(firstOrZero(content)); };
    message_obj_182.onOutput = [this](const list& content) { number_obj_134.setNumberValue(firstOrZero(content)); };
    for (MessageBox* box : {&message_obj_98, &message_obj_355, &message_obj_357, &message_obj_359, &message_obj_361,
                            &message_obj_363, &message_obj_11, &message_obj_51, &message_obj_41, &message_obj_182})
        box->setOutputTag(tags::bangin);

    numberTilde_obj_90.onReport = [this](float blip) {
        slider_obj_6.setSliderValue(scaleValue(blip < -1.0f ? -1.0f : (blip > 1.0f ? 1.0f : blip), -1.0f, 1.0f, 0.0f,
                                               128.0f, 1.0f));
    };
}

void Quillmore::PRTSubpatcher_54::resumDepthTerms()
{
    const float wowTerm = wowAmount * number_obj_331.getValue();
    const float flutterTerm = flutterAmount * number_obj_332.getValue();
    const float instabilityTerm = instabilityRateDepth * number_obj_342.getValue();
    const float blipsTerm = blipsAmount * number_obj_333.getValue();
    const float driftTerm = driftAmount * number_obj_334.getValue();
    const float sum = (((0.0f + wowTerm) + flutterTerm) + instabilityTerm) + blipsTerm + driftTerm;
    number_obj_327.setNumberValue(sum);
    button_obj_329.bangButton();
}

void Quillmore::PRTSubpatcher_54::setInstabilityInput(float instability)
{
    number_obj_156.setNumberValue(instability * 0.0085f);
    const float rateDepth = std::pow(instability * 0.01f, 0.8f);
    instabilityRateDepth = std::isnan(rateDepth) ? 0.0f : rateDepth;
    button_obj_284.bangButton();
}

void Quillmore::PRTSubpatcher_54::setDriftInput(float drift)
{
    driftAmount = drift * 0.01f;
    button_obj_302.bangButton();
    number_obj_18.setNumberValue(driftAmount);
}

void Quillmore::PRTSubpatcher_54::setFlutterInput(float flutter)
{
    number_obj_36.setNumberValue(flutter * 0.01f);
    flutterAmount = number_obj_36.getValue();
    button_obj_283.bangButton();
}

void Quillmore::PRTSubpatcher_54::setWowInput(float wow)
{
    wowAmount = wow * 0.01f;
    button_obj_285.bangButton();
    number_obj_28.setNumberValue(wow * 0.005f);
}

void Quillmore::PRTSubpatcher_54::setMasterInput(float masterWarble)
{
    reportGainR = reportGainL = masterWarble * 0.01f;
    number_obj_27.setNumberValue(masterWarble * 10.0f);
}

void Quillmore::PRTSubpatcher_54::setBlipsInput(float blips)
{
    blipsAmount = blips * 0.01f;
    number_obj_79.setNumberValue(3.0f * safeSqrt(blipsAmount));
    button_obj_293.bangButton();
    damageCrinkleL->updateTime(getTime());
    damageCrinkleL->number_obj_10.setNumberValue(blips);
}

void Quillmore::PRTSubpatcher_54::runPeriodicTick()
{
    const float addend = number_obj_37.getValue();
    const float rA = drawUnit(tickRandomA) * 500.0f;
    flutterSlideDown = rA + addend;
    tickIntervalMs = rA > 0.0f ? rA : 0.0f;
    const float rB = drawUnit(tickRandomB) * 1000.0f;
    flutterSlideUp = rB + addend;
    if (EngineInterface* engine = getEngine())
        engine->flushClockEvents(this, clocks::periodicTick, false);
    if (tickOn != 0.0f)
        scheduleOwnClock(clocks::periodicTick, tickIntervalMs);
}

void Quillmore::PRTSubpatcher_54::report(ClockId clockId, float value)
{
    const float r = value * reportScale + reportOffset;
    auto* top = dynamic_cast<Quillmore*>(&getTopLevel());
    if (clockId == rightReportClock)
    {
        if (top != nullptr)
        {
            top->updateTime(getTime());
            top->applyParameterValue(params::WarbleR, r);
        }
        slider_obj_371.setSliderValue(scaleValue(clampUnit(r), 0.0f, 1.0f, 0.0f, 128.0f, 1.0f));
    }
    else
    {
        slider_obj_370.setSliderValue(scaleValue(clampUnit(r), 0.0f, 1.0f, 0.0f, 128.0f, 1.0f));
        if (top != nullptr)
        {
            top->updateTime(getTime());
            top->applyParameterValue(params::WarbleL, r);
        }
    }
}

} // namespace PRT
