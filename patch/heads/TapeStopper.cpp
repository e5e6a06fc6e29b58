// The tape stopper's control: TapeStop's stop and start chains, the inertia fan-out, the hiss
// switches, set-up, clocks and the load-time bang (shared with the warbler).
#include "patch/heads/TapeStopper.h"

#include "patch/core/GeneratedMath.h"
#include "patch/core/QuillmoreModules.h"

#include <initializer_list>

namespace PRT
{
namespace
{
void fill(list& target, std::initializer_list<float> values)
{
    target.reserve(values.size() + 1);
    target.clear();
    for (const float value : values)
        target.push(value);
}

// Element 4 (counting from 1) of a segment list: the time that follows the inertia.
void setElementFour(list& target, float value)
{
    target[3] = value;
}

float secondOr(const list& values, float otherwise)
{
    return values.size() > 1 ? values.data()[1] : otherwise;
}
} // namespace

Quillmore::PRTSubpatcher_53::PRTSubpatcher_53() : GeneratedPatcher({"TapeStopper", 2, 3})
{
    fill(stopList, {0, 0, 1, 100, 1, 200, 0, 20});
    fill(stopCrossfadeList, {0, 0, 1, 50, 1, 10});
    fill(stopLevelList, {1, 10, 1, 100, 0, 30});
    fill(startLevelList, {0, 60, 0, 120, 1, 30});
    fill(crossfadeBackList, {1, 0, 0, 50, 0, 10});
    fill(startList, {0.72f, 5, 1, 100, 1, 1000, 0, 20});
    hissSlide.setRise(10000.0f);
    hissSlide.setFall(10000.0f);
    connectObjects();
}

void Quillmore::PRTSubpatcher_53::connectObjects()
{
    for (NumberBox* box : {&number_obj_99, &number_obj_116, &number_obj_53, &number_obj_135, &number_obj_11})
        box->setFormat(NumberBox::floatFormat);

    toggle_obj_136.onValue = [this](float stop) {
        startEnable = 1.0f - stop;
        if (stop == 1.0f)
            button_obj_51.bangButton();
        else
            button_obj_114.bangButton();
        stopFlag = stop;
        runOffsetB = runOffsetA = 1.0f - stop;
    };
    button_obj_51.onBang = [this] { runStopChain(); };
    button_obj_114.onBang = [this] { runStartChain(); };
    button_obj_36.onBang = [this] { message_obj_20.output(); };
    button_obj_33.onBang = [this] { message_obj_21.output(); };
    button_obj_119.onBang = [this] { runLoadTimeBang(); };
    loadbang.onFire = [this] { runLoadTimeBang(); };

    // The hiss boxes: the target, then the rise and fall lengths when the box holds them.
    auto setHiss = [this](const list& content) {
        hissTarget = firstOrZero(content);
        if (content.size() > 1)
            hissSlide.setRise(content.data()[1]);
        if (content.size() > 2)
            hissSlide.setFall(content.data()[2]);
    };
    message_obj_20.onOutput = setHiss;
    message_obj_21.onOutput = setHiss;
    message_obj_60.onOutput = [this](const list& content) { stopDelayEnable = firstOrZero(content); };
    message_obj_59.onOutput = [this](const list& content) { stopDelayEnable = firstOrZero(content); };
    message_obj_110.onOutput = [this](const list& content) { stopRamp.receive(content); };
    message_obj_166.onOutput = [this](const list& content) { startRamp.receive(content); };
    message_obj_112.onOutput = [this](const list& content) { runInertiaFanOut(content); };

    number_obj_116.onValue = [this](float y1) {
        setElementFour(startList, y1);
        startList[5] = y1 * 2.0f;
    };
    number_obj_99.onValue = [this](float threshold) { stopThreshold = threshold; };
    number_obj_135.onValue = [this](float delay) { crossfadeBackDelayMs = delay > 0.0f ? delay : 0.0f; };
    number_obj_53.onValue = [this](float crossfade) { setElementFour(stopCrossfadeList, crossfade); };
    number_obj_11.onValue = [this](float factor) { clockDelayFactor = factor; };
}

void Quillmore::PRTSubpatcher_53::setInertiaInput(float inertia)
{
    // The crossfade-back factor follows this value before the fan-out uses it, so that a value
    // applies when it arrives (a preset or a restored state sounds as saved), not one set later.
    number_obj_11.setNumberValue(scaleValue(inertia, 500.0f, 3000.0f, 0.333f, 0.13f, 1.0f));
    message_obj_112.sendMessageBoxList(inertia * 2.0f);
    message_obj_112.output();
}

void Quillmore::PRTSubpatcher_53::runInertiaFanOut(const list& values)
{
    const float m = firstOrZero(values);
    number_obj_116.setNumberValue(scaleValue(m, 1000.0f, 6000.0f, 310.0f, 875.0f, 1.0f));
    setElementFour(stopList, m);
    const float thresholdFactor = secondOr(values, scaleValue(m, 1000.0f, 6000.0f, 0.000012f, 0.0001f, 1.0f));
    number_obj_99.setNumberValue(m * thresholdFactor);
    crossfadeBackFactor = secondOr(values, crossfadeBackFactor);
    setElementFour(crossfadeBackList, m * crossfadeBackFactor);
    clockDelayFactor = secondOr(values, clockDelayFactor);
    number_obj_135.setNumberValue(m * clockDelayFactor);
    stopCrossfadeFactor = secondOr(values, stopCrossfadeFactor);
    number_obj_53.setNumberValue(m * stopCrossfadeFactor);
    holdFactor = secondOr(values, holdFactor);
    setElementFour(stopLevelList, m * holdFactor);
}

void Quillmore::PRTSubpatcher_53::runStopChain()
{
    message_obj_110.sendMessageBoxList(stopList);
    message_obj_110.output();
    message_obj_60.output();
    crossfadeRamp.receive(stopCrossfadeList);
    levelRamp.receive(stopLevelList);
}

void Quillmore::PRTSubpatcher_53::runStartChain()
{
    // Pending clocks stay: two starts close together both fire.
    scheduleOwnClock(startClock, 80.0);
    scheduleOwnClock(crossfadeBackClock, crossfadeBackDelayMs);
    levelRamp.receive(startLevelList);
}

void Quillmore::PRTSubpatcher_53::runStartClock()
{
    message_obj_166.sendMessageBoxList(startList);
    message_obj_166.output();
    message_obj_59.output();
    button_obj_36.bangButton();
}

void Quillmore::PRTSubpatcher_53::onClock(ClockId clockId, bool, ParameterValue)
{
    switch (clockId)
    {
    case startClock: runStartClock(); break;
    case crossfadeBackClock: crossfadeRamp.receive(crossfadeBackList); break;
    case hissCloseClock: button_obj_33.bangButton(); break;
    default: break;
    }
}

void Quillmore::PRTSubpatcher_53::runLoadTimeBang()
{
    GeneratedPatcher& top = getTopLevel();
    top.updateTime(getTime());
    if (auto* quillmore = dynamic_cast<Quillmore*>(&top); quillmore != nullptr && quillmore->warbler != nullptr)
        quillmore->warbler->runSharedStartupSteps();
    button_obj_36.bangButton();
    runSampleRateChain(getSampleRate());
}

void Quillmore::PRTSubpatcher_53::runSampleRateChain(float sampleRate)
{
    lastSampleRate = sampleRate;
    stopDelayScale = sampleRate * 3.0f;
    hissSlide.setRise(sampleRate * 0.25f);
    hissSlide.setFall(sampleRate * 0.25f);
}

void Quillmore::PRTSubpatcher_53::setupObjects()
{
    delaytilde_05.requestStorage(getSampleRate());
    delaytilde_06.requestStorage(getSampleRate());
    for (SignalMonitor* monitor : {&numberTilde_obj_152, &numberTilde_obj_46, &numberTilde_obj_42})
        monitor->setUp(SignalMonitor::FollowInput);
    number_obj_53.setUp(NumberBox::floatFormat);
    numberTilde_obj_191.setUp(SignalMonitor::FollowInput);
    number_obj_135.setUp(NumberBox::floatFormat);
    message_obj_20.setUp({1.0f});
    number_obj_11.setUp(NumberBox::floatFormat);
    number_obj_99.setUp(NumberBox::floatFormat);
    message_obj_21.setUp({0.0f});
    numberTilde_obj_40.setUp(SignalMonitor::FollowInput);
    numberTilde_obj_28.setUp(SignalMonitor::FollowInput);
    message_obj_112.setUp({3244.0945f});
    message_obj_110.setUp({0, 0, 1, 3244.0945f, 1, 200, 0, 20});
    message_obj_60.setUp({1.0f});
    message_obj_59.setUp({0.0f});
    numberTilde_obj_378.setUp(SignalMonitor::FollowInput);
    message_obj_166.setUp({0.72f, 5, 1, 563.5827f, 1, 1127.1654f, 0, 20});
    number_obj_116.setUp(NumberBox::floatFormat);
}

void Quillmore::PRTSubpatcher_53::allocateDataRefs()
{
    GeneratedPatcher::allocateDataRefs();
    delaytilde_05.bind();
    delaytilde_06.bind();
}

void Quillmore::PRTSubpatcher_53::processDataViewUpdate(DataRefIndex index, MillisecondTime time)
{
    GeneratedPatcher::processDataViewUpdate(index, time);
    if (index == delaytilde_05_del_bufferobj.getIndex())
        delaytilde_05.bind();
    else if (index == delaytilde_06_del_bufferobj.getIndex())
        delaytilde_06.bind();
}

} // namespace PRT
