// The warbler's frame: children, set-up, data references, start-up, clocks.
#include "patch/heads/Warbler.h"

#include "patch/core/QuillmoreModules.h"
#include "patch/heads/DamageCrinkle.h"
#include "patch/heads/Instability.h"
#include "runtime/EngineInterface.h"

namespace PRT
{
namespace
{
float firstOrZero(const MessageBox& box)
{
    return PRT::firstOrZero(box.getContent());
}
} // namespace

Quillmore::PRTSubpatcher_54::PRTSubpatcher_54() : GeneratedPatcher({"Warbler", 2, 2, 3, 3})
{
    forwardsMusicalTime = true;
    connectObjects();
}

Quillmore::PRTSubpatcher_54::~PRTSubpatcher_54()
{
    // StDrift, then DamageCrinkleL, before the warbler's own members.
    destroyChildren();
}

void Quillmore::PRTSubpatcher_54::createChildren()
{
    stDrift = createChild<PRTSubpatcher_37>();
    damageCrinkleL = createChild<PRTSubpatcher_38>();
}

void Quillmore::PRTSubpatcher_54::setupObjects()
{
    delaytilde_07.requestStorage(getSampleRate());
    delaytilde_08.requestStorage(getSampleRate());

    number_obj_27.setUp(NumberBox::floatFormat);
    numberTilde_obj_325.setUp(SignalMonitor::FollowInput);
    number_obj_19.setUp(NumberBox::floatFormat);
    numberTilde_obj_29.setUp(SignalMonitor::FollowInput);
    number_obj_28.setUp(NumberBox::floatFormat);
    numberTilde_obj_344.setUp(SignalMonitor::FollowInput);

    message_obj_98.setUp({0.8f});
    number_obj_18.setUp(NumberBox::floatFormat);
    number_obj_331.setUp(NumberBox::floatFormat);
    message_obj_355.setUp({0.52f});
    message_obj_357.setUp({0.08f});
    number_obj_332.setUp(NumberBox::floatFormat);
    message_obj_359.setUp({0.32f});
    number_obj_342.setUp(NumberBox::floatFormat);
    message_obj_361.setUp({0.025f});
    number_obj_333.setUp(NumberBox::floatFormat);
    number_obj_327.setUp(NumberBox::floatFormat);
    message_obj_363.setUp({0.65f});
    number_obj_334.setUp(NumberBox::floatFormat);

    numberTilde_obj_90.setUp(SignalMonitor::FollowInput);
    number_obj_351.setUp(0);
    number_obj_79.setUp(NumberBox::floatFormat);
    number_obj_39.setUp(0);

    flutterNoise.seedFromClock();
    seedRandomStateFromClock(tickRandomB, 0);
    number_obj_248.setUp(NumberBox::floatFormat);
    message_obj_11.setUp({350.0f});
    seedRandomStateFromClock(tickRandomA, 0);
    message_obj_51.setUp({48000.0f});
    number_obj_37.setUp(0);
    numberTilde_obj_21.setUp(SignalMonitor::RampToSetValue);
    number_obj_46.setUp(NumberBox::floatFormat);
    number_obj_36.setUp(NumberBox::floatFormat);
    numberTilde_obj_22.setUp(SignalMonitor::RampToSetValue);
    number_obj_40.setUp(NumberBox::floatFormat);
    message_obj_41.setUp({0.8f});
    stepNoise.seedFromClock();
    numberTilde_obj_451.setUp(SignalMonitor::RampToSetValue);
    seedRandomStateFromClock(stepRandom, 0);
    number_obj_62.setUp(NumberBox::floatFormat);
    wanderNoise.seedFromClock();
    number_obj_156.setUp(NumberBox::floatFormat);
    seedRandomStateFromClock(wanderRandom, 0);
    message_obj_182.setUp({0.55f});
    number_obj_134.setUp(NumberBox::floatFormat);

    stDrift->setupObjects();
    damageCrinkleL->setupObjects();
}

void Quillmore::PRTSubpatcher_54::allocateDataRefs()
{
    cosineTable.requestFrames(dsp::kCosineTableSize, 1, getSampleRate());
    cosineTable.allocateNow();
    GeneratedPatcher::allocateDataRefs();
    delaytilde_07.bind();
    delaytilde_08.bind();
    bindCosineTable();
}

void Quillmore::PRTSubpatcher_54::bindCosineTable()
{
    const Float64Buffer* view = cosineTable.getView();
    wowOscillator.bindTable(view != nullptr ? dsp::SampleSpan{view->getData(), view->getSize()} : dsp::SampleSpan{});
}

void Quillmore::PRTSubpatcher_54::processDataViewUpdate(DataRefIndex index, MillisecondTime time)
{
    GeneratedPatcher::processDataViewUpdate(index, time);
    if (index == delaytilde_07_del_bufferobj.getIndex())
        delaytilde_07.bind();
    else if (index == delaytilde_08_del_bufferobj.getIndex())
        delaytilde_08.bind();
    else if (index == Quillmore::cosineTableIndex)
        bindCosineTable();
}

void Quillmore::PRTSubpatcher_54::scheduleLoadClocks()
{
    for (GeneratedPatcher* child : getChildren())
        child->scheduleLoadClocks();
    EngineInterface* engine = getEngine();
    updateTime(engine != nullptr ? engine->getCurrentTime() : 0.0);

    seedRandomState(tickRandomBSeed, tickRandomB);
    if (tickOn != 0.0f)
    {
        tickOn = 1.0f;
        if (engine != nullptr)
            engine->flushClockEvents(this, clocks::periodicTick, false);
        scheduleOwnClock(clocks::periodicTick, 0.0);
    }
    seedRandomState(tickRandomASeed, tickRandomA);
    seedRandomState(stepRandomSeed, stepRandom);
    seedRandomState(wanderRandomSeed, wanderRandom);
    loadbang_obj_190.scheduleAtLoad();
}

void Quillmore::PRTSubpatcher_54::copyWowRateModGain()
{
    wowRateModGain = firstOrZero(message_obj_98);
}

void Quillmore::PRTSubpatcher_54::resendStoredValues()
{
    number_obj_334.setNumberValue(firstOrZero(message_obj_363));
    number_obj_333.setNumberValue(firstOrZero(message_obj_361));
    number_obj_342.setNumberValue(firstOrZero(message_obj_359));
    number_obj_332.setNumberValue(firstOrZero(message_obj_357));
    number_obj_331.setNumberValue(firstOrZero(message_obj_355));
}

void Quillmore::PRTSubpatcher_54::sendMessageBoxList(float sampleRate)
{
    sampleRateSent = sampleRate;
    message_obj_51.sendMessageBoxList(sampleRate);
    message_obj_51.output();
}

void Quillmore::PRTSubpatcher_54::resendFlutterBandGain()
{
    number_obj_248.setNumberValue(firstOrZero(message_obj_11));
}

void Quillmore::PRTSubpatcher_54::resendStoredThresholds()
{
    number_obj_134.setNumberValue(firstOrZero(message_obj_182));
    number_obj_40.setNumberValue(firstOrZero(message_obj_41));
}

void Quillmore::PRTSubpatcher_54::runSharedStartupSteps()
{
    GeneratedPatcher& top = getTopLevel();
    updateTime(top.getTime());
    copyWowRateModGain();
    updateTime(top.getTime());
    resendStoredValues();
    updateTime(top.getTime());
    sendMessageBoxList(getSampleRate());
    resendFlutterBandGain();
    updateTime(top.getTime());
    resendStoredThresholds();
}

void Quillmore::PRTSubpatcher_54::handleStartup()
{
    GeneratedPatcher& top = getTopLevel();
    top.updateTime(getTime());
    if (auto* quillmore = dynamic_cast<Quillmore*>(&top); quillmore != nullptr && quillmore->tapeStopper != nullptr)
    {
        PRTSubpatcher_53& stopper = *quillmore->tapeStopper;
        stopper.updateTime(top.getTime());
        stopper.button_obj_36.bangButton();
        stopper.updateTime(top.getTime());
        stopper.applyStartupValues();
    }
    copyWowRateModGain();
    resendStoredValues();
    sendMessageBoxList(getSampleRate());
    resendFlutterBandGain();
    resendStoredThresholds();
}

void Quillmore::PRTSubpatcher_54::onClock(ClockId clockId, bool hasValue, ParameterValue value)
{
    switch (clockId)
    {
    case clocks::periodicTick: runPeriodicTick(); break;
    case rightReportClock:
    case leftReportClock:
        if (hasValue)
            report(clockId, value);
        break;
    case lowerComparatorClock:
        if (hasValue)
            number_obj_62.setNumberValue(value < 0.7f ? 3.0f : 0.0f);
        break;
    case upperComparatorClock:
        if (hasValue)
            number_obj_46.setNumberValue(value > upperThreshold ? 50.0f : 0.0f);
        break;
    case stepWrapFallingClock: button_obj_441.bangButton(); break;
    case wanderWrapFallingClock: button_obj_167.bangButton(); break;
    default: break;
    }
}

} // namespace PRT
